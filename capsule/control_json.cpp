#include "capsule/control_json.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "capsule/basic_controls.h"
#include "capsule/capsule_json_keys.h"
#include "capsule/control_factory.h"
#include "capsule/edit_info_json.h"
#include "capsule/enum_control.h"
#include "capsule/group_control.h"
#include "capsule/list_conversion.h"
#include "capsule/narrow_float.h"
#include "capsule/spreadsheet_control.h"
#include "capsule/spreadsheet_json.h"
#include "capsule/string_control.h"
#include "capsule/ui_string_json.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

constexpr const char* kPointXKey = "x";
constexpr const char* kPointYKey = "y";
constexpr size_t kColorComponents = 4;

// ---- Writing --------------------------------------------------------------------------------

void AddCommonMembers(const ClientControl& control, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_CONTROL_TYPE_STR,
                  zs::MakeJSONUInt64(static_cast<uint32_t>(control.GetType())));
  zs::AddToObject(object, CAPSULE_CONTROL_ID_STR,
                  zs::MakeJSONString(std::u16string_view(control.GetID())));
  zs::AddToObject(object, CAPSULE_CONTROL_UINAME_STR, UIStringToJson(control.GetName()));
  zs::AddToObject(object, CAPSULE_CONTROL_UISUFFIX_STR, UIStringToJson(control.GetSuffix()));
  zs::AddToObject(object, CAPSULE_CONTROL_UITOOLTIP_STR, UIStringToJson(control.GetToolTip()));
  zs::AddToObject(object, CAPSULE_CONTROLPROPS_CANANIMATE_STR,
                  zs::MakeJSONBool(control.CanAnimate()));
  if (control.IsHidden())
    zs::AddToObject(object, CAPSULE_CONTROL_HIDDEN_STR, zs::MakeJSONBool(true));
}

void AddValue(JSONObject& object, JSONValuePtr value) {
  zs::AddToObject(object, CAPSULE_CONTROL_VALUE_STR, std::move(value));
}

JSONValuePtr ColorToJson(const zorvdrawing::ColorRGBA& color) {
  return zs::MakeJSONArray({zs::MakeJSONDouble(color.red), zs::MakeJSONDouble(color.green),
                            zs::MakeJSONDouble(color.blue), zs::MakeJSONDouble(color.alpha)});
}

JSONValuePtr PointToJson(const ControlPoint& point) {
  JSONObject object;
  zs::AddToObject(object, kPointXKey, zs::MakeJSONDouble(point.x));
  zs::AddToObject(object, kPointYKey, zs::MakeJSONDouble(point.y));
  return zs::MakeJSONObject(std::move(object));
}

void AddSliderMembers(const SliderControl& slider, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_SLIDERVALUE_MIN_STR, zs::MakeJSONDouble(slider.GetMin()));
  zs::AddToObject(object, CAPSULE_SLIDERVALUE_MAX_STR, zs::MakeJSONDouble(slider.GetMax()));
  AddValue(object, zs::MakeJSONDouble(slider.GetValueAs<double>()));
}

void AddStringMembers(const StringControl& control, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_STRING_FONTEDITINFO_STR,
                  SourceTextFontEditInfoToJsonValue(control.GetFontEditInfo()));
  AddValue(object, UIStringToJson(control.GetValueAs<UIString>()));
}

void AddEnumMembers(const EnumControl& control, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_CONTROL_ENUM_TYPE,
                  zs::MakeJSONUInt64(static_cast<uint32_t>(control.GetEnumType())));
  zs::AddToObject(object, CAPSULE_CONTROL_ENUM_ITEMS,
                  zs::MakeJSONArray(ConvertList<JSONValuePtr>(control.GetItems(), UIStringToJson)));
  AddValue(object, zs::MakeJSONInt64(control.GetValueAs<int32_t>()));
}

