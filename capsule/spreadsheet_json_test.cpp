#include "capsule/spreadsheet_json.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capsule/edit_info_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using hostbridge::SpreadsheetColumnInfo;
using hostbridge::SpreadsheetColumnValue;
using hostbridge::SpreadsheetValue;

UIString Names(std::u16string en, std::u16string de) {
  UIString name;
  name.SetString(u"en_US", std::move(en));
  name.SetString(u"de_DE", std::move(de));
  return name;
}

std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }

TEST(SpreadsheetColumnInfoLocJsonTest, TextColumnHasNoRangeAndAbsentMembersGiveTheDefaults) {
  const SpreadsheetColumnInfoLoc column(hostbridge::kSpreadsheetDataTypeText, Names(u"City", u"Stadt"),
                                        5.0, 6.0);
  const JSONValuePtr written = SpreadsheetColumnInfoLocToJsonValue(column);
  EXPECT_FALSE(zs::ObjectHasProperty(written, "columnMinValue"));
  EXPECT_FALSE(zs::ObjectHasProperty(written, "columnMaxValue"));

  const SpreadsheetColumnInfoLoc read = SpreadsheetColumnInfoLocFromJsonValue(written);
  EXPECT_EQ(read.data_type, hostbridge::kSpreadsheetDataTypeText);
  EXPECT_EQ(read.name, column.name);
  EXPECT_EQ(read.min_value, 0.0);
  EXPECT_EQ(read.max_value, 100.0);
  EXPECT_EQ(SpreadsheetColInfoLocVecFromJson(u"[{}]"), std::vector<SpreadsheetColumnInfoLoc>(1));
}

TEST(SpreadsheetColumnInfoLocJsonTest, VectorTextRoundTripKeepsOrderAndRanges) {
  std::vector<SpreadsheetColumnInfoLoc> columns;
  // Enough columns for the list to be converted on the worker pool.
  for (int i = 0; i < 700; ++i) {
    const uint32_t type = i % 3 == 0 ? hostbridge::kSpreadsheetDataTypeText
                                     : hostbridge::kSpreadsheetDataTypeNumber;
    columns.emplace_back(type, UIString(zorvcore::UTF8ToUTF16("Column " + std::to_string(i))),
                         type == hostbridge::kSpreadsheetDataTypeNumber ? -i : 0.0,
                         type == hostbridge::kSpreadsheetDataTypeNumber ? i + 0.5 : 100.0);
  }
  const std::u16string text = SpreadsheetColInfoLocVecToJson(columns);
  EXPECT_EQ(SpreadsheetColInfoLocVecFromJson(text), columns);
  EXPECT_EQ(SpreadsheetColInfoLocVecToJson(SpreadsheetColInfoLocVecFromJson(text)), text);
  EXPECT_EQ(SpreadsheetColInfoLocVecToJson({}), u"[]");
}

TEST(SpreadsheetColumnInfoLocJsonTest, WrongTypesAreBadCasts) {
  for (const char16_t* text : {u"{}", u"", u"[1]", u"[{\"columnDataType\":1.0}]",
                               u"[{\"columnDataType\":\"1\"}]", u"[{\"columnName\":\"City\"}]",
                               u"[{\"columnMinValue\":\"0\"}]", u"[{\"columnName\":{\"strDB\":{}}}]"}) {
    EXPECT_THROW(SpreadsheetColInfoLocVecFromJson(text), zs::BadCastError)
        << zorvcore::UTF16ToUTF8(text);
  }
}

