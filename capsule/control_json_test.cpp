#include "capsule/control_json.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "capsule/basic_controls.h"
#include "capsule/control_factory.h"
#include "capsule/description_test_material.h"
#include "capsule/group_control.h"
#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using namespace factory;
using ControlPtr = std::shared_ptr<ClientControl>;

std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }
std::string Written(const ControlPtr& control) { return Text(ClientControlToJsonValue(*control)); }
ControlPtr Read(const std::string& text) { return ClientControlFromJsonValue(zs::JSONParse(text)); }

// The control's written object without the members every kind shares, the type code kept.
std::string KindMembers(const ControlPtr& control) {
  JSONValuePtr object = ClientControlToJsonValue(*control);
  for (const char* key : {"canAnimate", "id", "uiName", "uiSuffix", "uiToolTip"}) {
    zs::AsObject(object).erase(key);
  }
  return Text(object);
}

TEST(ControlJsonTest, ListKeepsOrderThroughThePoolAndSkipsEmptyEntriesAndElementsThatMakeNoControl) {
  ClientControlList controls;
  for (int i = 0; i < 1000; ++i) {
    controls.push_back(CreateAngleControl(u"a", UIString(), ControlProperties(), i));
    if (i % 100 == 0) controls.push_back(nullptr);
  }
  const JSONValuePtr written = ClientControlListToJsonValue(controls);
  ASSERT_EQ(zs::AsArray(written).size(), 1000u);
  const ClientControlList read = ClientControlListFromJsonValue(written);
  ASSERT_EQ(read.size(), 1000u);
  for (size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read[i]->GetValueAs<double>(), double(i));

  // Elements that make no control are dropped from the list.
  for (const char* text : {"{}", "{\"type\":0}", "{\"type\":12,\"value\":[\"a\"]}", "{\"type\":13}",
                           "{\"type\":-1}"}) {
    EXPECT_EQ(Read(text), nullptr) << text;
  }
  const ClientControlList list = ClientControlListFromJsonValue(zs::JSONParse(
      "[{\"type\":3,\"id\":\"first\"},{\"type\":12,\"id\":\"zone\"},{\"id\":\"untyped\"},"
      "{\"type\":99},{\"type\":1,\"id\":\"last\"}]"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->GetID(), u"first");
  EXPECT_EQ(list[1]->GetID(), u"last");
}

TEST(ControlJsonTest, CommonMembersAreWrittenWithHiddenOnlyWhenSet) {
  auto checkbox = CreateCheckboxControl(u"c1", testing::TwoLanguages(u"Shadow", u"Kage"), ControlProperties(true), true);
  EXPECT_EQ(Written(checkbox),
            "{\"canAnimate\":true,\"id\":\"c1\",\"type\":1,"
            "\"uiName\":{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"Shadow\"},"
            "{\"localeString\":\"ja_JP\",\"str\":\"Kage\"}]},"
            "\"uiSuffix\":{\"strDB\":[]},\"uiToolTip\":{\"strDB\":[]},\"value\":true}");
  checkbox->SetHidden(true);
  EXPECT_EQ(Text(zs::GetVariantInObject(ClientControlToJsonValue(*checkbox), "hidden")), "true");
}

// The members and codes of every kind are pinned by the reading test below; here the values only a
// built control has.
TEST(ControlJsonTest, EachKindWritesItsMembersAndCode) {
  const UIString none;
  const ControlProperties props;
  const hostbridge::SpreadsheetValue cells{1, {hostbridge::SpreadsheetColumnValue::Numbers({2})}};
  auto group = CreateGroupControl(u"", none, props, {u"a", u"drop", u"b", u"drop"}, true);
  std::dynamic_pointer_cast<GroupControl>(group)->SetExcludedChildID(u"drop");
  const std::vector<std::pair<ControlPtr, std::string>> cases = {
      {CreateEnumControl(u"", none, props, static_cast<EnumType>(4000000000u), {UIString(u"A")}, -1),
       R"({"enumItmes":[{"strDB":[{"localeString":"en_US","str":"A"}]}],"enumType":4000000000,"type":7,"value":-1})"},
      {CreateScaleControl(u"", none, props, true, -2, {50, 75.5}),
       R"({"dimensions":-2,"linked":true,"type":9,"value":[50.0,75.5]})"},
      {CreateGroupControl(u"", none, props, {u"a", u"", u"", u"b"}, false),
       R"({"groupexpanded":false,"type":10,"value":["a","b"]})"},  // no excluded id: empty ids are left out
      {group, R"({"groupexpanded":true,"type":10,"value":["a","b"]})"},
      {CreateSpreadsheetControl(
           u"", none, props, 1, 4294967295u,
           {SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeNumber, none, 0, 9)}, cells),
       R"({"columnInfo":[{"columnDataType":1,"columnMaxValue":9.0,"columnMinValue":0.0,"columnName":{"strDB":[]}}],)"
       R"("maxRows":4294967295,"minRows":1,"type":11,"value":{"activeRows":1,"columnValues":[{"numberValues":[2.0]}]}})"},
      {CreateGroupDropZoneControl(u"", none, props, {u"a"}), R"({"type":12})"},
  };
  for (const auto& [control, expected] : cases) EXPECT_EQ(KindMembers(control), expected);
  EXPECT_EQ(group->GetValueAs<ControlChildIDs>().size(), 4u) << "the group itself keeps the child";
}

