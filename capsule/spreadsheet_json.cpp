#include "capsule/spreadsheet_json.h"

#include <string_view>
#include <utility>

#include "capsule/capsule_json_keys.h"
#include "capsule/edit_info_json_keys.h"
#include "capsule/json_node.h"
#include "capsule/list_conversion.h"
#include "capsule/ui_string_json.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

bool IsNumberColumn(uint32_t data_type) {
  return data_type == hostbridge::kSpreadsheetDataTypeNumber;
}

template <typename Element, typename Convert>
JSONValuePtr ListToJsonValue(const std::vector<Element>& list, Convert convert) {
  return zs::MakeJSONArray(ConvertList<JSONValuePtr>(list, convert));
}

// The tree form of a node reader.
template <typename Read>
auto FromTree(const JSONValuePtr& value, Read read) {
  return read(JsonNode::TreeRoot(value));
}

}  // namespace

JSONValuePtr SpreadsheetColumnInfoLocToJsonValue(const SpreadsheetColumnInfoLoc& column) {
  JSONObject object;
  zs::AddToObject(object, CAPSULE_SPREADSHEET_COLUMN_DATATYPE_STR,
                  zs::MakeJSONUInt64(column.data_type));
  zs::AddToObject(object, CAPSULE_SPREADSHEET_COLUMN_NAME_STR, UIStringToJson(column.name));
  if (IsNumberColumn(column.data_type)) {
    zs::AddToObject(object, CAPSULE_SPREADSHEET_COLUMN_MINVAL_STR,
                    zs::MakeJSONDouble(column.min_value));
    zs::AddToObject(object, CAPSULE_SPREADSHEET_COLUMN_MAXVAL_STR,
                    zs::MakeJSONDouble(column.max_value));
  }
  return zs::MakeJSONObject(std::move(object));
}

SpreadsheetColumnInfoLoc SpreadsheetColumnInfoLocFromJson(const JsonNode& value) {
  value.RequireObject();
  SpreadsheetColumnInfoLoc column;
  column.data_type = ReadUInt32Member(value, CAPSULE_SPREADSHEET_COLUMN_DATATYPE_STR).value_or(0);
  if (auto name = ReadUIStringMember(value, CAPSULE_SPREADSHEET_COLUMN_NAME_STR)) {
    column.name = std::move(*name);
  }
  column.min_value = ReadNumberMember(value, CAPSULE_SPREADSHEET_COLUMN_MINVAL_STR)
                         .value_or(SpreadsheetColumnInfoLoc::kDefaultMinValue);
  column.max_value = ReadNumberMember(value, CAPSULE_SPREADSHEET_COLUMN_MAXVAL_STR)
                         .value_or(SpreadsheetColumnInfoLoc::kDefaultMaxValue);
  return column;
}

SpreadsheetColumnInfoLoc SpreadsheetColumnInfoLocFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetColumnInfoLocFromJson(node); });
}

JSONValuePtr SpreadsheetColumnInfoLocVecToJsonValue(
    const std::vector<SpreadsheetColumnInfoLoc>& columns) {
  return ListToJsonValue(columns, SpreadsheetColumnInfoLocToJsonValue);
}

std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColumnInfoLocVecFromJson(const JsonNode& value) {
  return ConvertElements<SpreadsheetColumnInfoLoc>(
      value, [](const JsonNode& column) { return SpreadsheetColumnInfoLocFromJson(column); });
}

std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColumnInfoLocVecFromJsonValue(
    const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetColumnInfoLocVecFromJson(node); });
}

