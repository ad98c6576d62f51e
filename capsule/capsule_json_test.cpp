#include "capsule/capsule_json.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capsule/description_test_material.h"
#include "capsule/test_app_language.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using zs::BadCastError;
using zs::JSONObject;

std::string Doc(const std::string& members) {
  return "{\"apiVersion\":\"1.4\"" + (members.empty() ? "" : "," + members) + "}";
}

std::shared_ptr<Capsule> Read(const std::string& text) {
  std::shared_ptr<Capsule> capsule = CapsuleFromJson(text);
  EXPECT_NE(capsule, nullptr) << text;
  return capsule ? capsule : std::make_shared<Capsule>();
}

TEST(CapsuleFromJsonTest, NewerOrUnversionedDocumentsAreRefusedBeforeParsingAbsentMembersKeepTheDefaults) {
  for (const char* text : {"{\"apiVersion\":\"1.5\",\"capsuleName\":\"x\"}", "{\"capsuleName\":\"x\"}",
                           "{\"apiVersion\":\"2.0\" this is not JSON", "not JSON at all"}) {
    EXPECT_EQ(CapsuleFromJson(text), nullptr) << text;
  }
  EXPECT_EQ(Read("{\"apiVersion\":\"beta\"}")->GetAPIVersion(), "beta") << "kept verbatim";

  auto capsule = Read(Doc(""));
  EXPECT_EQ(capsule->GetAuthorApp(), u"");
  EXPECT_EQ(capsule->GetQzlibCompliantVersion(), u"");
  EXPECT_TRUE(capsule->GetTags().empty() && capsule->GetControls().empty());
  // The localized name defaults to an empty English entry, so the display name falls back.
  EXPECT_EQ(capsule->GetCapsuleNameLocalized(), UIString(u""));
}

TEST(CapsuleFromJsonTest, SingleLanguageFormsAreReconciledUnderTheAppLanguage) {
  ScopedAppLanguage language(u"fr_FR");
  const struct {
    const char* members;
    Capsule::UsedFontsMap fonts;
  } cases[] = {
      {"", {{u"fr_FR", {}}}},
      {"\"usedFonts\":[\"A\",\"B\"]", {{u"fr_FR", {"A", "B"}}}},
      {"\"usedFonts\":[\"A\"],\"usedFontsLocalized\":{\"de_DE\":[\"D\"],\"en_US\":[\"E1\",\"E2\"]}",
       {{u"de_DE", {"D"}}, {u"en_US", {"E1", "E2"}}}},
      {"\"usedFonts\":[\"A\"],\"usedFontsLocalized\":{}", {{u"fr_FR", {"A"}}}},  // empty counts for nothing
  };
  for (const auto& c : cases) EXPECT_EQ(Read(Doc(c.members))->GetUsedFontsLocalized(), c.fonts) << c.members;
  EXPECT_THROW(CapsuleFromJson(Doc("\"usedFonts\":\"A\",\"usedFontsLocalized\":{\"de_DE\":[]}")),
               BadCastError)
      << "the single-language list is type-checked even when unused";

  EXPECT_EQ(Read(Doc(""))->GetSourceInfoLocalized(),
            (Capsule::SourceInfoMap{{u"fr_FR", hostbridge::SourceInfo()}}));
  for (const char* members : {"\"sourceInfo\":{\"name\":\"single\"}",
                              "\"sourceInfo\":{\"name\":\"single\"},\"sourceInfoLocalized\":{}"}) {
    auto capsule = Read(Doc(members));
    ASSERT_EQ(capsule->GetSourceInfoLocalized().size(), 1u);
    EXPECT_EQ(capsule->GetSourceInfoLocalized().begin()->first, u"fr_FR");
    EXPECT_EQ(capsule->GetSourceInfo().name, u"single");
  }
  auto capsule = Read(Doc("\"sourceInfo\":{},\"sourceInfoLocalized\":{\"de_DE\":{},\"ja_JP\":{}}"));
  std::vector<std::u16string> locales;
  for (const auto& entry : capsule->GetSourceInfoLocalized()) locales.push_back(entry.first);
  EXPECT_EQ(locales, (std::vector<std::u16string>{u"de_DE", u"ja_JP"}));
}