TEST(HostSpreadsheetColumnJsonTest, RangeOnlyForNumberColumnsAndNameOnlyWhenPresent) {
  SpreadsheetColumnInfo number{hostbridge::kSpreadsheetDataTypeNumber, u"Price", -1.5, 9.0};
  SpreadsheetColumnInfo text{hostbridge::kSpreadsheetDataTypeText, u"Label", 3.0, 4.0};
  EXPECT_EQ(Text(SpreadsheetColumnInfoToJsonValue(number)),
            "{\"capPropSpreadsheetColumnDataType\":1,\"capPropSpreadsheetColumnMaxValue\":9.0,"
            "\"capPropSpreadsheetColumnMinValue\":-1.5,\"capPropSpreadsheetColumnName\":\"Price\"}");
  EXPECT_EQ(SpreadsheetColumnInfoFromJsonValue(SpreadsheetColumnInfoToJsonValue(number)), number);

  const SpreadsheetColumnInfo read =
      SpreadsheetColumnInfoFromJsonValue(SpreadsheetColumnInfoToJsonValue(text));
  EXPECT_EQ(read.name, u"Label");
  EXPECT_EQ(read.min_value, 0.0);
  EXPECT_EQ(read.max_value, 100.0);

  EXPECT_EQ(SpreadsheetColumnInfoFromJsonValue(zs::JSONParse("{}")), SpreadsheetColumnInfo());
  EXPECT_THROW(
      SpreadsheetColumnInfoFromJsonValue(zs::JSONParse("{\"capPropSpreadsheetColumnName\":1}")),
      zs::BadCastError);
}

TEST(SpreadsheetValueJsonTest, NumberAndTextColumnsRoundTrip) {
  SpreadsheetValue value;
  value.active_rows = 3;
  value.column_values.push_back(SpreadsheetColumnValue::Numbers({1.5, -2.0, 1e10}));
  value.column_values.push_back(SpreadsheetColumnValue::Texts({u"a", u"", u"\u00fc"}));
  const JSONValuePtr written = SpreadsheetValueToJsonValue(value);
  EXPECT_EQ(Text(written),
            "{\"activeRows\":3,\"columnValues\":[{\"numberValues\":[1.5,-2.0,1e+10]},"
            "{\"textValues\":[\"a\",\"\",\"\xc3\xbc\"]}]}");
  const SpreadsheetValue read = SpreadsheetValueFromJsonValue(written);
  EXPECT_EQ(read, value);
  EXPECT_EQ(Text(SpreadsheetValueToJsonValue(read)), Text(written));
}

TEST(SpreadsheetValueJsonTest, ColumnKindFollowsTheListsPresentAndAbsentMembersGiveEmptyValues) {
  const SpreadsheetColumnValue both = SpreadsheetColumnValueFromJsonValue(
      zs::JSONParse("{\"numberValues\":[1],\"textValues\":[\"x\"]}"));
  EXPECT_EQ(both, SpreadsheetColumnValue::Texts({u"x"}));

  const SpreadsheetColumnValue numbers =
      SpreadsheetColumnValueFromJsonValue(zs::JSONParse("{\"numberValues\":[1,2.5]}"));
  EXPECT_EQ(numbers, SpreadsheetColumnValue::Numbers({1.0, 2.5}));

  EXPECT_EQ(SpreadsheetColumnValueFromJsonValue(zs::JSONParse("{}")), SpreadsheetColumnValue());
  EXPECT_EQ(SpreadsheetValueFromJsonValue(zs::JSONParse("{}")), SpreadsheetValue());

  SpreadsheetColumnValue other;
  other.data_type = 7;
  other.number_values = {1.0};
  EXPECT_EQ(Text(SpreadsheetColumnValueToJsonValue(other)), "{}");
}

TEST(SpreadsheetValueJsonTest, WrongTypesAreBadCasts) {
  for (const char* text : {"[]", "{\"activeRows\":-0.5}", "{\"activeRows\":\"2\"}",
                           "{\"columnValues\":{}}", "{\"columnValues\":[[]]}",
                           "{\"columnValues\":[{\"numberValues\":[\"1\"]}]}",
                           "{\"columnValues\":[{\"textValues\":[1]}]}",
                           "{\"columnValues\":[{\"numberValues\":null}]}"}) {
    EXPECT_THROW(SpreadsheetValueFromJsonValue(zs::JSONParse(text)), zs::BadCastError) << text;
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