JSONValuePtr SpreadsheetColumnInfoToJsonValue(const hostbridge::SpreadsheetColumnInfo& column) {
  JSONObject object;
  zs::AddToObject(object, kParamColumnDataTypeKey, zs::MakeJSONUInt64(column.data_type));
  zs::AddToObject(object, kParamColumnNameKey, zs::MakeJSONString(std::u16string_view(column.name)));
  if (IsNumberColumn(column.data_type)) {
    zs::AddToObject(object, kParamColumnMinValueKey, zs::MakeJSONDouble(column.min_value));
    zs::AddToObject(object, kParamColumnMaxValueKey, zs::MakeJSONDouble(column.max_value));
  }
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::SpreadsheetColumnInfo SpreadsheetColumnInfoFromJson(const JsonNode& value) {
  value.RequireObject();
  hostbridge::SpreadsheetColumnInfo column;
  column.data_type = ReadUInt32Member(value, kParamColumnDataTypeKey).value_or(0);
  if (auto name = ReadUTF16Member(value, kParamColumnNameKey)) column.name = std::move(*name);
  if (auto min_value = ReadNumberMember(value, kParamColumnMinValueKey)) {
    column.min_value = *min_value;
  }
  if (auto max_value = ReadNumberMember(value, kParamColumnMaxValueKey)) {
    column.max_value = *max_value;
  }
  return column;
}

hostbridge::SpreadsheetColumnInfo SpreadsheetColumnInfoFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetColumnInfoFromJson(node); });
}

JSONValuePtr SpreadsheetColumnInfoVecToJsonValue(
    const std::vector<hostbridge::SpreadsheetColumnInfo>& columns) {
  return ListToJsonValue(columns, SpreadsheetColumnInfoToJsonValue);
}

std::vector<hostbridge::SpreadsheetColumnInfo> SpreadsheetColumnInfoVecFromJson(const JsonNode& value) {
  return ConvertElements<hostbridge::SpreadsheetColumnInfo>(
      value, [](const JsonNode& column) { return SpreadsheetColumnInfoFromJson(column); });
}

std::vector<hostbridge::SpreadsheetColumnInfo> SpreadsheetColumnInfoVecFromJsonValue(
    const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetColumnInfoVecFromJson(node); });
}

JSONValuePtr SpreadsheetColumnValueToJsonValue(const hostbridge::SpreadsheetColumnValue& column) {
  JSONObject object;
  if (column.data_type == hostbridge::kSpreadsheetDataTypeNumber) {
    zs::AddToObject(object, kNumberValuesKey, NumberListToJson(column.number_values));
  } else if (column.data_type == hostbridge::kSpreadsheetDataTypeText) {
    zs::AddToObject(object, kTextValuesKey, UTF16ListToJson(column.text_values));
  }
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::SpreadsheetColumnValue SpreadsheetColumnValueFromJson(const JsonNode& value) {
  value.RequireObject();
  if (auto texts = ReadUTF16ListMember(value, kTextValuesKey)) {
    return hostbridge::SpreadsheetColumnValue::Texts(std::move(*texts));
  }
  if (auto numbers = ReadNumberListMember(value, kNumberValuesKey)) {
    return hostbridge::SpreadsheetColumnValue::Numbers(std::move(*numbers));
  }
  return hostbridge::SpreadsheetColumnValue();
}

hostbridge::SpreadsheetColumnValue SpreadsheetColumnValueFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetColumnValueFromJson(node); });
}

JSONValuePtr SpreadsheetValueToJsonValue(const hostbridge::SpreadsheetValue& value) {
  JSONObject object;
  zs::AddToObject(object, kActiveRowsKey, zs::MakeJSONUInt64(value.active_rows));
  zs::AddToObject(object, kColumnValuesKey,
                  ListToJsonValue(value.column_values, SpreadsheetColumnValueToJsonValue));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::SpreadsheetValue SpreadsheetValueFromJson(const JsonNode& value) {
  value.RequireObject();
  hostbridge::SpreadsheetValue spreadsheet;
  spreadsheet.active_rows = ReadUInt32Member(value, kActiveRowsKey).value_or(0);
  if (const std::optional<JsonNode> columns = value.Member(kColumnValuesKey)) {
    spreadsheet.column_values = ConvertElements<hostbridge::SpreadsheetColumnValue>(
        *columns, [](const JsonNode& column) { return SpreadsheetColumnValueFromJson(column); });
  }
  return spreadsheet;
}

hostbridge::SpreadsheetValue SpreadsheetValueFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return SpreadsheetValueFromJson(node); });
}

}  // namespace zorvcapsule::serialization
