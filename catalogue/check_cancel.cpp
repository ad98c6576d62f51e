#include "catalogue/check_cancel.h"

namespace zorvcapsule {

CheckCancel::~CheckCancel() = default;

bool CheckCancel::GetAbort() {
  int32_t seen = state.load();
  if (seen == kRunning) return false;
  // Whoever moves the state from "requested" to "seen" consumes the request; a caller that loses
  // that race finds "seen" and reports the abort just the same.
  if (seen == kAbortRequested) state.compare_exchange_strong(seen, kAbortSeen);
  return true;
}

void CheckCancel::Abort() {
  int32_t expected = kRunning;
  state.compare_exchange_strong(expected, kAbortRequested);
}

}  // namespace zorvcapsule
