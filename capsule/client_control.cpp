#include "capsule/client_control.h"

#include <utility>

namespace zorvcapsule {

ClientControl::ClientControl(int32_t type, std::u16string id, UIString name,
                             const ControlProperties& properties, ControlValue value)
    : type_(type),
      id_(std::move(id)),
      name_(std::move(name)),
      canAnimate_(properties.can_animate),
      value_(std::move(value)) {}

ClientControl::~ClientControl() = default;

bool ClientControl::SetValue(ControlValue value) {
  if (value.which() != value_.which()) return false;
  value_ = std::move(value);
  return true;
}

}  // namespace zorvcapsule
