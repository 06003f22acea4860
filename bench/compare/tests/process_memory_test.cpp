#include "bench/compare/process_memory.h"

#include <gtest/gtest.h>

#include <memory>

namespace lexora_compare {
namespace {

TEST(ProcessMemoryTest, HeapInUseSeesAnAllocation) {
  int64_t before = HeapInUseBytes();
  auto block = std::make_unique<char[]>(4 << 20);
  EXPECT_GE(HeapInUseBytes() - before, 4 << 20);
  block.reset();
  EXPECT_LT(HeapInUseBytes() - before, 4 << 20);
}

TEST(ProcessMemoryTest, ResidentFiguresAreReadFromProc) {
  EXPECT_GT(ResidentBytes(), 0);
  EXPECT_GE(PeakResidentBytes(), ResidentBytes());
}

}  // namespace
}  // namespace lexora_compare
