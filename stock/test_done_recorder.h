// DoneRecorder: a completion function for tests that keeps its argument, counts its calls and lets
// the test wait for the first one. Test code only.
//
// Thread safety: the function may be called from any thread; the other members too.

#ifndef ZORVCAPSULE_STOCK_TEST_DONE_RECORDER_H_
#define ZORVCAPSULE_STOCK_TEST_DONE_RECORDER_H_

#include <atomic>
#include <functional>
#include <memory>

#include "host/core/gate.h"

namespace zorvcapsule::testing {

class DoneRecorder {
 public:
  // A minute is far beyond any loopback exchange; reaching it means the call never came.
  static constexpr int kPatienceMs = 60000;

  DoneRecorder() : state_(std::make_shared<State>()) {}

  // The completion to hand over; it may outlive the recorder.
  std::shared_ptr<std::function<void(bool)>> Function() const {
    return std::make_shared<std::function<void(bool)>>([state = state_](bool succeeded) {
      state->succeeded = succeeded;
      ++state->calls;
      state->called.Open();
    });
  }

  // Waits for the first call; false when none came.
  bool Wait() const { return state_->called.PassThrough(kPatienceMs); }
  bool WasCalled() const { return state_->called.IsOpen(); }
  bool Succeeded() const { return state_->succeeded.load(); }
  int Calls() const { return state_->calls.load(); }

 private:
  struct State {
    std::atomic<bool> succeeded{false};
    std::atomic<int> calls{0};
    zorvcore::Gate called;
  };
  std::shared_ptr<State> state_;
};

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_STOCK_TEST_DONE_RECORDER_H_
