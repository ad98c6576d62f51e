// `capsule validate`: a folder of broken and hostile packages, one for each problem code, checked in
// one run; the exact JSON form; the table, --strict and the sample templates.

#include <utility>

#include "host/storage/test_zip_builder.h"
#include "samples/png_image.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using zorvstorage::TestZipBuilder;

using Members = std::vector<std::pair<std::string, std::string>>;

std::string Description(const std::string& controls, const std::string& members = R"("capsuleName":"Clean",)") {
  return R"({"apiVersion":"1.4",)" + members + R"("clientControls":[)" + controls + "]}";
}

const std::string kControls =
    R"({"type":6,"id":"title"},{"type":2,"id":"size","min":0,"max":10,"value":5},)"
    R"({"type":10,"id":"group","value":["title","size"]})";

std::string Thumbnail() { return zorvsamples::EncodePNG(zorvsamples::RGBImage(16, 9)); }

// The members of a package that validates clean.
Members CleanMembers() {
  return {{"definition.json", Description(kControls)},
          {"thumb.png", Thumbnail()},
          {"thumb.mp4", "video"},
          {"project.tsgraphic", "project"}};
}

Members Without(const std::string& name) {
  Members members = CleanMembers();
  std::erase_if(members, [&](const auto& member) { return member.first == name; });
  return members;
}

Members With(const std::string& name, const std::string& bytes) {
  Members members = Without(name);
  members.emplace_back(name, bytes);
  return members;
}

void Write(const fs::path& path, const Members& members, const std::function<void(TestZipBuilder&)>& more = nullptr) {
  fs::create_directories(path.parent_path());
  TestZipBuilder zip(path);
  for (const auto& [name, bytes] : members) zip.Add(name, bytes, /*stored=*/name == "thumb.png");
  if (more) more(zip);
  zip.Write();
}

using ValidateCommandTest = ToolTest;

