// ResponseCatcher: a request callback for tests that keeps what it was given and counts its calls,
// and lets the test wait for the first call on a gate. Test code only.
//
// Thread safety: Callback's function may be called from any thread; the other members too.

#ifndef ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_
#define ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_

#include <atomic>
#include <memory>
#include <mutex>

#include "host/core/gate.h"
#include "host/core/guid.h"
#include "host/net/request_processor.h"
#include "host/net/response.h"

namespace zorvnet::testing {

class ResponseCatcher {
 public:
  // A minute is far beyond any loopback exchange; reaching it means the callback never came.
  static constexpr int kPatienceMs = 60000;

  ResponseCatcher() : state_(std::make_shared<State>()) {}

  // The callback to pass with a request; it may outlive the catcher.
  RequestCallback Callback() const {
    return [state = state_](const zorvcore::Guid& id, std::shared_ptr<Response> response) {
      {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->id = id;
        state->response = std::move(response);
      }
      ++state->calls;
      state->called.Open();
    };
  }

  // Waits for the first call and returns its response (null if none came within kPatienceMs).
  std::shared_ptr<Response> Wait() const {
    if (!state_->called.PassThrough(kPatienceMs)) return nullptr;
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->response;
  }

  int Calls() const { return state_->calls.load(); }
  bool WasCalled() const { return state_->called.IsOpen(); }
  zorvcore::Guid Id() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->id;
  }

 private:
  struct State {
    std::mutex mutex;
    zorvcore::Guid id;
    std::shared_ptr<Response> response;
    std::atomic<int> calls{0};
    zorvcore::Gate called;
  };
  std::shared_ptr<State> state_;
};

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_
