#include "tools/control_text.h"

#include <exception>
#include <vector>

#include "capsule/basic_controls.h"
#include "capsule/enum_control.h"
#include "capsule/spreadsheet_control.h"
#include "host/core/unicode.h"
#include "tools/display_text.h"

namespace capsuletool {
namespace {

using namespace zorvcapsule;

std::string WithSuffix(const std::string& value, const ClientControl& control) {
  const std::string suffix = LocalizedText(control.GetSuffix());
  return suffix.empty() ? value : value + " " + suffix;
}

std::string SliderText(const ClientControl& control) {
  std::string text = WithSuffix(NumberText(control.GetValueAs<double>()), control);
  if (const auto* slider = dynamic_cast<const SliderControl*>(&control)) {
    text += " (" + NumberText(slider->GetMin()) + " to " + NumberText(slider->GetMax()) + ")";
  }
  return text;
}

std::string ColorText(const ClientControl& control) {
  const auto& color = control.GetValueAs<zorvdrawing::ColorRGBA>();
  return "rgba(" + NumberText(color.red) + ", " + NumberText(color.green) + ", " + NumberText(color.blue) + ", " +
         NumberText(color.alpha) + ")";
}

std::string PointText(const ClientControl& control) {
  const auto& point = control.GetValueAs<ControlPoint>();
  return "(" + NumberText(point.x) + ", " + NumberText(point.y) + ")";
}

std::string EnumText(const ClientControl& control) {
  const int32_t selected = control.GetValueAs<int32_t>();
  const auto* choice = dynamic_cast<const EnumControl*>(&control);
  if (choice == nullptr) return "item " + std::to_string(selected);
  const auto& items = choice->GetItems();
  const std::string position = std::to_string(selected + 1) + " of " + std::to_string(items.size());
  if (selected < 0 || static_cast<size_t>(selected) >= items.size()) return "item " + position;
  return LocalizedText(items[static_cast<size_t>(selected)]) + " (" + position + ")";
}

std::string ScaleText(const ClientControl& control) {
  std::vector<std::string> factors;
  for (double factor : control.GetValueAs<std::vector<double>>()) factors.push_back(NumberText(factor));
  std::string text = WithSuffix(Joined(factors, " \u00d7 "), control);
  const auto* scale = dynamic_cast<const ScaleControl*>(&control);
  if (scale != nullptr && scale->IsLinked()) text += " (linked)";
  return text;
}

std::string ChildrenText(const ClientControl& control) {
  const auto& children = control.GetValueAs<ControlChildIDs>();
  if (children.empty()) return "no controls";
  return "controls " + Joined(ToUTF8(children), ", ");
}

std::string SpreadsheetText(const ClientControl& control) {
  const auto& value = control.GetValueAs<hostbridge::SpreadsheetValue>();
  return std::to_string(value.active_rows) + " rows \u00d7 " + std::to_string(value.column_values.size()) + " columns";
}

std::string ValueText(const ClientControl& control) {
  switch (control.GetType()) {
    case kCheckboxControlType: return control.GetValueAs<bool>() ? "on" : "off";
    case kSliderControlType: return SliderText(control);
    case kAngleControlType: return NumberText(control.GetValueAs<double>()) + "\u00b0";
    case kColorControlType: return ColorText(control);
    case kPoint2DControlType: return PointText(control);
    case kStringControlType:
    case kCommentControlType: return "\"" + LocalizedText(control.GetValueAs<UIString>()) + "\"";
    case kEnumControlType: return EnumText(control);
    case kScaleControlType: return ScaleText(control);
    case kGroupControlType:
    case kGroupDropZoneControlType: return ChildrenText(control);
    case kSpreadsheetControlType: return SpreadsheetText(control);
    default: return "-";
  }
}

}  // namespace

std::string ControlKindName(int32_t type) {
  switch (type) {
    case kCheckboxControlType: return "checkbox";
    case kSliderControlType: return "slider";
    case kAngleControlType: return "angle";
    case kColorControlType: return "colour";
    case kPoint2DControlType: return "point";
    case kStringControlType: return "text";
    case kEnumControlType: return "choice";
    case kCommentControlType: return "comment";
    case kScaleControlType: return "scale";
    case kGroupControlType: return "group";
    case kSpreadsheetControlType: return "spreadsheet";
    case kGroupDropZoneControlType: return "drop zone";
    default: return "kind " + std::to_string(type);
  }
}

std::string ControlValueText(const ClientControl& control) {
  // A control whose value holds another alternative than its kind's is a broken record, not a
  // reason to stop describing the template.
  try {
    return ValueText(control);
  } catch (const std::exception&) {
    return "(unreadable value)";
  }
}

}  // namespace capsuletool
