#include "capsule/control_json.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "capsule/basic_controls.h"
#include "capsule/control_factory.h"
#include "capsule/control_test_helpers.h"
#include "capsule/description_test_material.h"
#include "capsule/enum_control.h"
#include "capsule/group_control.h"
#include "capsule/spreadsheet_control.h"
#include "capsule/string_control.h"
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

// Reads text, which must describe a control of class Kind.
template <typename Kind>
std::shared_ptr<Kind> ReadAs(const std::string& text) {
  auto kind = std::dynamic_pointer_cast<Kind>(Read(text));
  if (!kind) throw std::logic_error("no control of the expected class read from " + text);
  return kind;
}

// ---- Round trips ----------------------------------------------------------------------------

TEST(ControlJsonTest, EveryKindRoundTripsWithEveryField) {
  const ClientControlList controls = testing::MakeControlsOfEveryKind();
  ASSERT_EQ(controls.size(), 11u);
  for (const ControlPtr& control : controls) {
    const std::string text = Written(control);
    const ControlPtr read = Read(text);
    ASSERT_NE(read, nullptr) << text;
    testing::ExpectSameControl(*control, *read);
    EXPECT_EQ(Written(read), text);
  }
}

TEST(ControlJsonTest, ListKeepsOrderThroughThePoolAndSkipsEmptyEntries) {
  ClientControlList controls;
  for (int i = 0; i < 1000; ++i) {
    controls.push_back(CreateAngleControl(
        u"a" + std::u16string(1, u'0' + i % 10) + std::u16string(1, u'A' + i / 40), UIString(),
        ControlProperties(), i));
    if (i % 100 == 0) controls.push_back(nullptr);
  }
  const JSONValuePtr written = ClientControlListToJsonValue(controls);
  ASSERT_EQ(zs::AsArray(written).size(), 1000u);
  const ClientControlList read = ClientControlListFromJsonValue(written);
  ASSERT_EQ(read.size(), 1000u);
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i]->GetValueAs<double>(), static_cast<double>(i));
  }
}

// ---- Written form, member by member ---------------------------------------------------------

TEST(ControlJsonTest, CommonMembersAreWrittenWithHiddenOnlyWhenSet) {
  UIString name;
  name.SetString(u"en_US", u"Shadow");
  name.SetString(u"de_DE", u"Schatten");
  auto checkbox = CreateCheckboxControl(u"c1", name, ControlProperties(true), true);
  EXPECT_EQ(Written(checkbox),
            "{\"canAnimate\":true,\"id\":\"c1\",\"type\":1,"
            "\"uiName\":{\"strDB\":[{\"localeString\":\"de_DE\",\"str\":\"Schatten\"},"
            "{\"localeString\":\"en_US\",\"str\":\"Shadow\"}]},"
            "\"uiSuffix\":{\"strDB\":[]},\"uiToolTip\":{\"strDB\":[]},\"value\":true}");
  EXPECT_FALSE(Read(Written(checkbox))->IsHidden());

  checkbox->SetHidden(true);
  checkbox->SetSuffix(UIString(u"on"));
  checkbox->SetToolTip(UIString(u"Adds a drop shadow"));
  const JSONValuePtr hidden = ClientControlToJsonValue(*checkbox);
  EXPECT_EQ(Text(zs::GetVariantInObject(hidden, "hidden")), "true");
  EXPECT_EQ(Text(zs::GetVariantInObject(hidden, "uiSuffix")),
            "{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"on\"}]}");
  EXPECT_EQ(Text(zs::GetVariantInObject(hidden, "uiToolTip")),
            "{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"Adds a drop shadow\"}]}");
  const ControlPtr read = Read(Text(hidden));
  EXPECT_TRUE(read->IsHidden());
  EXPECT_EQ(read->GetSuffix(), UIString(u"on"));
  EXPECT_EQ(read->GetToolTip(), UIString(u"Adds a drop shadow"));
}

// The kind's members of the control's object, the common ones removed.
std::string KindMembers(const ControlPtr& control) {
  JSONValuePtr object = ClientControlToJsonValue(*control);
  for (const char* key : {"canAnimate", "id", "type", "uiName", "uiSuffix", "uiToolTip"}) {
    zs::AsObject(object).erase(key);
  }
  return Text(object);
}