TEST(CapsuleToJsonTest, WritesAllTwentyMembersAtTheCurrentVersionAndNeverTheSingleLanguageForms) {
  const JSONObject object = zs::AsObject(zs::JSONParse(CapsuleToJson(std::make_shared<Capsule>())));
  std::vector<std::string> keys;
  for (const auto& [key, value] : object) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "apiVersion", "authorApp", "authorID", "capsuleID", "capsuleName",
                      "capsuleNameLocalized", "capsuleTags", "clientControls", "description",
                      "fontvaneOnlyVersion", "internalEffectsOnlyVersion", "mobileCompatibilityVersion",
                      "platformSupport", "qzlibCompliantVersion", "responsiveDesignVersion",
                      "sourceInfoLocalized", "usedCompRenderers", "usedEffects", "usedFileTypes",
                      "usedFontsLocalized"}));
  EXPECT_TRUE(zs::AsObject(zs::GetVariantInObject(object, "sourceInfoLocalized")).empty());
  EXPECT_EQ(CapsuleToJson(nullptr), "");

  const std::string text = CapsuleToJson(Read("{\"apiVersion\":\"1.2\",\"usedFonts\":[\"A\"],\"sourceInfo\":{}}"));
  const JSONObject older = zs::AsObject(zs::JSONParse(text));
  EXPECT_EQ(zs::AsString(zs::GetVariantInObject(older, "apiVersion")), "1.4");
  EXPECT_FALSE(older.count("usedFonts") || older.count("sourceInfo"));
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(CapsuleJsonRoundTripTest, AFullDescriptionWritesReadsAndWritesTheSameText) {
  const std::shared_ptr<Capsule> original = testing::MakeFullDescription();
  // Lists long enough to be converted on the worker pool must keep their order.
  std::vector<std::string> tags;
  for (int i = 0; i < 1000; ++i) tags.push_back("tag" + std::to_string(999 - i));
  original->SetTags(tags);
  Capsule::UsedFontsMap fonts = original->GetUsedFontsLocalized();
  fonts[u"fr_FR"] = tags;
  original->SetUsedFontsVector(fonts);
  const std::string text = CapsuleToJson(original);
  const std::shared_ptr<Capsule> read = Read(text);
  // The writer is deterministic, so equal texts mean every written field came back unchanged.
  EXPECT_EQ(CapsuleToJson(read), text);
  EXPECT_EQ(read->GetControls().size(), original->GetControls().size());
  EXPECT_EQ(read->GetSourceInfoLocalized(), original->GetSourceInfoLocalized());
  EXPECT_EQ(read->GetCapsuleNameLocalized(), original->GetCapsuleNameLocalized());
  EXPECT_EQ(read->GetUsedFontsLocalized(), fonts);
  EXPECT_EQ(read->GetTags(), tags);
}

// ---- Bad input ----------------------------------------------------------------------------

TEST(CapsuleFromJsonBadInputTest, EveryMemberOfTheWrongTypeIsABadCast) {
  const struct {
    std::vector<const char*> keys;
    std::vector<const char*> wrong;
  } groups[] = {
      {{"apiVersion", "authorApp", "authorID", "capsuleID", "capsuleName", "description", "qzlibCompliantVersion",
        "mobileCompatibilityVersion", "internalEffectsOnlyVersion", "fontvaneOnlyVersion", "responsiveDesignVersion"},
       {"1", "true", "null", "[]", "{}"}},
      {{"platformSupport", "usedFonts", "usedEffects", "usedCompRenderers", "usedFileTypes", "capsuleTags"},
       {"\"t\"", "null", "{}", "[1]", "[1.5]", "[null]", "[true]", "[[]]", "[{}]"}},
      {{"capsuleNameLocalized", "sourceInfo", "sourceInfoLocalized", "usedFontsLocalized"}, {"\"x\"", "null", "[]", "1"}},
      {{"sourceInfoLocalized", "usedFontsLocalized"}, {"{\"en_US\":1}", "{\"en_US\":\"A\"}"}},
      {{"usedFontsLocalized"}, {"{\"en_US\":[1]}"}},
      {{"clientControls"}, {"{}", "null", "[[]]", "[1]"}},
  };
  for (const auto& group : groups) {
    for (const char* key : group.keys) {
      for (const char* wrong : group.wrong) {
        // The version gate only needs the bytes "apiVersion" somewhere, so they sit in a member the
        // reader ignores and every real member, apiVersion included, can hold the wrong type.
        const std::string text = std::string("{\"x\":\"apiVersion\",\"") + key + "\":" + wrong + "}";
        EXPECT_THROW(CapsuleFromJson(text), BadCastError) << text;
      }
    }
  }
}

TEST(CapsuleFromJsonBadInputTest, EveryTruncationEndsInAResultOrABadCast) {
  ScopedAppLanguage language(u"en_US");
  auto original = std::make_shared<Capsule>(u"app", u"Name", u"id");
  original->SetTags({"a", "b"});
  original->SetUsedFonts({"F"});
  const std::string text = CapsuleToJson(original);
  int parsed = 0;
  for (size_t length = 0; length <= text.size(); ++length) {
    try {
      if (CapsuleFromJson(std::string_view(text).substr(0, length))) ++parsed;
    } catch (const BadCastError&) {
    }
  }
  EXPECT_EQ(parsed, 1);  // only the whole text
}

TEST(CapsuleFromJsonBadInputTest, InvalidUTF8EmbeddedNulsAndDeepNestingAreRefusedWithoutHarm) {
  EXPECT_THROW(CapsuleFromJson(Doc("\"capsuleName\":\"\xC3\x28\xFF\"")), BadCastError);
  EXPECT_THROW(CapsuleFromJson(Doc("\"capsuleName\":\"a" + std::string(1, '\0') + "b\"")), BadCastError);
  EXPECT_EQ(CapsuleFromJson(std::string("\0apiVersion\":\"9", 15)), nullptr);
  const size_t depth = 200000;  // far beyond any stack
  EXPECT_THROW(CapsuleFromJson(Doc("\"unknown\":" + std::string(depth, '[') + std::string(depth, ']'))),
               BadCastError);
  EXPECT_NE(CapsuleFromJson(Doc("\"unknown\":" + std::string(100, '[') + std::string(100, ']'))), nullptr);
}

}  // namespace
}  // namespace zorvcapsule::serialization
