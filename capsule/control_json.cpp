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
#include "capsule/json_node.h"
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

CommonMembers ReadCommonMembers(const JsonNode& object) {
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

// The first four numbers of the array; nothing is read past them.
zorvdrawing::ColorRGBA ColorFromJson(const JsonNode& object) {
  std::array<float, kColorComponents> components{};
  if (const std::optional<JsonNode> array = object.Member(CAPSULE_CONTROL_VALUE_STR)) {
    size_t i = 0;
    array->ForEachElement([&](const JsonNode& component) {
      if (i < kColorComponents) components[i++] = NarrowToFloat(component.Number());
    });
  }
  return {components[0], components[1], components[2], components[3]};
}

ControlPoint PointFromJson(const JsonNode& object) {
  ControlPoint point;
  if (const std::optional<JsonNode> value = object.Member(CAPSULE_CONTROL_VALUE_STR)) {
    value->RequireObject();
    point.x = ReadNumberMember(*value, kPointXKey).value_or(0.0);
    point.y = ReadNumberMember(*value, kPointYKey).value_or(0.0);
  }
  return point;
}

UIString UIStringValueFromJson(const JsonNode& object) {
  return ReadUIStringMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(UIString());
}

double NumberValueFromJson(const JsonNode& object) {
  return ReadNumberMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(0.0);
}

std::vector<UIString> EnumItemsFromJson(const JsonNode& object) {
  const std::optional<JsonNode> items = object.Member(CAPSULE_CONTROL_ENUM_ITEMS);
  if (!items) return {};
  return ConvertElements<UIString>(*items, [](const JsonNode& item) { return UIStringFromJson(item); });
}

hostbridge::SourceTextFontEditInfo FontEditInfoFromJson(const JsonNode& object) {
  const std::optional<JsonNode> info = object.Member(CAPSULE_STRING_FONTEDITINFO_STR);
  return info ? SourceTextFontEditInfoFromJson(*info) : hostbridge::SourceTextFontEditInfo();
}

std::vector<SpreadsheetColumnInfoLoc> ColumnsFromJson(const JsonNode& object) {
  const std::optional<JsonNode> columns = object.Member(CAPSULE_SPREADSHEET_COLUMN_INFO_STR);
  return columns ? SpreadsheetColumnInfoLocVecFromJson(*columns) : std::vector<SpreadsheetColumnInfoLoc>();
}

hostbridge::SpreadsheetValue SpreadsheetCellsFromJson(const JsonNode& object) {
  const std::optional<JsonNode> value = object.Member(CAPSULE_CONTROL_VALUE_STR);
  return value ? SpreadsheetValueFromJson(*value) : hostbridge::SpreadsheetValue();
}

// The kind's own members are read in the order the table above lists them, so that of several
// members of the wrong type the first one is the one reported.
std::shared_ptr<ClientControl> MakeControl(const JsonNode& object, CommonMembers& common) {
  std::u16string id = std::move(common.id);
  UIString name = std::move(common.name);
  const ControlProperties& props = common.properties;
  switch (common.type) {
    case kCheckboxControlType:
      return factory::CreateCheckboxControl(
          std::move(id), std::move(name), props,
          ReadBoolMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(false));
    case kSliderControlType: {
      const double min = ReadNumberMember(object, CAPSULE_SLIDERVALUE_MIN_STR).value_or(0.0);
      const double max = ReadNumberMember(object, CAPSULE_SLIDERVALUE_MAX_STR).value_or(0.0);
      return factory::CreateSliderControl(std::move(id), std::move(name), props, min, max,
                                          NumberValueFromJson(object));
    }
    case kAngleControlType:
      return factory::CreateAngleControl(std::move(id), std::move(name), props,
                                         NumberValueFromJson(object));
    case kColorControlType:
      return factory::CreateColorControl(std::move(id), std::move(name), props,
                                         ColorFromJson(object));
    case kPoint2DControlType:
      return factory::CreatePoint2DControl(std::move(id), std::move(name), props,
                                           PointFromJson(object));
    case kStringControlType: {
      hostbridge::SourceTextFontEditInfo font = FontEditInfoFromJson(object);
      return factory::CreateStringControl(std::move(id), std::move(name), props,
                                          UIStringValueFromJson(object), std::move(font));
    }
    case kEnumControlType: {
      const auto enum_type =
          static_cast<EnumType>(ReadUInt32Member(object, CAPSULE_CONTROL_ENUM_TYPE).value_or(0));
      std::vector<UIString> items = EnumItemsFromJson(object);
      return factory::CreateEnumControl(std::move(id), std::move(name), props, enum_type, std::move(items),
                                        ReadInt32Member(object, CAPSULE_CONTROL_VALUE_STR).value_or(0));
    }
    case kCommentControlType:
      return factory::CreateCommentControl(std::move(id), std::move(name), props,
                                           UIStringValueFromJson(object));
    case kScaleControlType: {
      const bool linked = ReadBoolMember(object, CAPSULE_SCALE_LINKED_STR).value_or(false);
      const int32_t dimensions = ReadInt32Member(object, CAPSULE_SCALE_DIMENSIONS_STR).value_or(0);
      return factory::CreateScaleControl(
          std::move(id), std::move(name), props, linked, dimensions,
          ReadNumberListMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(std::vector<double>()));
    }
    case kGroupControlType: {
      const bool expanded = ReadBoolMember(object, CAPSULE_GROUP_EXPANDED_STR).value_or(true);
      return factory::CreateGroupControl(
          std::move(id), std::move(name), props,
          ReadUTF16ListMember(object, CAPSULE_CONTROL_VALUE_STR).value_or(ControlChildIDs()), expanded);
    }
    case kSpreadsheetControlType: {
      const uint32_t min_rows = ReadUInt32Member(object, CAPSULE_SPREADSHEET_MINROWS_STR).value_or(0);
      const uint32_t max_rows = ReadUInt32Member(object, CAPSULE_SPREADSHEET_MAXROWS_STR).value_or(0);
      std::vector<SpreadsheetColumnInfoLoc> columns = ColumnsFromJson(object);
      return factory::CreateSpreadsheetControl(std::move(id), std::move(name), props, min_rows, max_rows,
                                               std::move(columns), SpreadsheetCellsFromJson(object));
    }
    default:
      return nullptr;
  }
}

// ---- Checking: the reads above, keeping nothing -------------------------------------------------
// Each function reads what its counterpart above reads, in the same order, and throws where it would
// throw: a value of another type is a bad cast either way. Nothing is converted or built.

void CheckText(const std::optional<JsonNode>& value) {
  if (value) value->String();
}

void CheckBool(const std::optional<JsonNode>& value) {
  if (value) BoolFromJson(*value);
}

void CheckNumber(const std::optional<JsonNode>& value) {
  if (value) value->Number();
}

void CheckInteger(const std::optional<JsonNode>& value) {
  if (value) value->AnyUInt64();
}

// As UIStringFromJson.
void CheckUIString(const JsonNode& value) {
  value.RequireObject();
  const std::optional<JsonNode> pairs = value.Member(CAPSULE_STRDB_STR);
  if (!pairs) return;
  pairs->ForEachElement([](const JsonNode& pair) {
    pair.RequireObject();
    CheckText(pair.Member(CAPSULE_LOCALE_STR));
    CheckText(pair.Member(CAPSULE_STR_STR));
  });
}

void CheckUIStringMember(const JsonNode& object, std::string_view key) {
  if (const std::optional<JsonNode> value = object.Member(key)) CheckUIString(*value);
}

template <typename CheckElement>
void CheckList(const std::optional<JsonNode>& array, CheckElement check) {
  if (array) array->ForEachElement(check);
}

// As ReadCommonMembers; gives the control's type code.
int32_t CheckCommonMembers(const JsonNode& object) {
  CheckText(object.Member(CAPSULE_CONTROL_ID_STR));
  CheckUIStringMember(object, CAPSULE_CONTROL_UINAME_STR);
  CheckUIStringMember(object, CAPSULE_CONTROL_UISUFFIX_STR);
  CheckUIStringMember(object, CAPSULE_CONTROL_UITOOLTIP_STR);
  CheckBool(object.Member(CAPSULE_CONTROL_HIDDEN_STR));
  CheckBool(object.Member(CAPSULE_CONTROLPROPS_CANANIMATE_STR));
  return ReadInt32Member(object, CAPSULE_CONTROL_TYPE_STR).value_or(0);
}

// As MakeControl. The rarer kinds' values are read as MakeControl reads them and dropped.
void CheckKindMembers(const JsonNode& object, int32_t type) {
  const std::optional<JsonNode> value = object.Member(CAPSULE_CONTROL_VALUE_STR);
  switch (type) {
    case kCheckboxControlType:
      return CheckBool(value);
    case kSliderControlType:
      CheckNumber(object.Member(CAPSULE_SLIDERVALUE_MIN_STR));
      CheckNumber(object.Member(CAPSULE_SLIDERVALUE_MAX_STR));
      return CheckNumber(value);
    case kAngleControlType:
      return CheckNumber(value);
    case kColorControlType:
      ColorFromJson(object);
      return;
    case kPoint2DControlType:
      PointFromJson(object);
      return;
    case kStringControlType:
      FontEditInfoFromJson(object);
      if (value) CheckUIString(*value);
      return;
    case kEnumControlType:
      CheckInteger(object.Member(CAPSULE_CONTROL_ENUM_TYPE));
      CheckList(object.Member(CAPSULE_CONTROL_ENUM_ITEMS), CheckUIString);
      return CheckInteger(value);
    case kCommentControlType:
      if (value) CheckUIString(*value);
      return;
    case kScaleControlType:
      CheckBool(object.Member(CAPSULE_SCALE_LINKED_STR));
      CheckInteger(object.Member(CAPSULE_SCALE_DIMENSIONS_STR));
      return CheckList(value, [](const JsonNode& number) { number.Number(); });
    case kGroupControlType:
      CheckBool(object.Member(CAPSULE_GROUP_EXPANDED_STR));
      return CheckList(value, [](const JsonNode& child) { child.String(); });
    case kSpreadsheetControlType:
      CheckInteger(object.Member(CAPSULE_SPREADSHEET_MINROWS_STR));
      CheckInteger(object.Member(CAPSULE_SPREADSHEET_MAXROWS_STR));
      ColumnsFromJson(object);
      SpreadsheetCellsFromJson(object);
      return;
    default:
      return;
  }
}

}  // namespace

JSONValuePtr ClientControlToJsonValue(const ClientControl& control) {
  JSONObject object;
  AddCommonMembers(control, object);
  AddKindMembers(control, object);
  return zs::MakeJSONObject(std::move(object));
}

std::shared_ptr<ClientControl> ClientControlFromJson(const JsonNode& object) {
  object.RequireObject();
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

std::shared_ptr<ClientControl> ClientControlFromJsonValue(const JSONValuePtr& value) {
  return ClientControlFromJson(JsonNode::TreeRoot(value));
}

ClientControlList ClientControlListFromJson(const JsonNode& value) {
  ClientControlList controls = ConvertElements<std::shared_ptr<ClientControl>>(
      value, [](const JsonNode& control) { return ClientControlFromJson(control); });
  std::erase(controls, nullptr);
  return controls;
}

void CheckClientControlList(const JsonNode& value) {
  value.ForEachElement([](const JsonNode& control) {
    control.RequireObject();
    CheckKindMembers(control, CheckCommonMembers(control));
  });
}

ClientControlList ClientControlListFromJsonValue(const JSONValuePtr& value) {
  return ClientControlListFromJson(JsonNode::TreeRoot(value));
}

}  // namespace zorvcapsule::serialization