void AddScaleMembers(const ScaleControl& control, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_SCALE_LINKED_STR, zs::MakeJSONBool(control.IsLinked()));
  zs::AddToObject(object, CAPSULE_SCALE_DIMENSIONS_STR, zs::MakeJSONInt64(control.GetDimensions()));
  AddValue(object, NumberListToJson(control.GetValueAs<std::vector<double>>()));
}

// The excluded child is one the group holds only while the template is being edited.
void AddGroupMembers(const GroupControl& group, JSONObject& object) {
  ControlChildIDs children = group.GetValueAs<ControlChildIDs>();
  std::erase(children, group.GetExcludedChildID());
  zs::AddToObject(object, CAPSULE_GROUP_EXPANDED_STR, zs::MakeJSONBool(group.IsExpanded()));
  AddValue(object, UTF16ListToJson(children));
}

void AddSpreadsheetMembers(const SpreadsheetControl& control, JSONObject& object) {
  zs::AddToObject(object, CAPSULE_SPREADSHEET_MINROWS_STR,
                  zs::MakeJSONUInt64(control.GetMinRows()));
  zs::AddToObject(object, CAPSULE_SPREADSHEET_MAXROWS_STR,
                  zs::MakeJSONUInt64(control.GetMaxRows()));
  zs::AddToObject(object, CAPSULE_SPREADSHEET_COLUMN_INFO_STR,
                  SpreadsheetColumnInfoLocVecToJsonValue(control.GetColumnInfo()));
  AddValue(object, SpreadsheetValueToJsonValue(control.GetValueAs<hostbridge::SpreadsheetValue>()));
}

// Calls add with the control as Kind when it is one; a control of another class (a host's own
// subclass claiming a kind's code) gets only the common members.
template <typename Kind, typename Add>
void AddIfKind(const ClientControl& control, JSONObject& object, Add add) {
  if (const auto* kind = dynamic_cast<const Kind*>(&control)) add(*kind, object);
}

template <typename Kind, typename Value>
void AddPlainValue(const ClientControl& control, JSONObject& object,
                   JSONValuePtr (*to_json)(const Value&)) {
  AddIfKind<Kind>(control, object, [to_json](const Kind& kind, JSONObject& members) {
    AddValue(members, to_json(kind.template GetValueAs<Value>()));
  });
}

JSONValuePtr BoolToJson(const bool& value) { return zs::MakeJSONBool(value); }
JSONValuePtr DoubleToJson(const double& value) { return zs::MakeJSONDouble(value); }

void AddKindMembers(const ClientControl& control, JSONObject& object) {
  switch (control.GetType()) {
    case kCheckboxControlType:
      return AddPlainValue<CheckboxControl>(control, object, BoolToJson);
    case kSliderControlType:
      return AddIfKind<SliderControl>(control, object, AddSliderMembers);
    case kAngleControlType:
      return AddPlainValue<AngleControl>(control, object, DoubleToJson);
    case kColorControlType:
      return AddPlainValue<ColorControl>(control, object, ColorToJson);
    case kPoint2DControlType:
      return AddPlainValue<Point2DControl>(control, object, PointToJson);
    case kStringControlType:
      return AddIfKind<StringControl>(control, object, AddStringMembers);
    case kEnumControlType:
      return AddIfKind<EnumControl>(control, object, AddEnumMembers);
    case kCommentControlType:
      return AddPlainValue<CommentControl>(control, object, UIStringToJson);
    case kScaleControlType:
      return AddIfKind<ScaleControl>(control, object, AddScaleMembers);
    case kGroupControlType:
      return AddIfKind<GroupControl>(control, object, AddGroupMembers);
    case kSpreadsheetControlType:
      return AddIfKind<SpreadsheetControl>(control, object, AddSpreadsheetMembers);
    default:
      return;
  }
}

// ---- Reading --------------------------------------------------------------------------------

struct CommonMembers {
  int32_t type = 0;
  std::u16string id;
  UIString name;
  UIString suffix;
  UIString tool_tip;
  bool hidden = false;
  ControlProperties properties;
};

