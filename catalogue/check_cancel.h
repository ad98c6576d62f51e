// CheckCancel: the cancellation token of one request.
//
// The requester calls Abort; the worker doing the request polls GetAbort, and so does the main thread
// before it delivers results. The first GetAbort that sees the request consumes it and latches the
// answer, so every later GetAbort on the token returns true. The token is one atomic state (running,
// requested, seen), so a caller racing with the one that consumes the request still sees the abort.
//
// Thread safety: Abort may be called from any thread at any time; GetAbort from the worker and the
// main thread. Share a token through a shared pointer.

#ifndef ZORVCAPSULE_CATALOGUE_CHECK_CANCEL_H_
#define ZORVCAPSULE_CATALOGUE_CHECK_CANCEL_H_

#include <atomic>
#include <cstdint>
#include <memory>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT CheckCancel {
 public:
  CheckCancel() = default;
  CheckCancel(const CheckCancel&) = delete;
  CheckCancel& operator=(const CheckCancel&) = delete;
  virtual ~CheckCancel();

  // True once an abort was requested and seen; latched.
  virtual bool GetAbort();

  // Requests the abort. Requesting it again changes nothing.
  void Abort();

 private:
  enum State : int32_t { kRunning = 0, kAbortRequested = 1, kAbortSeen = 2 };
  std::atomic<int32_t> state{kRunning};
};

using CheckCancelPtr = std::shared_ptr<CheckCancel>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_CHECK_CANCEL_H_
