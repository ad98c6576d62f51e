#include "capsule/client_control.h"

#include <gtest/gtest.h>

#include <boost/variant/get.hpp>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "capsule/basic_controls.h"
#include "capsule/control_factory.h"
#include "capsule/enum_control.h"
#include "capsule/group_control.h"
#include "capsule/spreadsheet_control.h"
#include "capsule/string_control.h"

namespace zorvcapsule {
namespace {

using namespace factory;

template <typename Kind>
const Kind& As(const std::shared_ptr<ClientControl>& control) {
  const auto* kind = dynamic_cast<const Kind*>(control.get());
  EXPECT_NE(kind, nullptr);
  if (kind == nullptr) throw std::logic_error("unexpected control class");
  return *kind;
}

TEST(ControlFactoryTest, EveryFactoryMakesItsKindWithTheCommonFieldsSet) {
  const UIString name(u"Name");
  const ControlProperties animated(true);
  const std::vector<std::pair<int32_t, std::shared_ptr<ClientControl>>> made = {
      {kCheckboxControlType, CreateCheckboxControl(u"a", name, animated, true)},
      {kSliderControlType, CreateSliderControl(u"a", name, animated, 0, 1, 0.5)},
      {kAngleControlType, CreateAngleControl(u"a", name, animated, 90)},
      {kColorControlType, CreateColorControl(u"a", name, animated, {})},
      {kPoint2DControlType, CreatePoint2DControl(u"a", name, animated, {})},
      {kStringControlType, CreateStringControl(u"a", name, animated, UIString(), {})},
      {kEnumControlType, CreateEnumControl(u"a", name, animated, EnumType::kDefault, {}, 0)},
      {kCommentControlType, CreateCommentControl(u"a", name, animated, UIString())},
      {kScaleControlType, CreateScaleControl(u"a", name, animated, false, 2, {})},
      {kGroupControlType, CreateGroupControl(u"a", name, animated, {}, true)},
      {kSpreadsheetControlType, CreateSpreadsheetControl(u"a", name, animated, 0, 0, {}, {})},
      {kGroupDropZoneControlType, CreateGroupDropZoneControl(u"a", name, animated, {})},
  };
  for (const auto& [type, control] : made) {
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetType(), type);
    EXPECT_EQ(control->GetID(), u"a");
    EXPECT_EQ(control->GetName(), name);
    EXPECT_TRUE(control->GetSuffix().IsEmpty()) << type;
    EXPECT_TRUE(control->GetToolTip().IsEmpty()) << type;
    EXPECT_FALSE(control->IsHidden()) << type;
    EXPECT_TRUE(control->CanAnimate()) << type;
  }
  EXPECT_FALSE(CreateAngleControl(u"b", name, ControlProperties(), 0)->CanAnimate());
}

TEST(ControlFactoryTest, KindFieldsAndValuesAreStoredUnchecked) {
  const ControlProperties props;
  auto slider = CreateSliderControl(u"s", UIString(), props, 0, 100, 50);
  EXPECT_EQ(As<SliderControl>(slider).GetMin(), 0);
  EXPECT_EQ(As<SliderControl>(slider).GetMax(), 100);
  EXPECT_EQ(slider->GetValueAs<double>(), 50);
  // Out of range stays out of range.
  EXPECT_EQ(CreateSliderControl(u"s", UIString(), props, 0, 1, 7)->GetValueAs<double>(), 7);

  auto color = CreateColorControl(u"c", UIString(), props, {1.0f, 0.5f, 0.0f, 0.25f});
  EXPECT_EQ(color->GetValueAs<zorvdrawing::ColorRGBA>(),
            (zorvdrawing::ColorRGBA{1.0f, 0.5f, 0.0f, 0.25f}));
  auto point = CreatePoint2DControl(u"p", UIString(), props, {3.5, -2});
  EXPECT_EQ(point->GetValueAs<ControlPoint>(), (ControlPoint{3.5, -2}));

  hostbridge::SourceTextFontEditInfo font;
  font.font_name = u"Serif";
  auto text = CreateStringControl(u"t", UIString(), props, UIString(u"Hi"), font);
  EXPECT_EQ(text->GetValueAs<UIString>(), UIString(u"Hi"));
  EXPECT_EQ(As<StringControl>(text).GetFontEditInfo(), font);

  auto choice = CreateEnumControl(u"e", UIString(), props, static_cast<EnumType>(77),
                                  {UIString(u"One"), UIString(u"Two")}, 5);
  EXPECT_EQ(As<EnumControl>(choice).GetEnumType(), static_cast<EnumType>(77));
  EXPECT_EQ(As<EnumControl>(choice).GetItems(),
            (std::vector<UIString>{UIString(u"One"), UIString(u"Two")}));
  EXPECT_EQ(choice->GetValueAs<int32_t>(), 5);

  auto scale = CreateScaleControl(u"sc", UIString(), props, true, 3, {1, 2});
  EXPECT_TRUE(As<ScaleControl>(scale).IsLinked());
  EXPECT_EQ(As<ScaleControl>(scale).GetDimensions(), 3);
  EXPECT_EQ(scale->GetValueAs<std::vector<double>>(), (std::vector<double>{1, 2}));

  auto sheet = CreateSpreadsheetControl(u"ss", UIString(), props, 9, 2,
                                        {SpreadsheetColumnInfoLoc(1, UIString(u"A"))}, {3, {}});
  EXPECT_EQ(As<SpreadsheetControl>(sheet).GetMinRows(), 9u);
  EXPECT_EQ(As<SpreadsheetControl>(sheet).GetMaxRows(), 2u);
  EXPECT_EQ(As<SpreadsheetControl>(sheet).GetColumnInfo().size(), 1u);
  EXPECT_EQ(sheet->GetValueAs<hostbridge::SpreadsheetValue>().active_rows, 3u);
}

TEST(ControlFactoryTest, GroupsKeepEmptyChildListsAndTheirExpandedFlag) {
  auto group = CreateGroupControl(u"g", UIString(), ControlProperties(), {}, false);
  EXPECT_TRUE(group->GetValueAs<ControlChildIDs>().empty());
  EXPECT_FALSE(As<GroupControl>(group).IsExpanded());
  EXPECT_TRUE(As<GroupControl>(group).GetExcludedChildID().empty());

  auto zone = CreateGroupDropZoneControl(u"z", UIString(), ControlProperties(), {u"x", u"y"});
  EXPECT_EQ(zone->GetValueAs<ControlChildIDs>(), (ControlChildIDs{u"x", u"y"}));
}

TEST(ClientControlTest, ReadingTheValueAsAnotherAlternativeThrowsBadGet) {
  auto slider = CreateSliderControl(u"s", UIString(), ControlProperties(), 0, 1, 1);
  EXPECT_THROW(slider->GetValueAs<bool>(), boost::bad_get);
  EXPECT_THROW(slider->GetValueAs<int32_t>(), boost::bad_get);
  auto checkbox = CreateCheckboxControl(u"c", UIString(), ControlProperties(), true);
  EXPECT_THROW(checkbox->GetValueAs<double>(), boost::bad_get);
  auto comment = CreateCommentControl(u"n", UIString(), ControlProperties(), UIString());
  EXPECT_THROW(comment->GetValueAs<ControlChildIDs>(), boost::bad_get);
}

TEST(ClientControlTest, SetValueKeepsTheKindsAlternative) {
  auto slider = CreateSliderControl(u"s", UIString(), ControlProperties(), 0, 1, 1);
  EXPECT_TRUE(slider->SetValue(0.25));
  EXPECT_EQ(slider->GetValueAs<double>(), 0.25);
  EXPECT_FALSE(slider->SetValue(true));
  EXPECT_FALSE(slider->SetValue(int32_t{3}));
  EXPECT_EQ(slider->GetValueAs<double>(), 0.25);

  auto text = CreateStringControl(u"t", UIString(), ControlProperties(), UIString(u"a"), {});
  EXPECT_TRUE(text->SetValue(UIString(u"b")));
  EXPECT_EQ(text->GetValueAs<UIString>(), UIString(u"b"));
  EXPECT_FALSE(text->SetValue(ControlChildIDs{u"b"}));
}

TEST(ClientControlTest, SuffixToolTipAndHiddenAreEditable) {
  auto control = CreateAngleControl(u"a", UIString(), ControlProperties(), 0);
  control->SetSuffix(UIString(u"deg"));
  control->SetToolTip(UIString(u"Turns the title"));
  control->SetHidden(true);
  EXPECT_EQ(control->GetSuffix(), UIString(u"deg"));
  EXPECT_EQ(control->GetToolTip(), UIString(u"Turns the title"));
  EXPECT_TRUE(control->IsHidden());
}

}  // namespace
}  // namespace zorvcapsule
