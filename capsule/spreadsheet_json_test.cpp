#include "capsule/spreadsheet_json.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capsule/description_test_material.h"
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

std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }
JSONValuePtr Parse(const char* text) { return zs::JSONParse(text); }

TEST(SpreadsheetColumnInfoLocJsonTest, TextColumnsHaveNoRangeAndNumberColumnsKeepTheirs) {
  const SpreadsheetColumnInfoLoc column(hostbridge::kSpreadsheetDataTypeText, testing::TwoLanguages(u"City", u"Shi"),
                                        5.0, 6.0);
  const JSONValuePtr written = SpreadsheetColumnInfoLocToJsonValue(column);
  EXPECT_FALSE(zs::ObjectHasProperty(written, "columnMinValue") || zs::ObjectHasProperty(written, "columnMaxValue"));
  EXPECT_EQ(SpreadsheetColumnInfoLocFromJsonValue(written),
            SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeText, column.name, 0.0, 100.0));
  EXPECT_EQ(SpreadsheetColInfoLocVecFromJson(u"[{}]"), std::vector<SpreadsheetColumnInfoLoc>(1));

  // Long lists keep their order through the pool in the control list test.
  const SpreadsheetColumnInfoLoc goals(hostbridge::kSpreadsheetDataTypeNumber, UIString(u"Goals"), -1.0, 9.5);
  EXPECT_EQ(SpreadsheetColInfoLocVecFromJson(SpreadsheetColInfoLocVecToJson({goals, column})),
            (std::vector<SpreadsheetColumnInfoLoc>{goals, SpreadsheetColumnInfoLocFromJsonValue(written)}));
}

TEST(HostSpreadsheetColumnJsonTest, RangeOnlyForNumberColumnsAndNameOnlyWhenPresent) {
  const SpreadsheetColumnInfo number{hostbridge::kSpreadsheetDataTypeNumber, u"Price", -1.5, 9.0};
  EXPECT_EQ(Text(SpreadsheetColumnInfoToJsonValue(number)),
            "{\"capPropSpreadsheetColumnDataType\":1,\"capPropSpreadsheetColumnMaxValue\":9.0,"
            "\"capPropSpreadsheetColumnMinValue\":-1.5,\"capPropSpreadsheetColumnName\":\"Price\"}");
  EXPECT_EQ(SpreadsheetColumnInfoFromJsonValue(SpreadsheetColumnInfoToJsonValue(
                {hostbridge::kSpreadsheetDataTypeText, u"Label", 3.0, 4.0})),
            (SpreadsheetColumnInfo{hostbridge::kSpreadsheetDataTypeText, u"Label", 0.0, 100.0}));
  EXPECT_EQ(SpreadsheetColumnInfoFromJsonValue(Parse("{}")), SpreadsheetColumnInfo());
}

TEST(SpreadsheetValueJsonTest, ColumnKindFollowsTheListsPresentAndAbsentMembersGiveEmptyValues) {
  const SpreadsheetValue value{3, {SpreadsheetColumnValue::Numbers({1.5, -2.0, 1e10}),
                                   SpreadsheetColumnValue::Texts({u"a", u"", u"\u00fc"})}};
  const JSONValuePtr written = SpreadsheetValueToJsonValue(value);
  EXPECT_EQ(Text(written),
            "{\"activeRows\":3,\"columnValues\":[{\"numberValues\":[1.5,-2.0,1e+10]},"
            "{\"textValues\":[\"a\",\"\",\"\xc3\xbc\"]}]}");

  EXPECT_EQ(SpreadsheetColumnValueFromJsonValue(Parse("{\"numberValues\":[1],\"textValues\":[\"x\"]}")),
            SpreadsheetColumnValue::Texts({u"x"}));
  EXPECT_EQ(SpreadsheetColumnValueFromJsonValue(Parse("{\"numberValues\":[1,2.5]}")),
            SpreadsheetColumnValue::Numbers({1.0, 2.5}));
  EXPECT_EQ(SpreadsheetColumnValueFromJsonValue(Parse("{}")), SpreadsheetColumnValue());
  EXPECT_EQ(SpreadsheetValueFromJsonValue(Parse("{}")), SpreadsheetValue());
  SpreadsheetColumnValue other = SpreadsheetColumnValue::Numbers({1.0});
  other.data_type = 7;
  EXPECT_EQ(Text(SpreadsheetColumnValueToJsonValue(other)), "{}");
}

// A value of another kind at each member is refused in the description readers' test; here the
// values a lenient reader could take for the right kind.
TEST(SpreadsheetJsonTest, WrongTypesAreBadCasts) {
  for (const char16_t* text : {u"", u"[1]", u"[{\"columnDataType\":1.0}]", u"[{\"columnName\":\"City\"}]"}) {
    EXPECT_THROW(SpreadsheetColInfoLocVecFromJson(text), zs::BadCastError) << zorvcore::UTF16ToUTF8(text);
  }
  for (const char* text : {"{\"activeRows\":-0.5}", "{\"columnValues\":[{\"numberValues\":null}]}"}) {
    EXPECT_THROW(SpreadsheetValueFromJsonValue(Parse(text)), zs::BadCastError) << text;
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
