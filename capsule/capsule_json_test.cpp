#include "capsule/capsule_json.h"

#include <string>
#include <vector>

#include <boost/rational.hpp>
#include <gtest/gtest.h>

#include "capsule/test_app_language.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using zs::BadCastError;
using zs::JSONObject;
using zs::JSONValuePtr;
using Fonts = std::vector<std::string>;

std::string Doc(const std::string& members) {
  return "{\"apiVersion\":\"1.4\"" + (members.empty() ? "" : "," + members) + "}";
}

std::shared_ptr<Capsule> Read(const std::string& text) {
  std::shared_ptr<Capsule> capsule = CapsuleFromJson(text);
  EXPECT_NE(capsule, nullptr) << text;
  return capsule ? capsule : std::make_shared<Capsule>();
}

JSONObject Written(const Capsule& capsule) {
  const std::string text = CapsuleToJson(std::make_shared<Capsule>(capsule));
  JSONValuePtr root = zs::JSONParse(text);
  EXPECT_TRUE(root && root->IsObject()) << text;
  return root ? zs::AsObject(root) : JSONObject();
}

hostbridge::SourceInfo NamedSourceInfo(const std::u16string& name) {
  hostbridge::SourceInfo info;
  info.name = name;
  return info;
}

// ---- Version gate -------------------------------------------------------------------------

TEST(CapsuleFromJsonTest, RefusesNewerOrUnversionedDocumentsWithoutThrowing) {
  EXPECT_EQ(CapsuleFromJson("{\"apiVersion\":\"1.5\",\"capsuleName\":\"x\"}"), nullptr);
  EXPECT_EQ(CapsuleFromJson("{\"apiVersion\":\"10.0\"}"), nullptr);
  EXPECT_EQ(CapsuleFromJson("{\"capsuleName\":\"x\"}"), nullptr);
  // Refused before parsing, so even broken text gives an empty pointer rather than an error.
  EXPECT_EQ(CapsuleFromJson("{\"apiVersion\":\"2.0\" this is not JSON"), nullptr);
  EXPECT_EQ(CapsuleFromJson("not JSON at all"), nullptr);
}

TEST(CapsuleFromJsonTest, AcceptsLongerAndNonNumericVersionsVerbatim) {
  EXPECT_EQ(Read("{\"apiVersion\":\"1.40\"}")->GetAPIVersion(), "1.40");
  EXPECT_EQ(Read("{\"apiVersion\":\"beta\"}")->GetAPIVersion(), "beta");
  EXPECT_EQ(Read("{\"apiVersion\":\"1.2\"}")->GetAPIVersion(), "1.2");
}

// ---- Members ------------------------------------------------------------------------------

TEST(CapsuleFromJsonTest, ReadsEveryPlainMember) {
  auto capsule = Read(
      "{\"apiVersion\":\"1.3\",\"authorApp\":\"app\",\"authorID\":\"me\",\"capsuleID\":\"id\","
      "\"capsuleName\":\"Caf\\u00e9\",\"description\":\"d\","
      "\"platformSupport\":[\"tssl\",\"qzfx\"],"
      "\"usedEffects\":[\"e1\",\"e2\"],\"usedCompRenderers\":[\"r\"],\"usedFileTypes\":[\"mov\"],"
      "\"capsuleTags\":[\"b\",\"a\"],\"qzlibCompliantVersion\":\"201804\","
      "\"mobileCompatibilityVersion\":\"m\",\"internalEffectsOnlyVersion\":\"i\","
      "\"fontvaneOnlyVersion\":\"f\",\"responsiveDesignVersion\":\"r\",\"unknown\":[1,2]}");
  EXPECT_EQ(capsule->GetAPIVersion(), "1.3");
  EXPECT_EQ(capsule->GetAuthorApp(), u"app");
  EXPECT_EQ(capsule->GetAuthorID(), u"me");
  EXPECT_EQ(capsule->GetCapsuleID(), u"id");
  EXPECT_EQ(capsule->GetCapsuleNameObsolete(), u"Caf\u00e9");
  EXPECT_EQ(capsule->GetCapsuleDesc(), u"d");
  EXPECT_EQ(capsule->GetPlatformSupport(), (Fonts{"tssl", "qzfx"}));
  EXPECT_EQ(capsule->GetUsedEffects(), (Fonts{"e1", "e2"}));
  EXPECT_EQ(capsule->GetUsedCompRenderers(), Fonts{"r"});
  EXPECT_EQ(capsule->GetUsedFileTypes(), Fonts{"mov"});
  EXPECT_EQ(capsule->GetTags(), (Fonts{"b", "a"}));
  EXPECT_EQ(capsule->GetQzlibCompliantVersion(), u"201804");
  EXPECT_EQ(capsule->GetMobileCompatibilityVersion(), u"m");
  EXPECT_EQ(capsule->GetInternalEffectsVersion(), u"i");
  EXPECT_EQ(capsule->GetFontvaneOnlyVersion(), u"f");
  EXPECT_EQ(capsule->GetResponsiveDesignTimeVersion(), u"r");
  bool known = false;
  EXPECT_TRUE(capsule->CanUseQZLib(&known));
}

