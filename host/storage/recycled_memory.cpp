#include "host/storage/recycled_memory.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace zorvstorage {
namespace {

struct Storage {
  std::unique_ptr<uint8_t[]> bytes;
  size_t capacity = 0;
};

class Pool {
 public:
  // Room for every idle block up front, so that giving one back never allocates.
  Pool() { idle_.reserve(RecycledMemory::kMaxPooledBlocks); }

  // Leaked on purpose: blocks may be released by static destructors after a normal pool would be
  // gone.
  static Pool& Instance() {
    static Pool* pool = new Pool;
    return *pool;
  }

  // The smallest idle storage of at least `size` bytes, or fresh storage.
  Storage Take(size_t size) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto best = idle_.end();
      for (auto it = idle_.begin(); it != idle_.end(); ++it) {
        if (it->capacity >= size && (best == idle_.end() || it->capacity < best->capacity)) best = it;
      }
      if (best != idle_.end()) {
        Storage found = std::move(*best);
        idle_.erase(best);
        return found;
      }
    }
    // At least one byte, so that Buffer() is never null.
    const size_t capacity = std::max<size_t>(size, 1);
    return Storage{std::unique_ptr<uint8_t[]>(new uint8_t[capacity]), capacity};
  }

  void Give(Storage storage) {
    if (storage.capacity > RecycledMemory::kMaxRecycledBytes) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (idle_.size() < RecycledMemory::kMaxPooledBlocks) idle_.push_back(std::move(storage));
  }

  size_t IdleCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return idle_.size();
  }

 private:
  std::mutex mutex_;
  std::vector<Storage> idle_;
};

}  // namespace

std::shared_ptr<const RecycledMemory> RecycledMemory::Fill(size_t size, const Filler& fill) {
  try {
    Storage storage = Pool::Instance().Take(size);
    if (!fill(storage.bytes.get(), size)) {
      Pool::Instance().Give(std::move(storage));
      return nullptr;
    }
    return std::shared_ptr<const RecycledMemory>(
        new RecycledMemory(std::move(storage.bytes), storage.capacity, size));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

RecycledMemory::RecycledMemory(std::unique_ptr<uint8_t[]> storage, size_t capacity, size_t size)
    : storage_(std::move(storage)), capacity_(capacity), size_(size) {}

RecycledMemory::~RecycledMemory() {
  Pool::Instance().Give(Storage{std::move(storage_), capacity_});
}

size_t RecycledMemory::PooledBlockCount() { return Pool::Instance().IdleCount(); }

}  // namespace zorvstorage
