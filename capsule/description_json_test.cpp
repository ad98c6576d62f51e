// A whole description with controls and source info, read and written through CapsuleFromJson and
// CapsuleToJson.

#include <gtest/gtest.h>

#include <boost/rational.hpp>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "capsule/capsule_json.h"
#include "capsule/control_factory.h"
#include "capsule/control_test_helpers.h"
#include "capsule/description_test_material.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using zs::JSONArray;
using zs::JSONObject;
using zs::JSONValuePtr;

std::string Doc(const std::string& members) { return "{\"apiVersion\":\"1.4\"," + members + "}"; }

JSONValuePtr Member(const std::string& text, const char* key) {
  return zs::GetVariantInObject(zs::JSONParse(text), key);
}

TEST(DescriptionJsonTest, FullDescriptionWriteReadWriteGivesTheSameText) {
  const std::shared_ptr<Capsule> original = testing::MakeFullDescription();
  const std::string text = CapsuleToJson(original);
  const std::shared_ptr<Capsule> read = CapsuleFromJson(text);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(CapsuleToJson(read), text);

  const ClientControlList& controls = read->GetControls();
  ASSERT_EQ(controls.size(), original->GetControls().size());
  for (size_t i = 0; i < controls.size(); ++i) {
    testing::ExpectSameControl(*original->GetControls()[i], *controls[i]);
  }
  EXPECT_EQ(read->GetSourceInfoLocalized(), original->GetSourceInfoLocalized());
  EXPECT_EQ(read->GetCapsuleNameLocalized(), original->GetCapsuleNameLocalized());
  EXPECT_EQ(read->GetUsedFontsLocalized(), original->GetUsedFontsLocalized());
}

TEST(DescriptionJsonTest, ControlsAndSourceInfoLandInTheirMembers) {
  const std::string text = CapsuleToJson(testing::MakeFullDescription());
  const JSONValuePtr controls_value = Member(text, "clientControls");
  const JSONArray& controls = zs::AsArray(controls_value);
  ASSERT_EQ(controls.size(), 11u);
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(zs::AsAnyInt64(zs::GetVariantInObject(controls[i], "type")),
              static_cast<int64_t>(i + 1));
  }
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(controls[0], "id")), "ctl-shadow");

  const JSONValuePtr localized_value = Member(text, "sourceInfoLocalized");
  const JSONObject& localized = zs::AsObject(localized_value);
  std::set<std::string> locales;
  for (const auto& [locale, info] : localized) locales.insert(locale);
  EXPECT_EQ(locales, (std::set<std::string>{"de_DE", "en_US"}));
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(localized.find("de_DE")->second, "name")),
            "Lower Third B");
  // The non-default colour space is written, the default one would not be.
  EXPECT_FALSE(
      zs::AsObject(zs::GetVariantInObject(localized.find("en_US")->second, "colorSpace")).empty());
  EXPECT_EQ(text.find("\"sourceInfo\""), std::string::npos);
}

TEST(DescriptionJsonTest, DropZonesAndUnknownKindsAreNotReadBack) {
  auto capsule = testing::MakeFullDescription();
  ClientControlList controls = capsule->GetControls();
  controls.insert(controls.begin() + 1,
                  factory::CreateGroupDropZoneControl(u"zone", UIString(u"Drop here"),
                                                      ControlProperties(), {u"ctl-bar"}));
  capsule->SetControls(controls);
  const std::string text = CapsuleToJson(capsule);
  EXPECT_EQ(zs::AsArray(Member(text, "clientControls")).size(), 12u);
  const auto read = CapsuleFromJson(text);
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->GetControls().size(), 11u);
  EXPECT_EQ(read->GetControls()[1]->GetID(), u"ctl-opacity");
  for (const auto& control : read->GetControls()) EXPECT_NE(control, nullptr);

  const auto unknown = CapsuleFromJson(
      Doc("\"clientControls\":[{\"type\":0},{\"type\":1,\"id\":\"kept\"},{\"type\":40}]"));
  ASSERT_NE(unknown, nullptr);
  ASSERT_EQ(unknown->GetControls().size(), 1u);
  EXPECT_EQ(unknown->GetControls()[0]->GetID(), u"kept");
}

TEST(DescriptionJsonTest, ControlsAndSourceInfoOfTheWrongTypeThrowBadCast) {
  const std::vector<std::string> bad = {
      "\"clientControls\":{}",
      "\"clientControls\":null",
      "\"clientControls\":[1]",
      "\"clientControls\":[{\"type\":2,\"value\":\"5\"}]",
      "\"clientControls\":[{\"type\":7,\"enumItmes\":[{\"strDB\":[{\"str\":1}]}]}]",
      "\"sourceInfo\":[]",
      "\"sourceInfo\":{\"name\":1}",
      "\"sourceInfoLocalized\":[]",
      "\"sourceInfoLocalized\":{\"en_US\":\"info\"}",
      "\"sourceInfoLocalized\":{\"en_US\":{\"duration\":{\"value\":1.5}}}",
      "\"sourceInfoLocalized\":{\"en_US\":{\"capsuleparams\":{\"capParams\":[7]}}}",
  };
  for (const std::string& members : bad) {
    EXPECT_THROW(CapsuleFromJson(Doc(members)), zs::BadCastError) << members;
  }
}

TEST(DescriptionJsonTest, TimesWithAZeroOrTooLargeScaleThrowBadRational) {
  for (const char* scale : {"0", "9223372036854775808"}) {
    const std::string time = std::string("{\"value\":1,\"scale\":") + scale + "}";
    EXPECT_THROW(CapsuleFromJson(Doc("\"sourceInfo\":{\"duration\":" + time + "}")),
                 boost::bad_rational)
        << scale;
    EXPECT_THROW(
        CapsuleFromJson(Doc("\"sourceInfoLocalized\":{\"de_DE\":{\"inpoint\":" + time + "}}")),
        boost::bad_rational)
        << scale;
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