TEST(CapsuleFromJsonTest, AbsentMembersKeepTheEmptyDefaults) {
  auto capsule = Read(Doc(""));
  EXPECT_EQ(capsule->GetAuthorApp(), u"");
  EXPECT_EQ(capsule->GetQzlibCompliantVersion(), u"");
  EXPECT_TRUE(capsule->GetTags().empty());
  EXPECT_TRUE(capsule->GetControls().empty());
  // The localized name defaults to an empty English entry, so the display name falls back.
  EXPECT_EQ(capsule->GetCapsuleNameLocalized(), UIString(u""));
}

TEST(CapsuleFromJsonTest, DisplayNameFallsBackFromLocalizedToSingleName) {
  ScopedAppLanguage language(u"de_DE");
  EXPECT_EQ(Read(Doc("\"capsuleName\":\"Old\""))->GetDisplayName(), u"Old");
  auto capsule = Read(Doc(
      "\"capsuleName\":\"Old\",\"capsuleNameLocalized\":{\"strDB\":["
      "{\"localeString\":\"en_US\",\"str\":\"first\"},"
      "{\"localeString\":\"en_US\",\"str\":\"New\"}]}"));
  EXPECT_EQ(capsule->GetDisplayName(), u"New");
  EXPECT_EQ(capsule->GetCapsuleNameObsolete(), u"Old");
}

// ---- Reconciliation -----------------------------------------------------------------------

class ReconciliationTest : public ::testing::Test {
 protected:
  ScopedAppLanguage language_{u"fr_FR"};
};

TEST_F(ReconciliationTest, SingleLanguageFontsGoUnderTheAppLanguage) {
  auto capsule = Read(Doc("\"usedFonts\":[\"A\",\"B\"]"));
  EXPECT_EQ(capsule->GetUsedFontsLocalized(), (Capsule::UsedFontsMap{{u"fr_FR", {"A", "B"}}}));
}

TEST_F(ReconciliationTest, LocalizedFontsWinOverSingleLanguageFonts) {
  auto capsule = Read(Doc(
      "\"usedFonts\":[\"A\"],"
      "\"usedFontsLocalized\":{\"de_DE\":[\"D\"],\"en_US\":[\"E1\",\"E2\"]}"));
  EXPECT_EQ(capsule->GetUsedFontsLocalized(),
            (Capsule::UsedFontsMap{{u"de_DE", {"D"}}, {u"en_US", {"E1", "E2"}}}));
  // An empty localized object does not count: the single-language list is used.
  capsule = Read(Doc("\"usedFonts\":[\"A\"],\"usedFontsLocalized\":{}"));
  EXPECT_EQ(capsule->GetUsedFonts(), Fonts{"A"});
}

TEST_F(ReconciliationTest, NoFontsAtAllLeaveAnEmptyAppLanguageEntry) {
  auto capsule = Read(Doc(""));
  EXPECT_EQ(capsule->GetUsedFontsLocalized(), (Capsule::UsedFontsMap{{u"fr_FR", {}}}));
}