// Each package of the folder holds the problem its name says (the clean one none). The report names
// them in walk order (byte order of the names, the subfolder's package at its place, then the
// missing path), each problem with its code, member, JSON pointer and message, as pinned in
// tools/testdata.
TEST_F(ValidateCommandTest, EveryProblemOfEveryPackageOfTheFolderIsFound) {
  struct Case {
    const char* file;
    Members members;
    std::function<void(const fs::path&)> afterwards = nullptr;  // spoils the written package
    std::function<void(TestZipBuilder&)> more = nullptr;        // adds to the package as it is written
  };
  const auto withDescription = [](const std::string& text) { return With("definition.json", text); };
  std::string brokenPNG = Thumbnail();
  brokenPNG.resize(brokenPNG.size() - 30);
  std::string longList = R"({"type":6,"id":"t"})";  // read on the worker pool; still the first wrong member
  for (int i = 1; i < 600; ++i) {
    longList += R"(,{"type":3,"id":"a)" + std::to_string(i) + R"(","value":)" + (i == 100 || i == 550 ? "[]" : "1") + "}";
  }
  const std::vector<Case> cases = {
      {"clean.tplx", CleanMembers()},
      {"not-a-package.tplx", {}, [](const fs::path& p) { zorvstorage::WriteFileBytes(p, "PK but no zip"); }},
      {"unsafe-member-name.tplx", With("../../escape.txt", "x")},
      {"unsafe-member-name-link.tplx", CleanMembers(), nullptr, [](TestZipBuilder& zip) { zip.AddLink("fonts", "/etc"); }},
      {"missing-description.tplx", Without("definition.json")},
      {"description-too-large.tplx", withDescription(std::string(1000, ' ')),  // a gigabyte of spaces, by its directory
       [](const fs::path& p) { zorvstorage::DeclareSize(p, "definition.json", 1u << 30); }},
      {"unreadable-description.tplx", withDescription(R"({"apiVersion":"1.4", oops)")},
      {"not-utf8.tplx", withDescription(Description(kControls, "\"capsuleName\":\"Caf\xE9\","))},
      {"api-version-missing.tplx", withDescription(R"({"capsuleName":"Old"})")},
      {"api-version-newer.tplx", withDescription(R"({"apiVersion":"1.5","capsuleName":"New","clientControls":[]})")},
      {"wrong-type.tplx", withDescription(Description(R"({"type":6,"id":"t"},{"type":2,"id":"s","value":"big"})"))},
      {"wrong-type-in-a-long-list.tplx", withDescription(Description(longList))},
      {"duplicate-control-id.tplx",
       withDescription(Description(R"({"type":6,"id":"t"},{"type":1,"id":"t","value":true})"))},
      {"unknown-group-child.tplx",
       withDescription(Description(R"({"type":6,"id":"t"},{"type":10,"id":"g","value":["t","x"]})"))},
      {"no-name.tplx", withDescription(Description(kControls, ""))},
      {"missing-thumbnail.tplx", Without("thumb.png")},
      {"bad-thumbnail.tplx", With("thumb_de_DE.png", brokenPNG)},
      {"damaged-member.tplx", CleanMembers(), [](const fs::path& p) { zorvstorage::DamageBytes(p, "IDAT"); }},
      {"missing-video-thumbnail.tplx", Without("thumb.mp4")},
      {"missing-project-package.tplx", Without("project.tsgraphic")},
      {"sub/suspicious-compression.tplx", With("project.tsgraphic", std::string(11 << 20, '\0'))},
  };
  for (const Case& c : cases) {
    const fs::path path = Path("lib/" + std::string(c.file));
    Write(path, c.members, c.more);
    if (c.afterwards) c.afterwards(path);
  }
  zorvstorage::WriteFileBytes(Path("lib/notes.txt"), "not a package, not listed");
  const auto before = FolderContents(temp.path());

  const ProgramRun run = Capsule({"validate", Path("lib").string(), Path("gone.tplx").string(), "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(FolderContents(temp.path()), before) << "validating writes nothing: no cache, no extracted files";
  EXPECT_EQ(WithFolderAsTEST(run.out), TestData("validate_report.json"));
}

TEST_F(ValidateCommandTest, WarningsFailOnlyWhenStrictAndTheTableCountsThem) {
  Write(Path("set/quiet.tplx"), Without("thumb.mp4"));
  Write(Path("set/clean.tplx"), CleanMembers());
  const ProgramRun table = Capsule({"validate", Path("set").string()});
  EXPECT_EQ(table.status, 0) << Describe(table);
  const std::vector<std::string> lines = Lines(table.out);
  ASSERT_EQ(lines.size(), 3u) << table.out;
  EXPECT_THAT(lines[0], ::testing::MatchesRegex("PACKAGE +SEVERITY +CODE +MESSAGE"));
  EXPECT_THAT(lines[1], HasSubstr("quiet.tplx  warning   missing-video-thumbnail  no video thumbnail (thumb.mp4"));
  EXPECT_EQ(lines[2], "2 packages, 0 errors, 1 warnings");

  const ProgramRun strict = Capsule({"validate", Path("set/quiet.tplx").string(), "--strict"});
  EXPECT_EQ(strict.status, 1) << Describe(strict);
  EXPECT_EQ(Lines(strict.out).back(), "1 packages, 0 errors, 1 warnings");
  EXPECT_EQ(Capsule({"validate", Path("set/clean.tplx").string(), "--strict"}).out, "1 packages, 0 errors, 0 warnings\n");
}

// The generator leaves out some video thumbnails, as real collections do; nothing else is said
// (tools/testdata).
TEST_F(ValidateCommandTest, TheSampleTemplatesValidateClean) {
  WriteSamples("samples", 24);
  const ProgramRun run = Capsule({"validate", Path("samples").string(), "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(WithFolderAsTEST(run.out), TestData("validate_samples.json"));
}

}  // namespace
}  // namespace capsuletool
