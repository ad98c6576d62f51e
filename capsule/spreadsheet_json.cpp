#include "capsule/spreadsheet_json.h"

#include <string_view>
#include <utility>

#include "capsule/capsule_json_keys.h"
#include "capsule/edit_info_json_keys.h"
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

template <typename Element, typename Convert>
std::vector<Element> ListFromJsonValue(const JSONValuePtr& value, Convert convert) {
  return ConvertList<Element>(ArrayFromJson(value), convert);
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

SpreadsheetColumnInfoLoc SpreadsheetColumnInfoLocFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  SpreadsheetColumnInfoLoc column;
  column.data_type = ReadUInt32Member(object, CAPSULE_SPREADSHEET_COLUMN_DATATYPE_STR).value_or(0);
  if (auto name = ReadUIStringMember(object, CAPSULE_SPREADSHEET_COLUMN_NAME_STR)) {
    column.name = std::move(*name);
  }
  column.min_value = ReadNumberMember(object, CAPSULE_SPREADSHEET_COLUMN_MINVAL_STR)
                         .value_or(SpreadsheetColumnInfoLoc::kDefaultMinValue);
  column.max_value = ReadNumberMember(object, CAPSULE_SPREADSHEET_COLUMN_MAXVAL_STR)
                         .value_or(SpreadsheetColumnInfoLoc::kDefaultMaxValue);
  return column;
}

JSONValuePtr SpreadsheetColumnInfoLocVecToJsonValue(
    const std::vector<SpreadsheetColumnInfoLoc>& columns) {
  return ListToJsonValue(columns, SpreadsheetColumnInfoLocToJsonValue);
}

std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColumnInfoLocVecFromJsonValue(
    const JSONValuePtr& value) {
  return ListFromJsonValue<SpreadsheetColumnInfoLoc>(value, SpreadsheetColumnInfoLocFromJsonValue);
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

hostbridge::SpreadsheetColumnInfo SpreadsheetColumnInfoFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::SpreadsheetColumnInfo column;
  column.data_type = ReadUInt32Member(object, kParamColumnDataTypeKey).value_or(0);
  if (auto name = ReadUTF16Member(object, kParamColumnNameKey)) column.name = std::move(*name);
  if (auto min_value = ReadNumberMember(object, kParamColumnMinValueKey)) {
    column.min_value = *min_value;
  }
  if (auto max_value = ReadNumberMember(object, kParamColumnMaxValueKey)) {
    column.max_value = *max_value;
  }
  return column;
}

JSONValuePtr SpreadsheetColumnInfoVecToJsonValue(
    const std::vector<hostbridge::SpreadsheetColumnInfo>& columns) {
  return ListToJsonValue(columns, SpreadsheetColumnInfoToJsonValue);
}

std::vector<hostbridge::SpreadsheetColumnInfo> SpreadsheetColumnInfoVecFromJsonValue(
    const JSONValuePtr& value) {
  return ListFromJsonValue<hostbridge::SpreadsheetColumnInfo>(value,
                                                             SpreadsheetColumnInfoFromJsonValue);
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

hostbridge::SpreadsheetColumnValue SpreadsheetColumnValueFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  if (auto texts = ReadUTF16ListMember(object, kTextValuesKey)) {
    return hostbridge::SpreadsheetColumnValue::Texts(std::move(*texts));
  }
  if (auto numbers = ReadNumberListMember(object, kNumberValuesKey)) {
    return hostbridge::SpreadsheetColumnValue::Numbers(std::move(*numbers));
  }
  return hostbridge::SpreadsheetColumnValue();
}

JSONValuePtr SpreadsheetValueToJsonValue(const hostbridge::SpreadsheetValue& value) {
  JSONObject object;
  zs::AddToObject(object, kActiveRowsKey, zs::MakeJSONUInt64(value.active_rows));
  zs::AddToObject(object, kColumnValuesKey,
                  ListToJsonValue(value.column_values, SpreadsheetColumnValueToJsonValue));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::SpreadsheetValue SpreadsheetValueFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::SpreadsheetValue spreadsheet;
  spreadsheet.active_rows = ReadUInt32Member(object, kActiveRowsKey).value_or(0);
  if (const JSONValuePtr* columns = FindMember(object, kColumnValuesKey)) {
    spreadsheet.column_values = ListFromJsonValue<hostbridge::SpreadsheetColumnValue>(
        *columns, SpreadsheetColumnValueFromJsonValue);
  }
  return spreadsheet;
}

}  // namespace zorvcapsule::serialization
