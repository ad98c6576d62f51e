// The JSON objects of spreadsheets inside a description: the columns of a spreadsheet control
// (SpreadsheetColumnInfoLoc), the host's columns inside parameter lists
// (hostbridge::SpreadsheetColumnInfo), and the cell values (hostbridge::SpreadsheetValue).
//
//   control column  {"columnDataType": 1, "columnName": {"strDB": [...]},
//                    "columnMinValue": 0.0, "columnMaxValue": 10.0}
//   host column     {"capPropSpreadsheetColumnDataType": 1, "capPropSpreadsheetColumnName": "Price",
//                    "capPropSpreadsheetColumnMinValue": 0.0, "capPropSpreadsheetColumnMaxValue": 10.0}
//   value           {"activeRows": 2, "columnValues": [{"numberValues": [1.0, 2.0]},
//                                                      {"textValues": ["a", "b"]}]}
//
// The range members are written for number columns only; a column read without them has the
// range 0 to 100. A column value of a type other than number or text is written as {} and read
// back as type 0 without cells; one holding both lists reads as a text column.
//
// Every reader takes the value it is given and throws zorvcore::serialization::BadCastError when
// that value, or a member it reads, holds another JSON type than the form above. Lists go through
// ConvertList, so their order is kept. The readers take a JsonNode (json_node.h), of a value tree or
// of a simdjson document; the forms taking a tree value read it through one.
//
// Thread safety: every function may be called from any thread; the values must not change
// meanwhile.

#ifndef ZORVCAPSULE_CAPSULE_SPREADSHEET_JSON_H_
#define ZORVCAPSULE_CAPSULE_SPREADSHEET_JSON_H_

#include <vector>

#include "capsule/json_members.h"
#include "capsule/spreadsheet_column_info_loc.h"
#include "host/hostbridge/spreadsheet_column_info.h"
#include "host/hostbridge/spreadsheet_value.h"

namespace zorvcapsule::serialization {

class JsonNode;

SpreadsheetColumnInfoLoc SpreadsheetColumnInfoLocFromJson(const JsonNode& value);
std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColumnInfoLocVecFromJson(const JsonNode& value);
hostbridge::SpreadsheetColumnInfo SpreadsheetColumnInfoFromJson(const JsonNode& value);
std::vector<hostbridge::SpreadsheetColumnInfo> SpreadsheetColumnInfoVecFromJson(const JsonNode& value);
hostbridge::SpreadsheetColumnValue SpreadsheetColumnValueFromJson(const JsonNode& value);
hostbridge::SpreadsheetValue SpreadsheetValueFromJson(const JsonNode& value);

JSONValuePtr SpreadsheetColumnInfoLocToJsonValue(const SpreadsheetColumnInfoLoc& column);
SpreadsheetColumnInfoLoc SpreadsheetColumnInfoLocFromJsonValue(const JSONValuePtr& value);
JSONValuePtr SpreadsheetColumnInfoLocVecToJsonValue(
    const std::vector<SpreadsheetColumnInfoLoc>& columns);
std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColumnInfoLocVecFromJsonValue(
    const JSONValuePtr& value);

JSONValuePtr SpreadsheetColumnInfoToJsonValue(const hostbridge::SpreadsheetColumnInfo& column);
hostbridge::SpreadsheetColumnInfo SpreadsheetColumnInfoFromJsonValue(const JSONValuePtr& value);
JSONValuePtr SpreadsheetColumnInfoVecToJsonValue(
    const std::vector<hostbridge::SpreadsheetColumnInfo>& columns);
std::vector<hostbridge::SpreadsheetColumnInfo> SpreadsheetColumnInfoVecFromJsonValue(
    const JSONValuePtr& value);

JSONValuePtr SpreadsheetColumnValueToJsonValue(const hostbridge::SpreadsheetColumnValue& column);
hostbridge::SpreadsheetColumnValue SpreadsheetColumnValueFromJsonValue(const JSONValuePtr& value);

JSONValuePtr SpreadsheetValueToJsonValue(const hostbridge::SpreadsheetValue& value);
hostbridge::SpreadsheetValue SpreadsheetValueFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_SPREADSHEET_JSON_H_
