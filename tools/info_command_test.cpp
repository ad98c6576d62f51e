// `capsule info`, run as a user runs it, on packages the sample generator and the tests write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "capsule/client_control.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "samples/template_package_writer.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace json = zorvcore::serialization;

// The first sample carries every control kind, five languages and localized members; the second
// is a compositing-application template with a project folder; the fourth one that cannot use the
// compositing library.
constexpr size_t kFullSample = 0;
constexpr size_t kProjectFolderSample = 1;
constexpr size_t kNoLibrarySample = 3;

class InfoCommandTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    set = WriteSamples("templates", 4);
  }

  // The text of one field: what follows its label on the line, up to the line's end.
  static std::string FieldValue(const std::string& text, const std::string& label) {
    std::smatch match;
    const std::regex pattern("\n  " + label + " +([^\n]*)");
    return std::regex_search(text, match, pattern) ? match[1].str() : "<no field " + label + ">";
  }

  zorvsamples::SampleSet set;
};

TEST_F(InfoCommandTest, TextFormShowsTheDescriptionAsTheLibraryReadsIt) {
  const std::u16string& package = set.templates[kFullSample].path;
  const auto read = ReadBack(package);
  ASSERT_TRUE(read);
  const ProgramRun run = Capsule({"info", Utf8(package)});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.err, "");

  EXPECT_THAT(run.out, StartsWith(Utf8(read->GetDisplayName()) + "\n"));
  EXPECT_EQ(FieldValue(run.out, "package"), Utf8(package));
  EXPECT_EQ(FieldValue(run.out, "capsule ID"), Utf8(read->GetCapsuleID()));
  EXPECT_EQ(FieldValue(run.out, "author app"), Utf8(read->GetAuthorApp()));
  EXPECT_EQ(FieldValue(run.out, "API version"), "1.4");
  EXPECT_EQ(FieldValue(run.out, "compositing library"), read->CanUseQZLib(nullptr) ? "usable" : "not usable");
  const zorvcapsule::UIString names = read->GetCapsuleNameLocalized();
  ASSERT_EQ(names.Size(), 5u);
  for (const auto& [locale, name] : names.GetLocaleMap()) EXPECT_THAT(run.out, HasSubstr(Utf8(locale) + "  " + Utf8(name)));
  EXPECT_THAT(FieldValue(run.out, "tags"), StartsWith(read->GetTags().front() + ", "));

  const hostbridge::SourceInfo info = read->GetSourceInfo();
  const std::string frame = std::to_string(info.frame_rect.size.x) + "\u00d7" + std::to_string(info.frame_rect.size.y);
  EXPECT_THAT(FieldValue(run.out, "source info"), HasSubstr(frame));

  EXPECT_EQ(FieldValue(run.out, "controls"), std::to_string(read->GetControls().size()));
  for (const auto& control : read->GetControls()) EXPECT_THAT(run.out, HasSubstr(" " + Utf8(control->GetID()) + " "));
}

TEST_F(InfoCommandTest, TextFormListsThePackageMembersTheLibraryLooksFor) {
  const ProgramRun full = Capsule({"info", Utf8(set.templates[kFullSample].path)});
  ASSERT_EQ(full.status, 0) << Describe(full);
  EXPECT_EQ(FieldValue(full.out, "still thumbnail"), "thumb_de_DE.png, thumb_ja_JP.png, thumb.png");
  EXPECT_EQ(FieldValue(full.out, "video thumbnail"), "thumb.mp4");
  EXPECT_EQ(FieldValue(full.out, "project package"), "project_de_DE.tsgraphic, project.tsgraphic");

  const ProgramRun folder = Capsule({"info", Utf8(set.templates[kProjectFolderSample].path)});
  ASSERT_EQ(folder.status, 0) << Describe(folder);
  EXPECT_EQ(FieldValue(folder.out, "video thumbnail"), "-");
  EXPECT_EQ(FieldValue(folder.out, "project package"), "project.qzgraphic/ (folder, 2 files)");

  const ProgramRun old = Capsule({"info", Utf8(set.templates[kNoLibrarySample].path)});
  ASSERT_EQ(old.status, 0) << Describe(old);
  EXPECT_EQ(FieldValue(old.out, "author app"), "qzfx");
  EXPECT_EQ(FieldValue(old.out, "compositing library"), "not usable");
  EXPECT_EQ(FieldValue(old.out, "still thumbnail"), "thumb_ja_JP.png, thumb.png");
}