TEST(ControlJsonTest, EachKindWritesItsMembersAndCode) {
  const UIString none;
  const ControlProperties props;
  EXPECT_EQ(KindMembers(CreateSliderControl(u"", none, props, 0, 10, 5)),
            "{\"max\":10.0,\"min\":0.0,\"value\":5.0}");
  EXPECT_EQ(KindMembers(CreateAngleControl(u"", none, props, -90)), "{\"value\":-90.0}");
  EXPECT_EQ(KindMembers(CreateColorControl(u"", none, props, {1.0f, 0.5f, 0.0f, 1.0f})),
            "{\"value\":[1.0,0.5,0.0,1.0]}");
  EXPECT_EQ(KindMembers(CreatePoint2DControl(u"", none, props, {1.5, -2})),
            "{\"value\":{\"x\":1.5,\"y\":-2.0}}");
  EXPECT_EQ(KindMembers(CreateCommentControl(u"", none, props, UIString(u"Hi"))),
            "{\"value\":{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"Hi\"}]}}");
  EXPECT_EQ(KindMembers(CreateEnumControl(u"", none, props, static_cast<EnumType>(4000000000u),
                                          {UIString(u"A")}, -1)),
            "{\"enumItmes\":[{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"A\"}]}],"
            "\"enumType\":4000000000,\"value\":-1}");
  EXPECT_EQ(KindMembers(CreateScaleControl(u"", none, props, true, -2, {50, 75.5})),
            "{\"dimensions\":-2,\"linked\":true,\"value\":[50.0,75.5]}");
  EXPECT_EQ(KindMembers(CreateGroupControl(u"", none, props, {u"a", u"b"}, false)),
            "{\"groupexpanded\":false,\"value\":[\"a\",\"b\"]}");
  EXPECT_EQ(KindMembers(CreateGroupDropZoneControl(u"", none, props, {u"a"})), "{}");

  hostbridge::SpreadsheetValue cells;
  cells.active_rows = 1;
  cells.column_values.push_back(hostbridge::SpreadsheetColumnValue::Numbers({2}));
  EXPECT_EQ(
      KindMembers(CreateSpreadsheetControl(
          u"", none, props, 1, 4294967295u,
          {SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeNumber, none, 0, 9)}, cells)),
      "{\"columnInfo\":[{\"columnDataType\":" +
          std::to_string(hostbridge::kSpreadsheetDataTypeNumber) +
          ",\"columnMaxValue\":9.0,\"columnMinValue\":0.0,\"columnName\":{\"strDB\":[]}}],"
          "\"maxRows\":4294967295,\"minRows\":1,"
          "\"value\":{\"activeRows\":1,\"columnValues\":[{\"numberValues\":[2.0]}]}}");

  hostbridge::SourceTextFontEditInfo font;
  font.font_name = u"Serif";
  const std::string text = KindMembers(CreateStringControl(u"", none, props, UIString(u"T"), font));
  EXPECT_NE(text.find("\"fonteditinfo\":{"), std::string::npos) << text;
  EXPECT_NE(text.find("\"fontEditValue\":\"Serif\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"value\":{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"T\"}]}"),
            std::string::npos)
      << text;

  const std::vector<std::pair<ControlPtr, std::string>> codes = {
      {CreateCheckboxControl(u"", none, props, false), "1"},
      {CreateSliderControl(u"", none, props, 0, 0, 0), "2"},
      {CreateAngleControl(u"", none, props, 0), "3"},
      {CreateColorControl(u"", none, props, {}), "4"},
      {CreatePoint2DControl(u"", none, props, {}), "5"},
      {CreateStringControl(u"", none, props, none, {}), "6"},
      {CreateEnumControl(u"", none, props, EnumType::kDefault, {}, 0), "7"},
      {CreateCommentControl(u"", none, props, none), "8"},
      {CreateScaleControl(u"", none, props, false, 0, {}), "9"},
      {CreateGroupControl(u"", none, props, {}, true), "10"},
      {CreateSpreadsheetControl(u"", none, props, 0, 0, {}, {}), "11"},
      {CreateGroupDropZoneControl(u"", none, props, {}), "12"},
  };
  for (const auto& [control, code] : codes) {
    EXPECT_EQ(Text(zs::GetVariantInObject(ClientControlToJsonValue(*control), "type")), code);
  }
}

