#include "host/hostbridge/capsule_param.h"

#include <stdexcept>

namespace hostbridge {

const CapsuleParamValue& CapsuleParam::At(CapsuleParamKey key) const {
  const auto found = properties_.find(key);
  if (found == properties_.end()) throw std::out_of_range("invalid map<K, T> key");
  return found->second;
}

}  // namespace hostbridge