// What is read, shown as what it writes back.
TEST(ControlJsonTest, ReadsDefaultsNumbersOfEveryKindAndFlagTexts) {
  const struct {
    const char* text;
    const char* written;
  } cases[] = {
      // Absent members take their defaults.
      {R"({"type":1})", R"({"type":1,"value":false})"},
      {R"({"type":2})", R"({"max":0.0,"min":0.0,"type":2,"value":0.0})"},
      {R"({"type":4})", R"({"type":4,"value":[0.0,0.0,0.0,0.0]})"},
      {R"({"type":5,"value":{"y":4}})", R"({"type":5,"value":{"x":0.0,"y":4.0}})"},
      {R"({"type":6})",
       R"({"fonteditinfo":{"capPropFontEdit":false,"capPropFontFauxStyleEdit":false,"capPropFontSizeEdit":false,)"
       R"("fontEditValue":"","fontFSAllCapsValue":false,"fontFSBoldValue":false,"fontFSItalicValue":false,)"
       R"("fontFSSmallCapsValue":false,"fontSizeEditValue":0.0},"type":6,"value":{"strDB":[]}})"},
      {R"({"type":7})", R"({"enumItmes":[],"enumType":0,"type":7,"value":0})"},
      {R"({"type":8})", R"({"type":8,"value":{"strDB":[]}})"},
      {R"({"type":9})", R"({"dimensions":0,"linked":false,"type":9,"value":[]})"},
      {R"({"type":10})", R"({"groupexpanded":true,"type":10,"value":[]})"},
      {R"({"type":11})",
       R"({"columnInfo":[],"maxRows":0,"minRows":0,"type":11,"value":{"activeRows":0,"columnValues":[]}})"},
      // Numbers come from every number kind; integers keep their low 32 bits (2^32 + 2 is 2).
      {R"({"type":2,"min":0,"max":10,"value":5})", R"({"max":10.0,"min":0.0,"type":2,"value":5.0})"},
      {R"({"type":3,"value":18446744073709551615})", R"({"type":3,"value":18446744073709551616.0})"},
      {R"({"type":9,"value":[1,-2,3.5]})", R"({"dimensions":0,"linked":false,"type":9,"value":[1.0,-2.0,3.5]})"},
      {R"({"type":4294967298})", R"({"max":0.0,"min":0.0,"type":2,"value":0.0})"},
      {R"({"type":7,"enumType":18446744073709551615,"value":-4294967295})",
       R"({"enumItmes":[],"enumType":4294967295,"type":7,"value":1})"},
      {R"({"type":11,"minRows":-1,"maxRows":4294967303})",
       R"({"columnInfo":[],"maxRows":7,"minRows":4294967295,"type":11,"value":{"activeRows":0,"columnValues":[]}})"},
      // Flags from their texts.
      {R"({"type":1,"value":"true"})", R"({"type":1,"value":true})"},
      {R"({"type":9,"linked":"true"})", R"({"dimensions":0,"linked":true,"type":9,"value":[]})"},
      {R"({"type":10,"groupexpanded":"false"})", R"({"groupexpanded":false,"type":10,"value":[]})"},
      // A colour reads nothing past its array; components beyond the float range stay finite.
      {R"({"type":4,"value":[0.25,0.5]})", R"({"type":4,"value":[0.25,0.5,0.0,0.0]})"},
      {R"({"type":4,"value":[1,2,3,4,"ignored"]})", R"({"type":4,"value":[1.0,2.0,3.0,4.0]})"},
      {R"({"type":4,"value":[1e300,-1e300,1e-300,1]})",
       R"({"type":4,"value":[3.4028234663852886e+38,-3.4028234663852886e+38,0.0,1.0]})"},
      // Items and children keep their order.
      {R"({"type":7,"enumType":2,"value":2,"enumItmes":[{"strDB":[{"str":"Zero"}]},{"strDB":[{"localeString":"fr_FR","str":"Deux"}]}]})",
       R"({"enumItmes":[{"strDB":[{"localeString":"en_US","str":"Zero"}]},{"strDB":[{"localeString":"fr_FR","str":"Deux"}]}],)"
       R"("enumType":2,"type":7,"value":2})"},
      {R"({"type":10,"value":["z","a","\u00e9"]})", "{\"groupexpanded\":true,\"type\":10,\"value\":[\"z\",\"a\",\"\xC3\xA9\"]}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ControlPtr read = Read(c.text);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(KindMembers(read), c.written);
  }
}

// A value of another kind at each member is refused in the description readers' test; here the
// values a lenient reader could take for the right kind.
TEST(ControlJsonTest, MembersOfTheWrongTypeThrowBadCast) {
  // {"type":0,"id":5} makes no control, but is read as far as its common members.
  for (const char* text : {
           R"({"type":0,"id":5})", "null", R"({"type":2.0})", R"({"type":1,"uiName":"Name"})",
           R"({"type":1,"hidden":"TRUE"})", R"({"type":2,"max":null})", R"({"type":2,"value":true})",
           R"({"type":3,"value":[1]})", R"({"type":6,"value":"text"})", R"({"type":7,"enumType":1.0})",
           R"({"type":7,"enumItmes":["A"]})", R"({"type":7,"value":1.5})", R"({"type":9,"dimensions":2.0})",
           R"({"type":10,"groupexpanded":null})", R"({"type":11,"minRows":1.0})",
           R"({"type":11,"columnInfo":[{"columnName":"A"}]})"}) {
    EXPECT_THROW(Read(text), zs::BadCastError) << text;
  }
  EXPECT_THROW(ClientControlListFromJsonValue(zs::JSONParse("[{\"type\":1},3]")), zs::BadCastError);
}

}  // namespace
}  // namespace zorvcapsule::serialization
