// CapsuleParamList: the parameters a template exposes to the host, in the template's order.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_LIST_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_LIST_H_

#include <vector>

#include "host/hostbridge/capsule_param.h"

namespace hostbridge {

struct CapsuleParamList {
  std::vector<CapsuleParam> params;

  friend bool operator==(const CapsuleParamList&, const CapsuleParamList&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_LIST_H_