TEST_F(ReconciliationTest, SingleLanguageFontsAreTypeCheckedEvenWhenUnused) {
  EXPECT_THROW(CapsuleFromJson(Doc("\"usedFonts\":\"A\",\"usedFontsLocalized\":{\"de_DE\":[]}")),
               BadCastError);
}

TEST_F(ReconciliationTest, SourceInfoForms) {
  // Neither form: one default entry under the app language.
  auto capsule = Read(Doc(""));
  EXPECT_EQ(capsule->GetSourceInfoLocalized(),
            (Capsule::SourceInfoMap{{u"fr_FR", hostbridge::SourceInfo()}}));
  // Single form alone: one entry under the app language.
  capsule = Read(Doc("\"sourceInfo\":{\"name\":\"single\"}"));
  ASSERT_EQ(capsule->GetSourceInfoLocalized().size(), 1u);
  EXPECT_EQ(capsule->GetSourceInfoLocalized().begin()->first, u"fr_FR");
  EXPECT_EQ(capsule->GetSourceInfo().name, u"single");
  // A non-empty localized form replaces it; an empty one keeps it.
  capsule = Read(Doc("\"sourceInfo\":{},\"sourceInfoLocalized\":{\"de_DE\":{},\"ja_JP\":{}}"));
  std::vector<std::u16string> locales;
  for (const auto& entry : capsule->GetSourceInfoLocalized()) locales.push_back(entry.first);
  EXPECT_EQ(locales, (std::vector<std::u16string>{u"de_DE", u"ja_JP"}));
  capsule = Read(Doc("\"sourceInfo\":{\"name\":\"single\"},\"sourceInfoLocalized\":{}"));
  EXPECT_EQ(capsule->GetSourceInfoLocalized().size(), 1u);
  EXPECT_EQ(capsule->GetSourceInfo().name, u"single");
}

TEST_F(ReconciliationTest, SourceInfoErrorsReachTheCaller) {
  EXPECT_THROW(CapsuleFromJson(Doc("\"sourceInfo\":{\"duration\":{\"value\":1,\"scale\":0}}")),
               boost::bad_rational);
  EXPECT_THROW(CapsuleFromJson(Doc("\"sourceInfoLocalized\":{\"en_US\":{\"name\":1}}")),
               BadCastError);
}

// ---- Writing ------------------------------------------------------------------------------

TEST(CapsuleToJsonTest, DefaultRecordWritesAllTwentyMembers) {
  const JSONObject object = Written(Capsule());
  const std::vector<std::string> expected = {
      "apiVersion", "authorApp", "authorID", "capsuleID", "capsuleName", "capsuleNameLocalized",
      "description", "platformSupport", "sourceInfoLocalized", "clientControls",
      "usedFontsLocalized", "usedEffects", "usedCompRenderers", "usedFileTypes", "capsuleTags",
      "qzlibCompliantVersion", "mobileCompatibilityVersion", "internalEffectsOnlyVersion",
      "fontvaneOnlyVersion", "responsiveDesignVersion"};
  EXPECT_EQ(object.size(), expected.size());
  for (const std::string& key : expected) EXPECT_TRUE(object.count(key)) << key;
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(object, "apiVersion")), "1.4");
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(object, "authorApp")), "");
  EXPECT_TRUE(zs::AsArray(zs::GetVariantInObject(object, "capsuleTags")).empty());
  EXPECT_TRUE(zs::AsObject(zs::GetVariantInObject(object, "usedFontsLocalized")).empty());
  EXPECT_TRUE(zs::AsObject(zs::GetVariantInObject(object, "sourceInfoLocalized")).empty());
  EXPECT_NE(
      CapsuleToJson(std::make_shared<Capsule>()).find("\"capsuleNameLocalized\":{\"strDB\":[]}"),
      std::string::npos);
}

