#include "capsule/capsule_param_json.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "capsule/edit_info_json.h"
#include "capsule/json_node.h"
#include "capsule/list_conversion.h"
#include "capsule/spreadsheet_json.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;
using hostbridge::CapsuleParam;
using hostbridge::CapsuleParamKey;
using hostbridge::CapsuleParamType;

namespace {

constexpr char kParamsKey[] = "capParams";
constexpr char kMatchNameKey[] = "capPropMatchName";
constexpr char kUINameKey[] = "capPropUIName";
constexpr char kAnimatableKey[] = "capPropAnimatable";
constexpr char kTypeKey[] = "capPropType";
constexpr char kDefaultKey[] = "capPropDefault";
constexpr char kFontEditInfoKey[] = "capPropFontEditInfo";
constexpr char kMinKey[] = "capPropMin";
constexpr char kMaxKey[] = "capPropMax";
constexpr char kDecimalsKey[] = "capPropDecimals";
constexpr char kLinkedKey[] = "capPropLinked";
constexpr char kDimensionsKey[] = "capPropDimensions";
constexpr char kGroupExpandedKey[] = "capPropGroupExpanded";
constexpr char kMinRowsKey[] = "capPropSpreadsheetMinRows";
constexpr char kMaxRowsKey[] = "capPropSpreadsheetMaxRows";
constexpr char kColumnInfoKey[] = "capPropSpreadsheetColumnInfo";

// ---- Writing: one member from one property ----------------------------------------------------

class ParamWriter {
 public:
  explicit ParamWriter(const CapsuleParam& param) : param_(param) {}

  void Text(const char* key, CapsuleParamKey property) {
    Add(key, zs::MakeJSONString(std::u16string_view(Get<std::u16string>(property))));
  }
  void Bool(const char* key, CapsuleParamKey property) {
    Add(key, zs::MakeJSONBool(Get<bool>(property)));
  }
  void Number(const char* key, CapsuleParamKey property) {
    Add(key, zs::MakeJSONDouble(Get<double>(property)));
  }
  void Int32(const char* key, CapsuleParamKey property) {
    Add(key, zs::MakeJSONInt64(Get<int32_t>(property)));
  }
  void UInt32(const char* key, CapsuleParamKey property) {
    Add(key, zs::MakeJSONUInt64(Get<uint32_t>(property)));
  }
  void Numbers(const char* key, CapsuleParamKey property) {
    Add(key, NumberListToJson(Get<std::vector<double>>(property)));
  }
  void Texts(const char* key, CapsuleParamKey property) {
    Add(key, UTF16ListToJson(Get<std::vector<std::u16string>>(property)));
  }
  void FontEditInfo(const char* key, CapsuleParamKey property) {
    Add(key, SourceTextFontEditInfoToJsonValue(Get<hostbridge::SourceTextFontEditInfo>(property)));
  }
  void Spreadsheet(const char* key, CapsuleParamKey property) {
    Add(key, SpreadsheetValueToJsonValue(Get<hostbridge::SpreadsheetValue>(property)));
  }
  void Columns(const char* key, CapsuleParamKey property) {
    Add(key, SpreadsheetColumnInfoVecToJsonValue(
                 Get<std::vector<hostbridge::SpreadsheetColumnInfo>>(property)));
  }

  JSONValuePtr Finish() { return zs::MakeJSONObject(std::move(object_)); }

 private:
  template <typename T>
  const T& Get(CapsuleParamKey property) const {
    return param_.Get<T>(property);
  }
  void Add(const char* key, JSONValuePtr value) { zs::AddToObject(object_, key, std::move(value)); }

  const CapsuleParam& param_;
  JSONObject object_;
};

// ---- Reading: one property from one member, or its default --------------------------------------

class ParamReader {
 public:
  explicit ParamReader(const JsonNode& object) : object_(object) {}

  void Text(const char* key, CapsuleParamKey property) {
    Set(property, ReadUTF16Member(object_, key).value_or(u""));
  }
  void Bool(const char* key, CapsuleParamKey property) {
    // A group shows its children unless the template says otherwise, as group controls do.
    const bool absent = property == CapsuleParamKey::kGroupExpanded;
    Set(property, ReadBoolMember(object_, key).value_or(absent));
  }
  void Number(const char* key, CapsuleParamKey property) {
    Set(property, ReadNumberMember(object_, key).value_or(0.0));
  }
  void Int32(const char* key, CapsuleParamKey property) {
    Set(property, ReadInt32Member(object_, key).value_or(0));
  }
  void UInt32(const char* key, CapsuleParamKey property) {
    Set(property, ReadUInt32Member(object_, key).value_or(0u));
  }
  void Numbers(const char* key, CapsuleParamKey property) {
    Set(property, ReadNumberListMember(object_, key).value_or(std::vector<double>()));
  }
  void Texts(const char* key, CapsuleParamKey property) {
    Set(property, ReadUTF16ListMember(object_, key).value_or(std::vector<std::u16string>()));
  }
  // The flat flags of older descriptions first, then the nested object of newer ones over them.
  void FontEditInfo(const char* key, CapsuleParamKey property) {
    hostbridge::SourceTextFontEditInfo info;
    ReadSourceTextFontEditFlags(object_, info);
    if (const std::optional<JsonNode> nested = object_.Member(key)) {
      nested->RequireObject();
      ReadSourceTextFontEditMembers(*nested, info);
    }
    Set(property, std::move(info));
  }
  void Spreadsheet(const char* key, CapsuleParamKey property) {
    const std::optional<JsonNode> value = object_.Member(key);
    Set(property, value ? SpreadsheetValueFromJson(*value) : hostbridge::SpreadsheetValue());
  }
  void Columns(const char* key, CapsuleParamKey property) {
    const std::optional<JsonNode> value = object_.Member(key);
    Set(property, value ? SpreadsheetColumnInfoVecFromJson(*value)
                        : std::vector<hostbridge::SpreadsheetColumnInfo>());
  }

