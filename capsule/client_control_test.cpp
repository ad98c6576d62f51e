#include "capsule/client_control.h"

#include <gtest/gtest.h>

#include <boost/variant/get.hpp>

#include "capsule/basic_controls.h"
#include "capsule/control_factory.h"

namespace zorvcapsule {
namespace {

using namespace factory;

// Ranges stored unchecked are read and written back in the control reading table.
TEST(ClientControlTest, TheValueKeepsTheKindsAlternative) {
  auto slider = CreateSliderControl(u"s", UIString(), ControlProperties(), 0, 1, 1);
  EXPECT_THROW(slider->GetValueAs<bool>(), boost::bad_get);
  EXPECT_TRUE(slider->SetValue(0.25));
  EXPECT_FALSE(slider->SetValue(true));
  EXPECT_FALSE(slider->SetValue(int32_t{3}));
  EXPECT_EQ(slider->GetValueAs<double>(), 0.25);

  auto text = CreateStringControl(u"t", UIString(), ControlProperties(), UIString(u"a"), {});
  EXPECT_THROW(text->GetValueAs<ControlChildIDs>(), boost::bad_get);
  EXPECT_TRUE(text->SetValue(UIString(u"b")));
  EXPECT_FALSE(text->SetValue(ControlChildIDs{u"b"}));
  EXPECT_EQ(text->GetValueAs<UIString>(), UIString(u"b"));
}

}  // namespace
}  // namespace zorvcapsule
