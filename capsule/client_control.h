// ClientControl: one control a template offers its user to change it (a checkbox, a slider, a text,
// a choice list, ...); the base of the twelve control kinds. ControlProperties: what every factory
// is told about a control besides its id, name and value.
//
// Every control has a type code naming its kind (the k...ControlType constants below), an id unique
// within its template, a localized name, suffix and tool tip, a hidden flag, a flag saying whether
// its value may be animated, and its value (capsule/control_value.h), whose alternative is fixed by
// the kind for the control's whole life. The kinds' own fields are in the subclasses
// (basic_controls.h, string_control.h, enum_control.h, group_control.h, spreadsheet_control.h).
// Controls are made by the functions of capsule/control_factory.h and held by
// std::shared_ptr<ClientControl>; code that needs a kind's fields checks GetType() and casts, or
// uses std::dynamic_pointer_cast. Controls are never copied: templates share them.
//
// Thread safety: a control is not synchronized. Any number of threads may call the const members of
// one control at once; the setters need exclusive access to it.

#ifndef ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_H_
#define ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_H_

#include <boost/variant/get.hpp>
#include <cstdint>
#include <string>
#include <utility>

#include "capsule/capsule_export.h"
#include "capsule/client_control_fwd.h"
#include "capsule/control_value.h"
#include "capsule/ui_string.h"

namespace zorvcapsule {

// The type codes of the control kinds, as "definition.json" stores them.
inline constexpr int32_t kCheckboxControlType = 1;
inline constexpr int32_t kSliderControlType = 2;
inline constexpr int32_t kAngleControlType = 3;
inline constexpr int32_t kColorControlType = 4;
inline constexpr int32_t kPoint2DControlType = 5;
inline constexpr int32_t kStringControlType = 6;
inline constexpr int32_t kEnumControlType = 7;
inline constexpr int32_t kCommentControlType = 8;
inline constexpr int32_t kScaleControlType = 9;
inline constexpr int32_t kGroupControlType = 10;
inline constexpr int32_t kSpreadsheetControlType = 11;
inline constexpr int32_t kGroupDropZoneControlType = 12;

struct ZORVCAPSULE_EXPORT ControlProperties {
  ControlProperties() = default;
  explicit ControlProperties(bool can_animate) : can_animate(can_animate) {}

  // Whether the control's value may change over time (keyframes) rather than being one value.
  bool can_animate = false;
};

class ZORVCAPSULE_EXPORT ClientControl {
 public:
  ClientControl(const ClientControl&) = delete;
  ClientControl& operator=(const ClientControl&) = delete;
  virtual ~ClientControl();

  int32_t GetType() const { return type_; }
  const std::u16string& GetID() const { return id_; }
  const UIString& GetName() const { return name_; }

  // A unit or similar text shown after the value ("px", "%"); empty when the control has none.
  const UIString& GetSuffix() const { return suffix_; }
  void SetSuffix(UIString suffix) { suffix_ = std::move(suffix); }

  const UIString& GetToolTip() const { return toolTip_; }
  void SetToolTip(UIString tool_tip) { toolTip_ = std::move(tool_tip); }

  // A hidden control keeps its value but is not offered to the user.
  bool IsHidden() const { return hidden_; }
  void SetHidden(bool hidden) { hidden_ = hidden; }

  bool CanAnimate() const { return canAnimate_; }

  const ControlValue& GetValue() const { return value_; }

  // The value as alternative T. Throws boost::bad_get when the value holds another alternative.
  template <typename T>
  const T& GetValueAs() const {
    return boost::get<T>(value_);
  }

  // Replaces the value, which must hold the same alternative as the present one: a control's kind
  // never changes. Returns false, changing nothing, for a value of another alternative.
  bool SetValue(ControlValue value);

 protected:
  // REQUIRES: value holds the alternative of the kind named by type.
  ClientControl(int32_t type, std::u16string id, UIString name, const ControlProperties& properties,
                ControlValue value);

 private:
  int32_t type_;
  std::u16string id_;
  UIString name_;
  UIString suffix_;
  UIString toolTip_;
  bool hidden_ = false;
  bool canAnimate_;
  ControlValue value_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_H_
