// Gate: a one-way latch a thread can wait on with a time limit.
//
// A request that completes on another thread's callback opens the gate; the thread that started the
// request passes through it, or gives up when the limit runs out. Once open, a gate stays open.
//
// Thread safety: every operation may be called from any thread at any time. Share a gate between the
// waiter and the callback through a shared pointer, so a callback that arrives after the waiter gave
// up still has a live gate to open.

#ifndef ZORVCAPSULE_HOST_CORE_GATE_H_
#define ZORVCAPSULE_HOST_CORE_GATE_H_

#include <condition_variable>
#include <mutex>

namespace zorvcore {

class Gate {
 public:
  // The wait without a time limit, for PassThrough.
  static constexpr int kWaitForever = -1;

  explicit Gate(bool open = false) : open_(open) {}
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;

  // Opens the gate and releases every waiter. Opening an open gate does nothing.
  void Open();

  // Waits until the gate is open or `milliseconds` have passed (kWaitForever, or any negative value:
  // no limit). Returns true when the gate is open.
  bool PassThrough(int milliseconds);

  bool IsOpen() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  bool open_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_GATE_H_