TEST_F(InfoCommandTest, JsonFormIsTheDescriptionAsTheLibraryWritesIt) {
  const std::u16string& package = set.templates[kFullSample].path;
  const ProgramRun run = Capsule({"info", Utf8(package), "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, zorvcapsule::serialization::CapsuleToJson(ReadBack(package)) + "\n");

  const json::JSONValuePtr root = json::JSONParse(run.out);
  ASSERT_TRUE(root && root->IsObject());
  const auto& written = *set.templates[kFullSample].capsule;
  EXPECT_EQ(json::AsUTF16String(json::GetVariantInObject(root, "capsuleID")), written.GetCapsuleID());
  EXPECT_EQ(json::AsString(json::GetVariantInObject(root, "apiVersion")), "1.4");
  EXPECT_EQ(json::AsArray(json::GetVariantInObject(root, "capsuleTags")).size(), written.GetTags().size());
}

struct BrokenPackage {
  const char* name;
  std::vector<zorvsamples::PackageMember> members;
  const char* problem;
};

TEST_F(InfoCommandTest, AnUnreadableDescriptionFailsWithOneLineSayingWhy) {
  const std::vector<BrokenPackage> packages = {
      {"no-description.tplx", {{"thumb.png", "x"}}, "no readable definition.json"},
      {"newer.tplx", {{"definition.json", R"({"apiVersion": "2.0"})"}}, "format version 2.0, newer than this library's 1.4"},
      {"unversioned.tplx", {{"definition.json", R"({"capsuleID": "a"})"}}, "has no apiVersion"},
      {"wrong-type.tplx", {{"definition.json", R"({"apiVersion": "1.4", "capsuleID": 5})"}}, "wrong JSON type (bad cast)"},
      {"not-json.tplx", {{"definition.json", R"({"apiVersion": "1.4", )"}}, "not valid JSON"},
  };
  for (const BrokenPackage& broken : packages) {
    SCOPED_TRACE(broken.name);
    const std::filesystem::path path = Path(broken.name);
    ASSERT_TRUE(zorvsamples::WritePackageMembers(zorvcore::UTF8ToUTF16(path.string()), broken.members).ok);
    for (const bool asJSON : {false, true}) {
      const ProgramRun run = asJSON ? Capsule({"info", path.string(), "--json"}) : Capsule({"info", path.string()});
      EXPECT_EQ(run.status, 1) << Describe(run);
      EXPECT_EQ(run.out, "");
      EXPECT_THAT(run.err, StartsWith("capsule: " + path.string() + ": "));
      EXPECT_THAT(run.err, HasSubstr(broken.problem));
      EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
  }
}

TEST_F(InfoCommandTest, APathThatIsNoPackageFileFailsNamingIt) {
  temp.WriteFile("plain.tplx", "not a zip archive");
  const ProgramRun plain = Capsule({"info", Path("plain.tplx").string()});
  EXPECT_EQ(plain.status, 1);
  EXPECT_THAT(plain.err, HasSubstr("plain.tplx: no readable definition.json"));

  const ProgramRun missing = Capsule({"info", Path("missing.tplx").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "capsule: " + Path("missing.tplx").string() + ": no such file\n");

  const ProgramRun folder = Capsule({"info", Path("templates").string()});
  EXPECT_EQ(folder.status, 1);
  EXPECT_THAT(folder.err, HasSubstr("templates: is a folder"));
}

}  // namespace
}  // namespace capsuletool
