#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/api/lx_object.h"
#include "lexora2/lexora2.h"

namespace {

TEST(LibraryTest, VersionExports) {
  EXPECT_EQ(GetLXAPIVersion(), 1);
  EXPECT_EQ(LXGetVersionInfo(nullptr), nullptr);
  LXVersionInfo info{};
  EXPECT_EQ(LXGetVersionInfo(&info), &info);
  EXPECT_EQ(info.major, 2u);
  EXPECT_EQ(info.minor, 0u);
  EXPECT_EQ(info.release, 3u);
  EXPECT_EQ(info.build, 67u);
}

TEST(LibraryTest, CreationFollowsTheInitialisationCounter) {
  const char16_t text[] = u"abc";
  EXPECT_EQ(CreateStringStream(text, 3), nullptr);
  EXPECT_EQ(CreateStringCopyStream(text, 3), nullptr);
  EXPECT_EQ(CreateFileStream("/etc/hostname"), nullptr);
  ASSERT_TRUE(LXInitialize());
  ASSERT_TRUE(LXInitialize());
  LXCleanUp();
  ILXStream* stream = CreateStringStream(text, 3);  // one initialisation still stands
  ASSERT_NE(stream, nullptr);
  stream->Release();
  LXCleanUp();
  EXPECT_EQ(CreateStringStream(text, 3), nullptr);
}

TEST(LibraryTest, UnbalancedCleanUpDoesNotReadAsInitialised) {
  LXCleanUp();
  LXCleanUp();
  const char16_t text[] = u"abc";
  EXPECT_EQ(CreateStringStream(text, 3), nullptr);
  ASSERT_TRUE(LXInitialize());
  ILXStream* stream = CreateStringStream(text, 3);
  EXPECT_NE(stream, nullptr);
  if (stream) stream->Release();
  LXCleanUp();
}

TEST(LibraryTest, ConcurrentInitialisationNests) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back([] { LXInitialize(); });
  for (auto& t : threads) t.join();
  for (int t = 0; t < 3; ++t) LXCleanUp();
  const char16_t text[] = u"x";
  ILXStream* stream = CreateStringStream(text, 1);
  ASSERT_NE(stream, nullptr);
  stream->Release();
  LXCleanUp();
  EXPECT_EQ(CreateStringStream(text, 1), nullptr);
}

struct Counted : Nimbra::Lexora::LXInterfaceObject<ILXStream> {
  explicit Counted(int* destroyed) : destroyed_(destroyed) {}
  ~Counted() override { ++*destroyed_; }
  uint32_t Read(char16_t*, uint32_t) override { return 0; }
  int* destroyed_;
};

TEST(ObjectTest, ReleaseDestroysAtZero) {
  int destroyed = 0;
  ILXStream* one = (new Counted(&destroyed))->AsInterface();
  one->Release();
  EXPECT_EQ(destroyed, 1);
  ILXStream* two = (new Counted(&destroyed))->AsInterface();
  two->AddRef();
  two->Release();
  EXPECT_EQ(destroyed, 1);
  two->Release();
  EXPECT_EQ(destroyed, 2);
}

TEST(ObjectTest, ReferencesFromManyThreads) {
  int destroyed = 0;
  ILXStream* object = (new Counted(&destroyed))->AsInterface();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([object] {
      for (int i = 0; i < 10000; ++i) {
        object->AddRef();
        object->Release();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(destroyed, 0);
  object->Release();
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
