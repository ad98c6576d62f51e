#include "host/storage/recycled_memory.h"

#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zorvstorage {
namespace {

std::shared_ptr<const RecycledMemory> FillWith(size_t size, uint8_t value) {
  return RecycledMemory::Fill(size, [value](uint8_t* bytes, size_t count) {
    std::memset(bytes, value, count);
    return true;
  });
}

TEST(RecycledMemoryTest, HoldsWhatTheFillerWroteOrNothingWhenItFails) {
  const auto block = FillWith(1000, 0xAB);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(block->Size(), 1000u);
  for (size_t i = 0; i < block->Size(); ++i) ASSERT_EQ(block->Buffer()[i], 0xAB) << i;

  const auto empty = FillWith(0, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Size(), 0u);
  EXPECT_NE(empty->Buffer(), nullptr);
  EXPECT_EQ(RecycledMemory::Fill(64, [](uint8_t*, size_t) { return false; }), nullptr);
}

TEST(RecycledMemoryTest, ReleasedStorageIsReusedForABlockThatFits) {
  const uint8_t* released = nullptr;
  {
    // Larger than anything another test leaves in the pool, so the next fill must take this one.
    const auto block = FillWith(RecycledMemory::kMaxRecycledBytes, 1);
    released = block->Buffer();
  }
  const auto next = FillWith(RecycledMemory::kMaxRecycledBytes - 10, 2);
  EXPECT_EQ(next->Buffer(), released);
  EXPECT_EQ(next->Size(), RecycledMemory::kMaxRecycledBytes - 10);
  EXPECT_EQ(next->Buffer()[0], 2);
}

TEST(RecycledMemoryTest, ThePoolKeepsOnlyAFewModestBlocks) {
  {
    std::vector<std::shared_ptr<const RecycledMemory>> held;
    for (size_t i = 0; i < RecycledMemory::kMaxPooledBlocks + 4; ++i) held.push_back(FillWith(100, 0));
  }
  EXPECT_EQ(RecycledMemory::PooledBlockCount(), RecycledMemory::kMaxPooledBlocks);

  std::vector<std::shared_ptr<const RecycledMemory>> drained;
  for (size_t i = 0; i < RecycledMemory::kMaxPooledBlocks; ++i) drained.push_back(FillWith(1, 0));
  ASSERT_EQ(RecycledMemory::PooledBlockCount(), 0u);
  FillWith(RecycledMemory::kMaxRecycledBytes + 1, 0);  // released at once, too large to keep
  EXPECT_EQ(RecycledMemory::PooledBlockCount(), 0u);
}

TEST(RecycledMemoryTest, BlocksFilledAndReleasedOnManyThreadsStayIntact) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 500;
  std::vector<std::thread> threads;
  std::vector<int> damaged(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &damaged] {
      for (int round = 0; round < kRounds; ++round) {
        const size_t size = 16 + static_cast<size_t>((round * 37 + t * 11) % 4000);
        const auto block = FillWith(size, static_cast<uint8_t>(t + 1));
        for (size_t i = 0; i < block->Size(); ++i) {
          if (block->Buffer()[i] != t + 1) ++damaged[t];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(damaged[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace zorvstorage
