#include "capsule/enum_control.h"

#include <utility>

namespace zorvcapsule {

EnumControl::EnumControl(std::u16string id, UIString name, const ControlProperties& properties,
                         EnumType enum_type, std::vector<UIString> items, int32_t value)
    : ClientControl(kEnumControlType, std::move(id), std::move(name), properties, value),
      enumType_(enum_type),
      items_(std::move(items)) {}

EnumControl::~EnumControl() = default;

}  // namespace zorvcapsule
