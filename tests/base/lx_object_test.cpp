#include "engine/base/lx_object.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "lexora2/lexora2.h"

namespace {

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
