// CallRecorder<Args...>: a callback for tests that keeps the arguments of its latest call, counts
// its calls and lets the test wait for the first one. Test code only.
//
// Thread safety: the function may be called from any thread; the other members too.

#ifndef ZORVCAPSULE_HOST_NET_TEST_CALL_RECORDER_H_
#define ZORVCAPSULE_HOST_NET_TEST_CALL_RECORDER_H_

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <tuple>

#include "host/core/gate.h"

namespace zorvnet::testing {

template <typename... Args>
class CallRecorder {
 public:
  // A minute is far beyond any loopback exchange; reaching it means the call never came.
  static constexpr int kPatienceMs = 60000;

  // The function to hand over; it may outlive the recorder.
  std::function<void(Args...)> Function() const {
    return [state = state_](Args... args) {
      {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->last = std::tuple<Args...>(std::move(args)...);
      }
      ++state->calls;
      state->called.Open();
    };
  }

  // Waits for the first call; false when none came.
  bool WaitForCall() const { return state_->called.PassThrough(kPatienceMs); }
  bool WasCalled() const { return state_->called.IsOpen(); }
  int Calls() const { return state_->calls.load(); }
  // Argument I of the latest call (its default value before any call).
  template <size_t I>
  auto Arg() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return std::get<I>(state_->last);
  }

 private:
  struct State {
    std::mutex mutex;
    std::tuple<Args...> last{};
    std::atomic<int> calls{0};
    zorvcore::Gate called;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_CALL_RECORDER_H_
