// EnumControl: a choice of one item from a list. Value: int32_t, the index of the selected item in
// GetItems().
//
// Neither the value nor the enum type is checked: a value beyond the items is kept as it is, and
// the enum type is whatever number the template carries.
//
// Thread safety: as ClientControl.

#ifndef ZORVCAPSULE_CAPSULE_ENUM_CONTROL_H_
#define ZORVCAPSULE_CAPSULE_ENUM_CONTROL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"

namespace zorvcapsule {

// How the host presents the choice. The host gives the numbers their meaning; templates may carry
// numbers this library has no name for, and they are kept and written back unchanged.
enum class EnumType : uint32_t {
  kDefault = 0,
};

class ZORVCAPSULE_EXPORT EnumControl : public ClientControl {
 public:
  EnumControl(std::u16string id, UIString name, const ControlProperties& properties,
              EnumType enum_type, std::vector<UIString> items, int32_t value);
  ~EnumControl() override;

  EnumType GetEnumType() const { return enumType_; }
  // The choices in display order.
  const std::vector<UIString>& GetItems() const { return items_; }

 private:
  EnumType enumType_;
  std::vector<UIString> items_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_ENUM_CONTROL_H_