TEST(ControlJsonTest, GroupLeavesOutItsExcludedChild) {
  auto group = CreateGroupControl(u"g", UIString(), ControlProperties(),
                                  {u"a", u"drop", u"b", u"drop"}, true);
  std::dynamic_pointer_cast<GroupControl>(group)->SetExcludedChildID(u"drop");
  EXPECT_EQ(KindMembers(group), "{\"groupexpanded\":true,\"value\":[\"a\",\"b\"]}");
  // The group itself still holds the child.
  EXPECT_EQ(group->GetValueAs<ControlChildIDs>().size(), 4u);

  // An empty excluded id leaves out empty ids.
  auto with_empty =
      CreateGroupControl(u"g", UIString(), ControlProperties(), {u"a", u"", u"", u"b"}, true);
  EXPECT_EQ(KindMembers(with_empty), "{\"groupexpanded\":true,\"value\":[\"a\",\"b\"]}");
}

// ---- Reading --------------------------------------------------------------------------------

TEST(ControlJsonTest, ReadsNumbersFromEveryNumberKind) {
  auto slider = ReadAs<SliderControl>("{\"type\":2,\"min\":0,\"max\":10,\"value\":5}");
  EXPECT_EQ(slider->GetMin(), 0);
  EXPECT_EQ(slider->GetMax(), 10);
  EXPECT_EQ(slider->GetValueAs<double>(), 5);
  auto angle = ReadAs<AngleControl>("{\"type\":3,\"value\":18446744073709551615}");
  EXPECT_EQ(angle->GetValueAs<double>(), 18446744073709551615.0);
  auto scale = ReadAs<ScaleControl>("{\"type\":9,\"value\":[1,-2,3.5]}");
  EXPECT_EQ(scale->GetValueAs<std::vector<double>>(), (std::vector<double>{1, -2, 3.5}));
}

TEST(ControlJsonTest, IntegersKeepTheirLow32Bits) {
  // 4294967298 = 2^32 + 2: a type code of 2 once cut to 32 bits.
  EXPECT_EQ(Read("{\"type\":4294967298}")->GetType(), kSliderControlType);
  auto choice =
      ReadAs<EnumControl>("{\"type\":7,\"enumType\":18446744073709551615,\"value\":-4294967295}");
  EXPECT_EQ(choice->GetEnumType(), static_cast<EnumType>(0xFFFFFFFFu));
  EXPECT_EQ(choice->GetValueAs<int32_t>(), 1);
  auto sheet = ReadAs<SpreadsheetControl>("{\"type\":11,\"minRows\":-1,\"maxRows\":4294967303}");
  EXPECT_EQ(sheet->GetMinRows(), 0xFFFFFFFFu);
  EXPECT_EQ(sheet->GetMaxRows(), 7u);
}

TEST(ControlJsonTest, ReadsBoolsFromTheirTexts) {
  EXPECT_TRUE(Read("{\"type\":1,\"value\":\"true\"}")->GetValueAs<bool>());
  EXPECT_FALSE(
      Read("{\"type\":1,\"value\":\"false\",\"canAnimate\":\"true\"}")->GetValueAs<bool>());
  EXPECT_TRUE(Read("{\"type\":3,\"canAnimate\":\"true\",\"hidden\":\"true\"}")->CanAnimate());
  EXPECT_TRUE(Read("{\"type\":3,\"hidden\":\"true\"}")->IsHidden());
  EXPECT_TRUE(ReadAs<ScaleControl>("{\"type\":9,\"linked\":\"true\"}")->IsLinked());
  EXPECT_FALSE(ReadAs<GroupControl>("{\"type\":10,\"groupexpanded\":\"false\"}")->IsExpanded());
}