TEST(CapsuleToJsonTest, WritesCurrentVersionAndNeverTheSingleLanguageForms) {
  auto capsule = Read("{\"apiVersion\":\"1.2\",\"usedFonts\":[\"A\"],\"sourceInfo\":{}}");
  EXPECT_EQ(capsule->GetAPIVersion(), "1.2");
  const std::string text = CapsuleToJson(capsule);
  const JSONObject object = zs::AsObject(zs::JSONParse(text));
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(object, "apiVersion")), "1.4");
  EXPECT_FALSE(object.count("usedFonts"));
  EXPECT_FALSE(object.count("sourceInfo"));
  EXPECT_EQ(zs::AsObject(zs::GetVariantInObject(object, "usedFontsLocalized")).size(), 1u);
  EXPECT_EQ(zs::AsObject(zs::GetVariantInObject(object, "sourceInfoLocalized")).size(), 1u);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(CapsuleToJsonTest, EmptyPointerGivesEmptyText) { EXPECT_EQ(CapsuleToJson(nullptr), ""); }

TEST(CapsuleJsonRoundTripTest, EveryMemberSurvives) {
  ScopedAppLanguage language(u"en_US");
  Capsule original(u"app", u"author", u"Name \u00e9", u"id", u"line\nbreak \"quoted\"",
                   {"tssl", "flit"}, NamedSourceInfo(u"comp"), {}, {"F1", "F2"}, {"fx"}, {"r1"},
                   {"mov", "png"}, {"tag", "caf\xC3\xA9"}, u"201810", u"1", u"2", u"3");
  UIString names;
  names.SetString(u"en_US", u"English");
  names.SetString(u"ja_JP", u"\u65e5\u672c");
  original.SetCapsuleNameLocalized(names);
  original.SetUsedFontsVector({{u"en_US", {"F1"}}, {u"ja_JP", {"J1", "J2"}}});
  original.SetResponsiveDesignTimeVersion(u"4");
  hostbridge::SourceInfo japanese = NamedSourceInfo(u"\u65e5");
  japanese.has_audio = true;
  japanese.app_specific_source_info = "\x01 caf\xC3\xA9";
  original.SetSourceInfoVector({{u"en_US", NamedSourceInfo(u"comp")}, {u"ja_JP", japanese}});

  const std::string text = CapsuleToJson(std::make_shared<Capsule>(original));
  auto read = Read(text);
  // The writer is deterministic, so equal texts mean every written field came back unchanged.
  EXPECT_EQ(CapsuleToJson(read), text);
  EXPECT_EQ(read->GetCapsuleNameLocalized(), names);
  EXPECT_EQ(read->GetSourceInfoLocalized(), original.GetSourceInfoLocalized());
  EXPECT_EQ(read->GetTags(), original.GetTags());
}

TEST(CapsuleJsonRoundTripTest, LongListsKeepTheirOrder) {
  Capsule original;
  std::vector<std::string> tags;
  for (int i = 0; i < 1000; ++i) tags.push_back("tag" + std::to_string(999 - i));
  original.SetTags(tags);
  original.SetUsedFontsVector({{u"en_US", tags}});
  auto read = Read(CapsuleToJson(std::make_shared<Capsule>(original)));
  EXPECT_EQ(read->GetTags(), tags);
  EXPECT_EQ(read->GetUsedFontsLocalized().at(u"en_US"), tags);
}

// ---- Controls (the list form; the control objects themselves are read elsewhere) -------------

TEST(CapsuleFromJsonTest, ControlsMustBeAnArrayOfObjects) {
  EXPECT_NO_THROW(Read(Doc("\"clientControls\":[]")));
  EXPECT_NO_THROW(Read(Doc("\"clientControls\":[{\"type\":0}]")));
  EXPECT_THROW(CapsuleFromJson(Doc("\"clientControls\":{}")), BadCastError);
  EXPECT_THROW(CapsuleFromJson(Doc("\"clientControls\":[{},7]")), BadCastError);
}

// ---- Bad input ----------------------------------------------------------------------------

