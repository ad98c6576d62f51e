// ExpectSameControl: a GoogleTest check that two controls agree in every field, the value and the
// kind's own fields included. Controls have no equality of their own (they are shared, not
// compared), so round-trip tests compare them through this. Test code only.
//
// Thread safety: call from the test's thread.

#ifndef ZORVCAPSULE_CAPSULE_CONTROL_TEST_HELPERS_H_
#define ZORVCAPSULE_CAPSULE_CONTROL_TEST_HELPERS_H_

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "capsule/basic_controls.h"
#include "capsule/client_control.h"
#include "capsule/enum_control.h"
#include "capsule/group_control.h"
#include "capsule/spreadsheet_control.h"
#include "capsule/string_control.h"

namespace zorvcapsule::testing {

template <typename Kind>
const Kind& ControlAs(const ClientControl& control) {
  return dynamic_cast<const Kind&>(control);
}

inline void ExpectSameKindFields(const ClientControl& a, const ClientControl& b) {
  if (const auto* slider = dynamic_cast<const SliderControl*>(&a)) {
    EXPECT_EQ(slider->GetMin(), ControlAs<SliderControl>(b).GetMin());
    EXPECT_EQ(slider->GetMax(), ControlAs<SliderControl>(b).GetMax());
  } else if (const auto* text = dynamic_cast<const StringControl*>(&a)) {
    EXPECT_EQ(text->GetFontEditInfo(), ControlAs<StringControl>(b).GetFontEditInfo());
  } else if (const auto* choice = dynamic_cast<const EnumControl*>(&a)) {
    EXPECT_EQ(choice->GetEnumType(), ControlAs<EnumControl>(b).GetEnumType());
    EXPECT_EQ(choice->GetItems(), ControlAs<EnumControl>(b).GetItems());
  } else if (const auto* scale = dynamic_cast<const ScaleControl*>(&a)) {
    EXPECT_EQ(scale->IsLinked(), ControlAs<ScaleControl>(b).IsLinked());
    EXPECT_EQ(scale->GetDimensions(), ControlAs<ScaleControl>(b).GetDimensions());
  } else if (const auto* group = dynamic_cast<const GroupControl*>(&a)) {
    EXPECT_EQ(group->IsExpanded(), ControlAs<GroupControl>(b).IsExpanded());
  } else if (const auto* sheet = dynamic_cast<const SpreadsheetControl*>(&a)) {
    EXPECT_EQ(sheet->GetMinRows(), ControlAs<SpreadsheetControl>(b).GetMinRows());
    EXPECT_EQ(sheet->GetMaxRows(), ControlAs<SpreadsheetControl>(b).GetMaxRows());
    EXPECT_EQ(sheet->GetColumnInfo(), ControlAs<SpreadsheetControl>(b).GetColumnInfo());
  }
}

inline void ExpectSameControl(const ClientControl& a, const ClientControl& b) {
  SCOPED_TRACE("control " + std::string(a.GetID().begin(), a.GetID().end()));
  ASSERT_EQ(a.GetType(), b.GetType());
  ASSERT_EQ(typeid(a), typeid(b));
  EXPECT_EQ(a.GetID(), b.GetID());
  EXPECT_EQ(a.GetName(), b.GetName());
  EXPECT_EQ(a.GetSuffix(), b.GetSuffix());
  EXPECT_EQ(a.GetToolTip(), b.GetToolTip());
  EXPECT_EQ(a.IsHidden(), b.IsHidden());
  EXPECT_EQ(a.CanAnimate(), b.CanAnimate());
  EXPECT_TRUE(a.GetValue() == b.GetValue());
  ExpectSameKindFields(a, b);
}

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_CAPSULE_CONTROL_TEST_HELPERS_H_