CommonMembers ReadCommonMembers(const JSONObject& object) {
  CommonMembers common;
  if (auto id = ReadUTF16Member(object, CAPSULE_CONTROL_ID_STR)) common.id = std::move(*id);
  if (auto name = ReadUIStringMember(object, CAPSULE_CONTROL_UINAME_STR)) {
    common.name = std::move(*name);
  }
  if (auto suffix = ReadUIStringMember(object, CAPSULE_CONTROL_UISUFFIX_STR)) {
    common.suffix = std::move(*suffix);
  }
  if (auto tip = ReadUIStringMember(object, CAPSULE_CONTROL_UITOOLTIP_STR)) {
    common.tool_tip = std::move(*tip);
  }
  common.hidden = ReadBoolMember(object, CAPSULE_CONTROL_HIDDEN_STR).value_or(false);
  common.properties.can_animate =
      ReadBoolMember(object, CAPSULE_CONTROLPROPS_CANANIMATE_STR).value_or(false);
  common.type = ReadInt32Member(object, CAPSULE_CONTROL_TYPE_STR).value_or(0);
  return common;
}

const JSONValuePtr* FindValue(const JSONObject& object) {
  return FindMember(object, CAPSULE_CONTROL_VALUE_STR);
}

zorvdrawing::ColorRGBA ColorFromJson(const JSONObject& object) {
  std::array<float, kColorComponents> components{};
  if (const JSONArray* array = ReadArrayMember(object, CAPSULE_CONTROL_VALUE_STR)) {
    const size_t count = std::min(array->size(), kColorComponents);
    for (size_t i = 0; i < count; ++i) {
      components[i] = NarrowToFloat(NumberFromJson((*array)[i]));
    }
  }
  return {components[0], components[1], components[2], components[3]};
}

ControlPoint PointFromJson(const JSONObject& object) {
  ControlPoint point;
  if (const JSONObject* value = ReadObjectMember(object, CAPSULE_CONTROL_VALUE_STR)) {
    point.x = ReadNumberMember(*value, kPointXKey).value_or(0.0);
    point.y = ReadNumberMember(*value, kPointYKey).value_or(0.0);
  }
  return point;
}

UIString UIStringValueFromJson(const JSONObject& object) {
  return ReadUIStringMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(UIString());
}

double NumberValueFromJson(const JSONObject& object) {
  return ReadNumberMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(0.0);
}

std::vector<UIString> EnumItemsFromJson(const JSONObject& object) {
  const JSONArray* items = ReadArrayMember(object, CAPSULE_CONTROL_ENUM_ITEMS);
  if (items == nullptr) return {};
  return ConvertList<UIString>(*items, UIStringFromJson);
}

hostbridge::SourceTextFontEditInfo FontEditInfoFromJson(const JSONObject& object) {
  const JSONValuePtr* info = FindMember(object, CAPSULE_STRING_FONTEDITINFO_STR);
  return info != nullptr ? SourceTextFontEditInfoFromJsonValue(*info)
                         : hostbridge::SourceTextFontEditInfo();
}

std::vector<SpreadsheetColumnInfoLoc> ColumnsFromJson(const JSONObject& object) {
  const JSONValuePtr* columns = FindMember(object, CAPSULE_SPREADSHEET_COLUMN_INFO_STR);
  return columns != nullptr ? SpreadsheetColumnInfoLocVecFromJsonValue(*columns)
                            : std::vector<SpreadsheetColumnInfoLoc>();
}

hostbridge::SpreadsheetValue SpreadsheetValueFromJson(const JSONObject& object) {
  const JSONValuePtr* value = FindValue(object);
  return value != nullptr ? SpreadsheetValueFromJsonValue(*value) : hostbridge::SpreadsheetValue();
}