TEST(CapsuleFromJsonBadInputTest, EveryMemberOfTheWrongTypeIsABadCast) {
  struct Case {
    const char* key;
    const char* wrong[3];
  };
  const Case cases[] = {
      {"apiVersion", {"1.4", "null", "[]"}},
      {"authorApp", {"1", "null", "{}"}},
      {"authorID", {"true", "null", "[]"}},
      {"capsuleID", {"1", "null", "[]"}},
      {"capsuleName", {"1", "null", "{}"}},
      {"capsuleNameLocalized", {"\"x\"", "null", "[]"}},
      {"description", {"1", "null", "[]"}},
      {"platformSupport", {"\"tssl\"", "[1]", "{}"}},
      {"sourceInfo", {"1", "null", "[]"}},
      {"sourceInfoLocalized", {"[]", "{\"en_US\":1}", "null"}},
      {"clientControls", {"{}", "null", "[[]]"}},
      {"usedFonts", {"\"A\"", "[null]", "{}"}},
      {"usedFontsLocalized", {"[]", "{\"en_US\":\"A\"}", "{\"en_US\":[1]}"}},
      {"usedEffects", {"1", "[true]", "null"}},
      {"usedCompRenderers", {"1", "[{}]", "null"}},
      {"usedFileTypes", {"\"mov\"", "[[]]", "null"}},
      {"capsuleTags", {"\"t\"", "[1.5]", "null"}},
      {"qzlibCompliantVersion", {"201810", "null", "[]"}},
      {"mobileCompatibilityVersion", {"0", "null", "[]"}},
      {"internalEffectsOnlyVersion", {"0", "null", "[]"}},
      {"fontvaneOnlyVersion", {"0", "null", "[]"}},
      {"responsiveDesignVersion", {"0", "null", "[]"}},
  };
  for (const Case& c : cases) {
    for (const char* wrong : c.wrong) {
      // The version gate only needs the bytes "apiVersion" somewhere, so they sit in a member the
      // reader ignores and every real member, apiVersion included, can hold the wrong type.
      const std::string text =
          std::string("{\"x\":\"apiVersion\",\"") + c.key + "\":" + wrong + "}";
      EXPECT_THROW(CapsuleFromJson(text), BadCastError) << text;
    }
  }
}

TEST(CapsuleFromJsonBadInputTest, NonObjectDocumentsAreBadCasts) {
  for (const char* text :
       {"[\"apiVersion\"]", "\"apiVersion\"", "{\"apiVersion\":\"1.4\"",
        "{\"apiVersion\":\"1.4\"}}", "{\"apiVersion\":\"1.4\",}", "apiVersion"}) {
    EXPECT_THROW(CapsuleFromJson(text), BadCastError) << text;
  }
}

TEST(CapsuleFromJsonBadInputTest, EveryTruncationEndsInAResultOrABadCast) {
  ScopedAppLanguage language(u"en_US");
  Capsule original(u"app", u"Name", u"id");
  original.SetTags({"a", "b"});
  original.SetUsedFonts({"F"});
  const std::string text = CapsuleToJson(std::make_shared<Capsule>(original));
  int parsed = 0;
  for (size_t length = 0; length <= text.size(); ++length) {
    try {
      if (CapsuleFromJson(std::string_view(text).substr(0, length))) ++parsed;
    } catch (const BadCastError&) {
    }
  }
  EXPECT_EQ(parsed, 1);  // only the whole text
}

TEST(CapsuleFromJsonBadInputTest, InvalidUTF8AndEmbeddedNulsAreHandled) {
  std::string invalid = Doc("\"capsuleName\":\"\xC3\x28\xFF\"");
  EXPECT_THROW(CapsuleFromJson(invalid), BadCastError);
  std::string with_nul = Doc("\"capsuleName\":\"a");
  with_nul += '\0';
  with_nul += "b\"";
  EXPECT_THROW(CapsuleFromJson(with_nul), BadCastError);
  EXPECT_EQ(CapsuleFromJson(std::string("\0apiVersion\":\"9", 15)), nullptr);
}

TEST(CapsuleFromJsonBadInputTest, DeepNestingIsRefusedOrIgnoredWithoutOverflow) {
  const size_t depth = 200000;
  std::string deep = Doc("\"unknown\":" + std::string(depth, '[') + std::string(depth, ']'));
  EXPECT_THROW(CapsuleFromJson(deep), BadCastError);
  std::string nested_ok = Doc("\"unknown\":" + std::string(100, '[') + std::string(100, ']'));
  EXPECT_NE(CapsuleFromJson(nested_ok), nullptr);
}

}  // namespace
}  // namespace zorvcapsule::serialization