TEST(ControlJsonTest, AbsentMembersTakeTheirDefaults) {
  const ControlPtr checkbox = Read("{\"type\":1}");
  EXPECT_TRUE(checkbox->GetID().empty());
  EXPECT_TRUE(checkbox->GetName().IsEmpty());
  EXPECT_TRUE(checkbox->GetSuffix().IsEmpty());
  EXPECT_TRUE(checkbox->GetToolTip().IsEmpty());
  EXPECT_FALSE(checkbox->CanAnimate());
  EXPECT_FALSE(checkbox->IsHidden());
  EXPECT_FALSE(checkbox->GetValueAs<bool>());

  auto slider = ReadAs<SliderControl>("{\"type\":2}");
  EXPECT_EQ(slider->GetMin(), 0);
  EXPECT_EQ(slider->GetMax(), 0);
  EXPECT_EQ(slider->GetValueAs<double>(), 0);
  EXPECT_EQ(Read("{\"type\":5}")->GetValueAs<ControlPoint>(), (ControlPoint{0, 0}));
  EXPECT_EQ(Read("{\"type\":5,\"value\":{\"y\":4}}")->GetValueAs<ControlPoint>(),
            (ControlPoint{0, 4}));
  auto text = ReadAs<StringControl>("{\"type\":6}");
  EXPECT_EQ(text->GetFontEditInfo(), hostbridge::SourceTextFontEditInfo());
  EXPECT_TRUE(text->GetValueAs<UIString>().IsEmpty());
  auto choice = ReadAs<EnumControl>("{\"type\":7}");
  EXPECT_EQ(choice->GetEnumType(), EnumType::kDefault);
  EXPECT_TRUE(choice->GetItems().empty());
  EXPECT_EQ(choice->GetValueAs<int32_t>(), 0);
  EXPECT_TRUE(Read("{\"type\":8}")->GetValueAs<UIString>().IsEmpty());
  auto scale = ReadAs<ScaleControl>("{\"type\":9}");
  EXPECT_FALSE(scale->IsLinked());
  EXPECT_EQ(scale->GetDimensions(), 0);
  EXPECT_TRUE(scale->GetValueAs<std::vector<double>>().empty());
  auto group = ReadAs<GroupControl>("{\"type\":10}");
  EXPECT_TRUE(group->IsExpanded());
  EXPECT_TRUE(group->GetValueAs<ControlChildIDs>().empty());
  auto sheet = ReadAs<SpreadsheetControl>("{\"type\":11}");
  EXPECT_EQ(sheet->GetMinRows(), 0u);
  EXPECT_EQ(sheet->GetMaxRows(), 0u);
  EXPECT_TRUE(sheet->GetColumnInfo().empty());
  EXPECT_EQ(sheet->GetValueAs<hostbridge::SpreadsheetValue>(), hostbridge::SpreadsheetValue());
}

TEST(ControlJsonTest, EnumItemsAndGroupChildrenKeepTheirOrder) {
  auto choice = ReadAs<EnumControl>(
      "{\"type\":7,\"enumType\":2,\"value\":2,\"enumItmes\":["
      "{\"strDB\":[{\"str\":\"Zero\"}]},{\"strDB\":[{\"str\":\"One\"}]},"
      "{\"strDB\":[{\"localeString\":\"fr_FR\",\"str\":\"Deux\"}]}]}");
  EXPECT_EQ(choice->GetEnumType(), static_cast<EnumType>(2));
  ASSERT_EQ(choice->GetItems().size(), 3u);
  EXPECT_EQ(choice->GetItems()[0], UIString(u"Zero"));
  EXPECT_EQ(choice->GetItems()[1], UIString(u"One"));
  EXPECT_EQ(*choice->GetItems()[2].Find(u"fr_FR"), u"Deux");
  EXPECT_EQ(choice->GetValueAs<int32_t>(), 2);

  auto group = ReadAs<GroupControl>("{\"type\":10,\"value\":[\"z\",\"a\",\"\\u00e9\"]}");
  EXPECT_EQ(group->GetValueAs<ControlChildIDs>(), (ControlChildIDs{u"z", u"a", u"\u00e9"}));
}