std::shared_ptr<ClientControl> MakeControl(const JSONObject& object, CommonMembers& common) {
  std::u16string id = std::move(common.id);
  UIString name = std::move(common.name);
  const ControlProperties& props = common.properties;
  switch (common.type) {
    case kCheckboxControlType:
      return factory::CreateCheckboxControl(
          std::move(id), std::move(name), props,
          ReadBoolMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(false));
    case kSliderControlType:
      return factory::CreateSliderControl(
          std::move(id), std::move(name), props,
          ReadNumberMember(object, CAPSULE_SLIDERVALUE_MIN_STR).value_or(0.0),
          ReadNumberMember(object, CAPSULE_SLIDERVALUE_MAX_STR).value_or(0.0),
          NumberValueFromJson(object));
    case kAngleControlType:
      return factory::CreateAngleControl(std::move(id), std::move(name), props,
                                         NumberValueFromJson(object));
    case kColorControlType:
      return factory::CreateColorControl(std::move(id), std::move(name), props,
                                         ColorFromJson(object));
    case kPoint2DControlType:
      return factory::CreatePoint2DControl(std::move(id), std::move(name), props,
                                           PointFromJson(object));
    case kStringControlType:
      return factory::CreateStringControl(std::move(id), std::move(name), props,
                                          UIStringValueFromJson(object),
                                          FontEditInfoFromJson(object));
    case kEnumControlType:
      return factory::CreateEnumControl(
          std::move(id), std::move(name), props,
          static_cast<EnumType>(ReadUInt32Member(object, CAPSULE_CONTROL_ENUM_TYPE).value_or(0)),
          EnumItemsFromJson(object),
          ReadInt32Member(object, CAPSULE_CONTROL_VALUE_STR).value_or(0));
    case kCommentControlType:
      return factory::CreateCommentControl(std::move(id), std::move(name), props,
                                           UIStringValueFromJson(object));
    case kScaleControlType:
      return factory::CreateScaleControl(
          std::move(id), std::move(name), props,
          ReadBoolMember(object, CAPSULE_SCALE_LINKED_STR).value_or(false),
          ReadInt32Member(object, CAPSULE_SCALE_DIMENSIONS_STR).value_or(0),
          ReadNumberListMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(std::vector<double>()));
    case kGroupControlType:
      return factory::CreateGroupControl(
          std::move(id), std::move(name), props,
          ReadUTF16ListMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(ControlChildIDs()),
          ReadBoolMember(object, CAPSULE_GROUP_EXPANDED_STR).value_or(true));
    case kSpreadsheetControlType:
      return factory::CreateSpreadsheetControl(
          std::move(id), std::move(name), props,
          ReadUInt32Member(object, CAPSULE_SPREADSHEET_MINROWS_STR).value_or(0),
          ReadUInt32Member(object, CAPSULE_SPREADSHEET_MAXROWS_STR).value_or(0),
          ColumnsFromJson(object), SpreadsheetValueFromJson(object));
    default:
      return nullptr;
  }
}

}  // namespace

JSONValuePtr ClientControlToJsonValue(const ClientControl& control) {
  JSONObject object;
  AddCommonMembers(control, object);
  AddKindMembers(control, object);
  return zs::MakeJSONObject(std::move(object));
}

std::shared_ptr<ClientControl> ClientControlFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  CommonMembers common = ReadCommonMembers(object);
  std::shared_ptr<ClientControl> control = MakeControl(object, common);
  if (control) {
    control->SetSuffix(std::move(common.suffix));
    control->SetToolTip(std::move(common.tool_tip));
    control->SetHidden(common.hidden);
  }
  return control;
}

JSONValuePtr ClientControlListToJsonValue(const ClientControlList& controls) {
  JSONArray elements =
      ConvertList<JSONValuePtr>(controls, [](const std::shared_ptr<ClientControl>& control) {
        return control ? ClientControlToJsonValue(*control) : JSONValuePtr();
      });
  std::erase(elements, nullptr);
  return zs::MakeJSONArray(std::move(elements));
}

ClientControlList ClientControlListFromJsonValue(const JSONValuePtr& value) {
  ClientControlList controls =
      ConvertList<std::shared_ptr<ClientControl>>(ArrayFromJson(value), ClientControlFromJsonValue);
  std::erase(controls, nullptr);
  return controls;
}

}  // namespace zorvcapsule::serialization
