// ResponseCatcher: a request callback for tests that keeps what it was given and counts its calls,
// and lets the test wait for the first call. Test code only.
//
// Thread safety: Callback's function may be called from any thread; the other members too.

#ifndef ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_
#define ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/core/guid.h"
#include "host/net/request_processor.h"
#include "host/net/response.h"
#include "host/net/test_call_recorder.h"

namespace zorvnet::testing {

class ResponseCatcher : public CallRecorder<zorvcore::Guid, std::shared_ptr<Response>> {
 public:
  RequestCallback Callback() const { return Function(); }
  // Waits for the first call and returns its response (null if none came within kPatienceMs).
  std::shared_ptr<Response> Wait() const { return WaitForCall() ? Arg<1>() : nullptr; }
  zorvcore::Guid Id() const { return Arg<0>(); }
  // What the response says, once it came; a response that never came fails the test.
  std::string Body() const { return Came() ? Wait()->GetPayloadAsUTF8String() : ""; }
  int Status() const { return Came() ? Wait()->StatusCode() : -1; }
  RequestError Error() const { return Came() ? Wait()->Error() : RequestError::kNone; }

 private:
  bool Came() const {
    if (Wait()) return true;
    ADD_FAILURE() << "no response came";
    return false;
  }
};

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_RESPONSE_CATCHER_H_