TEST(ControlJsonTest, ColourReadsNothingPastItsArray) {
  using zorvdrawing::ColorRGBA;
  EXPECT_EQ(Read("{\"type\":4,\"value\":[1,0.5,0,1]}")->GetValueAs<ColorRGBA>(),
            (ColorRGBA{1, 0.5f, 0, 1}));
  EXPECT_EQ(Read("{\"type\":4,\"value\":[0.25,0.5]}")->GetValueAs<ColorRGBA>(),
            (ColorRGBA{0.25f, 0.5f, 0, 0}));
  EXPECT_EQ(Read("{\"type\":4,\"value\":[]}")->GetValueAs<ColorRGBA>(), ColorRGBA());
  EXPECT_EQ(Read("{\"type\":4}")->GetValueAs<ColorRGBA>(), ColorRGBA());
  EXPECT_EQ(Read("{\"type\":4,\"value\":[1,2,3,4,\"ignored\"]}")->GetValueAs<ColorRGBA>(),
            (ColorRGBA{1, 2, 3, 4}));
}

TEST(ControlJsonTest, ColourComponentsBeyondTheFloatRangeStayFiniteNumbers) {
  using zorvdrawing::ColorRGBA;
  constexpr float kMax = std::numeric_limits<float>::max();
  const ControlPtr color = Read("{\"type\":4,\"value\":[1e300,-1e300,1e-300,1]}");
  EXPECT_EQ(color->GetValueAs<ColorRGBA>(), (ColorRGBA{kMax, -kMax, 0, 1}));
  EXPECT_EQ(Read(Written(color))->GetValueAs<ColorRGBA>(), color->GetValueAs<ColorRGBA>());
}

TEST(ControlJsonTest, ElementsThatMakeNoControlAreDroppedFromTheList) {
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

TEST(ControlJsonTest, MembersOfTheWrongTypeThrowBadCast) {
  const std::vector<std::string> bad = {
      "[]",
      "null",
      "{\"type\":\"2\"}",
      "{\"type\":2.0}",
      "{\"type\":0,\"id\":5}",  // makes no control, but is read as far as its common members
      "{\"type\":1,\"uiName\":\"Name\"}",
      "{\"type\":1,\"uiSuffix\":[]}",
      "{\"type\":1,\"uiToolTip\":{\"strDB\":{}}}",
      "{\"type\":1,\"canAnimate\":1}",
      "{\"type\":1,\"hidden\":\"yes\"}",
      "{\"type\":1,\"value\":1}",
      "{\"type\":2,\"min\":\"0\"}",
      "{\"type\":2,\"max\":null}",
      "{\"type\":2,\"value\":true}",
      "{\"type\":3,\"value\":[1]}",
      "{\"type\":4,\"value\":{\"red\":1}}",
      "{\"type\":4,\"value\":[1,\"0\",0,1]}",
      "{\"type\":5,\"value\":[1,2]}",
      "{\"type\":5,\"value\":{\"x\":\"1\"}}",
      "{\"type\":6,\"value\":\"text\"}",
      "{\"type\":6,\"fonteditinfo\":[]}",
      "{\"type\":6,\"fonteditinfo\":{\"fontSizeEditValue\":\"12\"}}",
      "{\"type\":7,\"enumType\":1.0}",
      "{\"type\":7,\"enumItmes\":{}}",
      "{\"type\":7,\"enumItmes\":[\"A\"]}",
      "{\"type\":7,\"value\":1.5}",
      "{\"type\":8,\"value\":[]}",
      "{\"type\":9,\"linked\":0}",
      "{\"type\":9,\"dimensions\":2.0}",
      "{\"type\":9,\"value\":[1,\"2\"]}",
      "{\"type\":10,\"groupexpanded\":null}",
      "{\"type\":10,\"value\":[\"a\",1]}",
      "{\"type\":11,\"minRows\":1.0}",
      "{\"type\":11,\"maxRows\":\"2\"}",
      "{\"type\":11,\"columnInfo\":{}}",
      "{\"type\":11,\"columnInfo\":[{\"columnName\":\"A\"}]}",
      "{\"type\":11,\"value\":[]}",
  };
  for (const std::string& text : bad) {
    EXPECT_THROW(Read(text), zs::BadCastError) << text;
  }
  EXPECT_THROW(ClientControlListFromJsonValue(zs::JSONParse("{}")), zs::BadCastError);
  EXPECT_THROW(ClientControlListFromJsonValue(zs::JSONParse("[{\"type\":1},3]")), zs::BadCastError);
}

}  // namespace
}  // namespace zorvcapsule::serialization
