#include "host/core/gate.h"

#include <chrono>

namespace zorvcore {

void Gate::Open() {
  // Notify under the lock: a waiter that sees the gate open may destroy it as soon as it returns.
  std::lock_guard<std::mutex> lock(mutex_);
  open_ = true;
  opened_.notify_all();
}

bool Gate::PassThrough(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (milliseconds < 0) {
    opened_.wait(lock, [this] { return open_; });
    return true;
  }
  return opened_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return open_; });
}

bool Gate::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

}  // namespace zorvcore
