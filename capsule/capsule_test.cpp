#include "capsule/capsule.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "capsule/string_guid.h"
#include "capsule/test_app_language.h"
#include "host/core/guid.h"

namespace zorvcapsule {
namespace {

using Fonts = std::vector<std::string>;

// Controls are opaque to the record: a distinct address is all these tests need of one.
std::shared_ptr<ClientControl> OpaqueControl() {
  auto token = std::make_shared<char>();
  return std::shared_ptr<ClientControl>(token, reinterpret_cast<ClientControl*>(token.get()));
}

hostbridge::SourceInfo NamedSourceInfo(const std::u16string& name) {
  hostbridge::SourceInfo info;
  info.name = name;
  return info;
}

TEST(CapsuleTest, ConstructorsMarkFeaturesUnsupportedAndFileUnderTheAppLanguage) {
  Capsule capsule(u"app", u"Lower Third", u"id-1");
  EXPECT_EQ(capsule.GetAPIVersion(), "1.4");
  EXPECT_EQ(capsule.GetCapsuleNameLocalized(), UIString(u"Lower Third"));
  for (const std::u16string& marker : {capsule.GetQzlibCompliantVersion(), capsule.GetMobileCompatibilityVersion(),
                                       capsule.GetInternalEffectsVersion(), capsule.GetFontvaneOnlyVersion(),
                                       capsule.GetResponsiveDesignTimeVersion()}) {
    EXPECT_EQ(marker, u"0");
  }
  EXPECT_FALSE(capsule.IsQZLibCompliant());

  // The full constructor files source info and fonts under the application language.
  ScopedAppLanguage language(u"de_DE");
  auto control = OpaqueControl();
  Capsule full(u"app", u"author", u"Name", u"id", u"desc", {"tssl"}, NamedSourceInfo(u"comp"), {control},
               {"Font-A"}, {"fx"}, {"renderer"}, {"mov"}, {"tag"}, u"201810", u"1", u"2", u"3");
  EXPECT_EQ(full.GetCapsuleNameLocalized(), UIString(u"Name"));
  EXPECT_EQ(full.GetSourceInfoLocalized(), (Capsule::SourceInfoMap{{u"de_DE", NamedSourceInfo(u"comp")}}));
  EXPECT_EQ(full.GetUsedFontsLocalized(), (Capsule::UsedFontsMap{{u"de_DE", {"Font-A"}}}));
  EXPECT_EQ(full.GetControls(), ClientControlList{control});
  EXPECT_EQ(full.GetFontvaneOnlyVersion(), u"3");
  EXPECT_EQ(full.GetResponsiveDesignTimeVersion(), u"0") << "not among the arguments: unsupported";
}

// ---- Display name -------------------------------------------------------------------------

TEST(DisplayNameTest, ChoosesTheAppLanguageThenEnglishThenTheSmallestLocaleThenTheSingleName) {
  const struct {
    const char16_t* language;
    std::vector<std::pair<std::u16string, std::u16string>> names;  // empty: the default entry
    const char16_t* shown;
  } cases[] = {
      {u"fr_FR", {{u"en_US", u"English"}, {u"fr_FR", u"Francais"}}, u"Francais"},
      {u"fr_FR", {{u"en_US", u"English"}, {u"de_DE", u"Deutsch"}}, u"English"},
      {u"fr_FR", {{u"ja_JP", u"Japanese"}, {u"de_DE", u"Deutsch"}}, u"Deutsch"},
      // An empty choice falls back to the single-language name, never to another locale's text.
      {u"fr_FR", {{u"fr_FR", u""}, {u"en_US", u"English"}}, u"Single"},
      {u"fr_FR", {{u"en_US", u""}}, u"Single"},
      {u"en_US", {}, u"Single"},
      {u"ko_KR", {}, u"Single"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    ScopedAppLanguage language(c.language);
    Capsule capsule(u"app", c.names.empty() ? u"" : u"Old", u"id");
    capsule.SetCapsuleNameObsolete(u"Single");
    if (!c.names.empty()) {
      UIString names;
      for (const auto& [locale, text] : c.names) names.SetString(locale, text);
      capsule.SetCapsuleNameLocalized(names);
    }
    EXPECT_EQ(capsule.GetDisplayName(), c.shown);
  }
  Capsule unnamed(u"app", u"Single", u"id");
  unnamed.SetCapsuleNameLocalized(UIString());
  EXPECT_EQ(unnamed.GetDisplayName(), u"Single");
}

// ---- Per-locale source info and fonts --------------------------------------------------------

TEST(PerLocaleTest, SourceInfoAndFontsFallBackReplaceAndKeepAsTheirSettersSay) {
  ScopedAppLanguage language(u"fr_FR");
  Capsule capsule;
  // Source info falls back to the smallest locale but never tries English first.
  capsule.SetSourceInfoVector({{u"en_US", NamedSourceInfo(u"en")}, {u"de_DE", NamedSourceInfo(u"de")}});
  EXPECT_EQ(capsule.GetSourceInfo().name, u"de");
  capsule.SetSourceInfo(NamedSourceInfo(u"fr"));
  EXPECT_EQ(capsule.GetSourceInfo().name, u"fr");
  EXPECT_EQ(capsule.GetSourceInfoLocalized().size(), 3u);
  // An empty source info map keeps the entries; an empty fonts map clears them.
  capsule.SetSourceInfoVector({});
  EXPECT_EQ(capsule.GetSourceInfoLocalized().size(), 3u);
  capsule.SetSourceInfoVector({{u"ja_JP", NamedSourceInfo(u"ja")}});
  ASSERT_EQ(capsule.GetSourceInfoLocalized().size(), 1u);
  EXPECT_EQ(capsule.GetSourceInfo().name, u"ja");
  capsule.SetUsedFonts({"Font"});
  capsule.SetUsedFontsVector({});
  EXPECT_TRUE(capsule.GetUsedFontsLocalized().empty());
  // The obsolete setters only fill an empty map.
  capsule.SetUsedFonts({"New"});
  capsule.SetUsedFontsObsolete({"Old"});
  EXPECT_EQ(capsule.GetUsedFonts(), Fonts{"New"});
  Capsule fresh;
  fresh.SetSourceInfoObsolete(NamedSourceInfo(u"first"));
  fresh.SetSourceInfoObsolete(NamedSourceInfo(u"second"));
  EXPECT_EQ(fresh.GetSourceInfo().name, u"first");
}

// ---- Compositing-library rules ----------------------------------------------------------------

TEST(CapsuleQZLibTest, ComplianceIsOnlyRefusedByTheUnsupportedMarkerAndUseFollowsTheVersionTable) {
  Capsule compliant;
  EXPECT_TRUE(compliant.IsQZLibCompliant());
  compliant.SetQzlibCompliantVersion(u"0");
  EXPECT_FALSE(compliant.IsQZLibCompliant());
  compliant.SetQzlibCompliantVersion(u"00");
  EXPECT_TRUE(compliant.IsQZLibCompliant());

  const struct {
    const char* api;
    const char16_t* marker;
    bool result;
    bool known;
  } cases[] = {
      {"0.3", u"201810", false, true}, {"1.2", u"201710", true, true},   {"1.2", u"201804", false, true},
      {"1.3", u"201804", true, true},  {"1.3", u"201810", false, true},  {"1.4", u"201710", true, true},
      {"1.4", u"201810", true, true},  {"1.4", u"", false, true},        {"1.4", u"0", false, true},
      {"1.40", u"201810", false, false}, {"", u"201810", false, false}, {"2.0", u"201710", false, false},
  };
  for (const auto& c : cases) {
    Capsule capsule;
    capsule.SetAPIVersion(c.api);
    capsule.SetQzlibCompliantVersion(c.marker);
    bool known = !c.known;
    EXPECT_EQ(capsule.CanUseQZLib(&known), c.result) << c.api;
    EXPECT_EQ(known, c.known) << c.api;
    EXPECT_EQ(capsule.CanUseQZLib(nullptr), c.result) << c.api;
  }
}

// Uniqueness and the text form are Guid::CreateUnique's and AsString's own tests.
TEST(StringGuidTest, GeneratesAParsableGuid) {
  EXPECT_TRUE(zorvcore::Guid::FromString(utils::GenerateStringGuid()).has_value());
}

}  // namespace
}  // namespace zorvcapsule
