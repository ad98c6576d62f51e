#include "catalogue/check_cancel.h"

namespace zorvcapsule {

CheckCancel::~CheckCancel() = default;

bool CheckCancel::GetAbort() {
  if (abortSeen.load()) return true;
  int32_t expected = 1;
  if (abortRequested.compare_exchange_strong(expected, 0)) {
    abortSeen.store(true);
    return true;
  }
  return false;
}

void CheckCancel::Abort() {
  int32_t expected = 0;
  abortRequested.compare_exchange_strong(expected, 1);
}

}  // namespace zorvcapsule
