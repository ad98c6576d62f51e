#include "capsule/edit_info_json.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "capsule/capsule_json_keys.h"
#include "capsule/edit_info_json_keys.h"
#include "capsule/json_node.h"
#include "capsule/narrow_float.h"
#include "capsule/spreadsheet_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

void ReadBool(const JsonNode& object, std::string_view key, bool& field) {
  if (auto value = ReadBoolMember(object, key)) field = *value;
}

// A float's shortest decimal form read as a double, so that a size of 0.1f is written as 0.1 and
// not as the double nearest the float (0.10000000149011612); both read back as the same float.
double FloatAsShortestDouble(float value) {
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  double widened = value;
  if (written.ec == std::errc()) std::from_chars(digits, written.ptr, widened);
  return widened;
}

std::u16string ToText(const JSONValuePtr& value) { return zs::GetJSONString(value, false); }

// An empty pointer when the text does not parse, which every reader refuses as a bad cast.
JSONValuePtr FromText(const std::u16string& text) { return zs::JSONParse(std::u16string_view(text)); }

}  // namespace

JSONValuePtr SourceTextFontEditInfoToJsonValue(const hostbridge::SourceTextFontEditInfo& info) {
  JSONObject object;
  zs::AddToObject(object, kFontEditKey, zs::MakeJSONBool(info.font_editable));
  zs::AddToObject(object, kFontEditValueKey,
                  zs::MakeJSONString(std::u16string_view(info.font_name)));
  zs::AddToObject(object, kFontSizeEditKey, zs::MakeJSONBool(info.font_size_editable));
  zs::AddToObject(object, kFontSizeEditValueKey,
                  zs::MakeJSONDouble(FloatAsShortestDouble(info.font_size)));
  zs::AddToObject(object, kFontFauxStyleEditKey, zs::MakeJSONBool(info.faux_styles_editable));
  zs::AddToObject(object, kFontBoldKey, zs::MakeJSONBool(info.bold));
  zs::AddToObject(object, kFontItalicKey, zs::MakeJSONBool(info.italic));
  zs::AddToObject(object, kFontAllCapsKey, zs::MakeJSONBool(info.all_caps));
  zs::AddToObject(object, kFontSmallCapsKey, zs::MakeJSONBool(info.small_caps));
  return zs::MakeJSONObject(std::move(object));
}

void ReadSourceTextFontEditFlags(const JsonNode& object,
                                 hostbridge::SourceTextFontEditInfo& info) {
  ReadBool(object, kFontEditKey, info.font_editable);
  ReadBool(object, kFontSizeEditKey, info.font_size_editable);
  ReadBool(object, kFontFauxStyleEditKey, info.faux_styles_editable);
}

void ReadSourceTextFontEditMembers(const JsonNode& object,
                                   hostbridge::SourceTextFontEditInfo& info) {
  ReadSourceTextFontEditFlags(object, info);
  if (auto name = ReadUTF16Member(object, kFontEditValueKey)) info.font_name = std::move(*name);
  if (auto size = ReadNumberMember(object, kFontSizeEditValueKey)) {
    info.font_size = NarrowToFloat(*size);
  }
  ReadBool(object, kFontBoldKey, info.bold);
  ReadBool(object, kFontItalicKey, info.italic);
  ReadBool(object, kFontAllCapsKey, info.all_caps);
  ReadBool(object, kFontSmallCapsKey, info.small_caps);
}

hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJson(const JsonNode& value) {
  value.RequireObject();
  hostbridge::SourceTextFontEditInfo info;
  ReadSourceTextFontEditMembers(value, info);
  return info;
}

hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJsonValue(const JSONValuePtr& value) {
  return SourceTextFontEditInfoFromJson(JsonNode::TreeRoot(value));
}

JSONValuePtr TextEditInfoToJsonValue(const hostbridge::TextEditInfo& info) {
  JSONObject object;
  zs::AddToObject(object, kTextEditValueKey, zs::MakeJSONString(std::u16string_view(info.text)));
  zs::AddToObject(object, CAPSULE_STRING_FONTEDITINFO_STR,
                  SourceTextFontEditInfoToJsonValue(info.font_edit_info));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::TextEditInfo TextEditInfoFromJsonValue(const JSONValuePtr& value) {
  const JsonNode object = JsonNode::TreeRoot(value);
  object.RequireObject();
  hostbridge::TextEditInfo info;
  if (auto text = ReadUTF16Member(object, kTextEditValueKey)) info.text = std::move(*text);
  if (const std::optional<JsonNode> font = object.Member(CAPSULE_STRING_FONTEDITINFO_STR)) {
    info.font_edit_info = SourceTextFontEditInfoFromJson(*font);
  }
  return info;
}

std::u16string SourceTextFontEditInfoToJson(const hostbridge::SourceTextFontEditInfo& info) {
  return ToText(SourceTextFontEditInfoToJsonValue(info));
}

hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJson(const std::u16string& text) {
  return SourceTextFontEditInfoFromJsonValue(FromText(text));
}

std::u16string TextEditInfoToJson(const hostbridge::TextEditInfo& info) {
  return ToText(TextEditInfoToJsonValue(info));
}

hostbridge::TextEditInfo TextEditInfoFromJson(const std::u16string& text) {
  return TextEditInfoFromJsonValue(FromText(text));
}

std::u16string SpreadsheetColInfoLocVecToJson(const std::vector<SpreadsheetColumnInfoLoc>& columns) {
  return ToText(SpreadsheetColumnInfoLocVecToJsonValue(columns));
}

std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColInfoLocVecFromJson(const std::u16string& text) {
  return SpreadsheetColumnInfoLocVecFromJsonValue(FromText(text));
}

}  // namespace zorvcapsule::serialization
