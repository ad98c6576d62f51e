// RecycledMemory: a read-only block of bytes, as the archive hands out a member it has read.
//
// A block is filled once, when it is made, and never changes afterwards; holders share it through a
// shared pointer. Its storage is recycled: when the last holder lets go, storage of up to
// kMaxRecycledBytes goes back to a small process-wide pool (at most kMaxPooledBlocks blocks), and
// the next block that fits takes it instead of allocating. Reading the descriptions and thumbnails of
// a folder of packages one after another thus reuses a handful of buffers; a large block is simply
// freed, so the pool never holds more than kMaxPooledBlocks * kMaxRecycledBytes idle bytes.
//
// Thread safety: Fill may be called from any thread. A block's const members may be read from any
// thread; it may be released on any thread (the pool is guarded by a mutex).

#ifndef ZORVCAPSULE_HOST_STORAGE_RECYCLED_MEMORY_H_
#define ZORVCAPSULE_HOST_STORAGE_RECYCLED_MEMORY_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace zorvstorage {

class RecycledMemory {
 public:
  static constexpr size_t kMaxRecycledBytes = 1024 * 1024;
  static constexpr size_t kMaxPooledBlocks = 8;

  // Writes the block's `size` bytes; true when all of them were written.
  using Filler = std::function<bool(uint8_t* bytes, size_t size)>;

  // A block of `size` bytes filled by `fill`; null when fill reports failure or the memory cannot
  // be had. fill is called once, on this thread, and may be called with size 0.
  static std::shared_ptr<const RecycledMemory> Fill(size_t size, const Filler& fill);

  RecycledMemory(const RecycledMemory&) = delete;
  RecycledMemory& operator=(const RecycledMemory&) = delete;
  ~RecycledMemory();

  // Size() bytes; never null, even for an empty block.
  const uint8_t* Buffer() const { return storage_.get(); }
  size_t Size() const { return size_; }

  // The number of idle blocks in the pool; for tests and diagnostics.
  static size_t PooledBlockCount();

 private:
  RecycledMemory(std::unique_ptr<uint8_t[]> storage, size_t capacity, size_t size);

  std::unique_ptr<uint8_t[]> storage_;
  const size_t capacity_;
  const size_t size_;
};

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_RECYCLED_MEMORY_H_
