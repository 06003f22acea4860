#include <gtest/gtest.h>

#include <thread>
#include <vector>

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

}  // namespace
