#include "host/storage/recycled_memory.h"

#include <algorithm>
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

TEST(RecycledMemoryTest, ReleasedStorageIsReusedForABlockThatFitsAndOnlyAFewModestBlocksAreKept) {
  const uint8_t* released = nullptr;
  {
    // Larger than anything another test leaves in the pool, so the next fill must take this one.
    const auto block = FillWith(RecycledMemory::kMaxRecycledBytes, 1);
    released = block->Buffer();
  }
  const auto next = FillWith(RecycledMemory::kMaxRecycledBytes - 10, 2);
  EXPECT_EQ(next->Buffer(), released);
  // The pool keeps only a few modest blocks.
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
  std::vector<std::thread> threads;
  std::vector<int> damaged(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &damaged] {
      for (int round = 0; round < 500; ++round) {
        const auto block = FillWith(16 + (round * 37 + t * 11) % 4000, static_cast<uint8_t>(t + 1));
        damaged[t] += static_cast<int>(std::count_if(block->Buffer(), block->Buffer() + block->Size(),
                                                     [t](uint8_t byte) { return byte != t + 1; }));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(damaged, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace zorvstorage