  CapsuleParam Finish() { return std::move(param_); }

 private:
  void Set(CapsuleParamKey property, hostbridge::CapsuleParamValue value) {
    param_.Set(property, std::move(value));
  }

  const JsonNode& object_;
  CapsuleParam param_;
};

// ---- The members of each type, visited alike by the writer and the reader --------------------

template <typename Members>
void VisitCommonMembers(Members& members) {
  members.Text(kMatchNameKey, CapsuleParamKey::kMatchName);
  members.Text(kUINameKey, CapsuleParamKey::kUIName);
  members.Bool(kAnimatableKey, CapsuleParamKey::kAnimatable);
  members.UInt32(kTypeKey, CapsuleParamKey::kType);
}

template <typename Members>
void VisitTypeMembers(uint32_t type, Members& members) {
  switch (static_cast<CapsuleParamType>(type)) {
    case CapsuleParamType::kText:
      members.Text(kDefaultKey, CapsuleParamKey::kDefault);
      members.FontEditInfo(kFontEditInfoKey, CapsuleParamKey::kFontEditInfo);
      return;
    case CapsuleParamType::kSlider:
      members.Number(kDefaultKey, CapsuleParamKey::kDefault);
      members.Number(kMinKey, CapsuleParamKey::kMin);
      members.Number(kMaxKey, CapsuleParamKey::kMax);
      members.Int32(kDecimalsKey, CapsuleParamKey::kDecimals);
      return;
    case CapsuleParamType::kCheckbox:
      members.Bool(kDefaultKey, CapsuleParamKey::kDefault);
      return;
    case CapsuleParamType::kColor:
    case CapsuleParamType::kPoint:
      members.Numbers(kDefaultKey, CapsuleParamKey::kDefault);
      return;
    case CapsuleParamType::kString:
      members.Text(kDefaultKey, CapsuleParamKey::kDefault);
      return;
    case CapsuleParamType::kAngle:
      members.Number(kDefaultKey, CapsuleParamKey::kDefault);
      return;
    case CapsuleParamType::kScale:
      members.Numbers(kDefaultKey, CapsuleParamKey::kDefault);
      members.Bool(kLinkedKey, CapsuleParamKey::kLinked);
      members.Int32(kDimensionsKey, CapsuleParamKey::kDimensions);
      return;
    case CapsuleParamType::kGroup:
      members.Texts(kDefaultKey, CapsuleParamKey::kDefault);
      members.Bool(kGroupExpandedKey, CapsuleParamKey::kGroupExpanded);
      return;
    case CapsuleParamType::kSpreadsheet:
      members.Spreadsheet(kDefaultKey, CapsuleParamKey::kDefault);
      members.UInt32(kMinRowsKey, CapsuleParamKey::kSpreadsheetMinRows);
      members.UInt32(kMaxRowsKey, CapsuleParamKey::kSpreadsheetMaxRows);
      members.Columns(kColumnInfoKey, CapsuleParamKey::kSpreadsheetColumnInfo);
      return;
  }
}

}  // namespace

JSONValuePtr CapsuleParamToJsonValue(const CapsuleParam& param) {
  ParamWriter out(param);
  VisitCommonMembers(out);
  VisitTypeMembers(param.Get<uint32_t>(CapsuleParamKey::kType), out);
  return out.Finish();
}

CapsuleParam CapsuleParamFromJson(const JsonNode& object) {
  object.RequireObject();
  ParamReader in(object);
  VisitCommonMembers(in);
  VisitTypeMembers(ReadUInt32Member(object, kTypeKey).value_or(0), in);
  return in.Finish();
}

CapsuleParam CapsuleParamFromJsonValue(const JSONValuePtr& value) {
  return CapsuleParamFromJson(JsonNode::TreeRoot(value));
}

JSONValuePtr CapsuleParamListToJsonValue(const hostbridge::CapsuleParamList& list) {
  JSONObject object;
  zs::AddToObject(object, kParamsKey,
                  zs::MakeJSONArray(ConvertList<JSONValuePtr>(list.params, CapsuleParamToJsonValue)));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::CapsuleParamList CapsuleParamListFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::CapsuleParamList list;
  if (const std::optional<JsonNode> params = object.Member(kParamsKey)) {
    list.params = ConvertElements<CapsuleParam>(*params, [](const JsonNode& param) { return CapsuleParamFromJson(param); });
  }
  return list;
}

hostbridge::CapsuleParamList CapsuleParamListFromJsonValue(const JSONValuePtr& value) {
  return CapsuleParamListFromJson(JsonNode::TreeRoot(value));
}

}  // namespace zorvcapsule::serialization
