// `capsule validate`: a folder of broken and hostile packages, one for each problem code, checked in
// one run; the exact JSON form; the table, --strict and the sample templates.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <utility>

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/storage/test_zip_builder.h"
#include "samples/png_image.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;
namespace json = zorvcore::serialization;
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

std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder)) files.insert(item.path().string());
  return files;
}

std::string Text(const json::JSONValuePtr& object, const char* key) {
  const json::JSONValuePtr value = json::GetVariantInObject(object, std::string_view(key));
  return value ? json::AsString(value) : "<absent>";
}

struct Found {
  std::vector<std::string> codes;
  std::vector<std::string> members;
  std::vector<std::string> pointers;
};

// The packages of a --json report in order: (path, what was found).
std::vector<std::pair<std::string, Found>> Packages(const std::string& report) {
  std::vector<std::pair<std::string, Found>> packages;
  const json::JSONValuePtr root = json::JSONParse(report);
  for (const auto& package : json::AsArray(json::GetVariantInObject(root, std::string_view("packages")))) {
    Found found;
    for (const auto& problem : json::AsArray(json::GetVariantInObject(package, std::string_view("problems")))) {
      found.codes.push_back(Text(problem, "code"));
      found.members.push_back(Text(problem, "member"));
      found.pointers.push_back(Text(problem, "pointer"));
    }
    packages.emplace_back(Text(package, "path"), found);
  }
  return packages;
}

using ValidateCommandTest = ToolTest;

TEST_F(ValidateCommandTest, EveryProblemOfEveryPackageOfTheFolderIsFound) {
  struct Case {
    const char* file;
    std::function<void(const fs::path&)> write;
    std::vector<std::string> codes;
    std::string member = "<absent>";
    std::string pointer = "<absent>";
  };
  const std::string description = "definition.json";
  std::string notUTF8 = Description(kControls, "\"capsuleName\":\"Caf\xE9\",");
  std::string brokenPNG = Thumbnail();
  brokenPNG.resize(brokenPNG.size() - 30);
  const std::vector<Case> cases = {
      {"clean.tplx", [](const fs::path& p) { Write(p, CleanMembers()); }, {}},
      {"not-a-package.tplx", [](const fs::path& p) { zorvstorage::WriteFileBytes(p, "PK but no zip"); },
       {"not-a-package"}},
      {"unsafe-member-name.tplx", [](const fs::path& p) { Write(p, With("../../escape.txt", "x")); },
       {"unsafe-member-name"}, "../../escape.txt"},
      {"unsafe-member-name-link.tplx",
       [](const fs::path& p) { Write(p, CleanMembers(), [](TestZipBuilder& zip) { zip.AddLink("fonts", "/etc"); }); },
       {"unsafe-member-name"}, "fonts"},
      {"missing-description.tplx", [](const fs::path& p) { Write(p, Without("definition.json")); },
       {"missing-description"}, description},
      {"description-too-large.tplx",
       [](const fs::path& p) {
         Write(p, With("definition.json", std::string(1000, ' ')));
         zorvstorage::DeclareSize(p, "definition.json", 1u << 30);  // a gigabyte of spaces, by its directory
       },
       {"suspicious-compression", "description-too-large"}, description},
      {"unreadable-description.tplx",
       [](const fs::path& p) { Write(p, With("definition.json", R"({"apiVersion":"1.4", oops)")); },
       {"unreadable-description"}, description},
      {"not-utf8.tplx", [&](const fs::path& p) { Write(p, With("definition.json", notUTF8)); }, {"not-utf8"},
       description},
      {"api-version-missing.tplx",
       [](const fs::path& p) { Write(p, With("definition.json", R"({"capsuleName":"Old"})")); },
       {"api-version-missing"}, description},
      {"api-version-newer.tplx",
       [](const fs::path& p) {
         Write(p, With("definition.json", R"({"apiVersion":"1.5","capsuleName":"New","clientControls":[]})"));
       },
       {"api-version-newer"}, description},
      {"wrong-type.tplx",
       [](const fs::path& p) {
         Write(p, With("definition.json", Description(R"({"type":6,"id":"t"},{"type":2,"id":"s","value":"big"})")));
       },
       {"wrong-type"}, description, "/clientControls/1/value"},
      {"wrong-type-in-a-long-list.tplx",
       [](const fs::path& p) {  // read on the worker pool; still the first wrong member in order
         std::string controls = R"({"type":6,"id":"t"})";
         for (int i = 1; i < 600; ++i) {
           const bool wrong = i == 100 || i == 550;
           controls += R"(,{"type":3,"id":"a)" + std::to_string(i) + R"(","value":)" + (wrong ? "[]" : "1") + "}";
         }
         Write(p, With("definition.json", Description(controls)));
       },
       {"wrong-type"}, description, "/clientControls/100/value"},
      {"duplicate-control-id.tplx",
       [](const fs::path& p) {
         Write(p, With("definition.json", Description(R"({"type":6,"id":"t"},{"type":1,"id":"t","value":true})")));
       },
       {"duplicate-control-id"}, description},
      {"unknown-group-child.tplx",
       [](const fs::path& p) {
         Write(p, With("definition.json", Description(R"({"type":6,"id":"t"},{"type":10,"id":"g","value":["t","x"]})")));
       },
       {"unknown-group-child"}, description},
      {"no-name.tplx", [](const fs::path& p) { Write(p, With("definition.json", Description(kControls, ""))); },
       {"no-name"}, description},
      {"missing-thumbnail.tplx", [](const fs::path& p) { Write(p, Without("thumb.png")); }, {"missing-thumbnail"}},
      {"bad-thumbnail.tplx", [&](const fs::path& p) { Write(p, With("thumb_de_DE.png", brokenPNG)); },
       {"bad-thumbnail"}, "thumb_de_DE.png"},
      {"damaged-member.tplx",
       [](const fs::path& p) {
         Write(p, CleanMembers());
         zorvstorage::DamageBytes(p, "IDAT");
       },
       {"damaged-member"}, "thumb.png"},
      {"missing-video-thumbnail.tplx", [](const fs::path& p) { Write(p, Without("thumb.mp4")); },
       {"missing-video-thumbnail"}},
      {"missing-project-package.tplx", [](const fs::path& p) { Write(p, Without("project.tsgraphic")); },
       {"missing-project-package"}},
      {"sub/suspicious-compression.tplx",
       [](const fs::path& p) { Write(p, With("project.tsgraphic", std::string(11 << 20, '\0'))); },
       {"suspicious-compression"}, "project.tsgraphic"},
  };
  fs::create_directories(Path("lib"));
  for (const Case& c : cases) c.write(Path("lib/" + std::string(c.file)));
  zorvstorage::WriteFileBytes(Path("lib/notes.txt"), "not a package, not listed");
  const std::set<std::string> before = FilesBelow(temp.path());

  const ProgramRun run = Capsule({"validate", Path("lib").string(), Path("gone.tplx").string(), "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(FilesBelow(temp.path()), before) << "validating writes nothing: no cache, no extracted files";

  // Walk order: byte order of the names, the subfolder's package at its place; then the missing path.
  std::map<std::string, const Case*> expected;
  for (const Case& c : cases) expected[Path("lib/" + std::string(c.file)).string()] = &c;
  const auto packages = Packages(run.out);
  ASSERT_EQ(packages.size(), cases.size() + 1) << run.out;
  size_t i = 0;
  for (const auto& [path, c] : expected) {
    SCOPED_TRACE(path);
    const Found& found = packages[i++].second;
    EXPECT_EQ(packages[i - 1].first, path);
    EXPECT_EQ(found.codes, c->codes);
    for (const std::string& member : found.members) EXPECT_EQ(member, c->member);
    for (const std::string& pointer : found.pointers) EXPECT_EQ(pointer, c->pointer);
  }
  EXPECT_EQ(packages.back().first, Path("gone.tplx").string());
  EXPECT_THAT(packages.back().second.codes, ElementsAre("not-found"));
}

TEST_F(ValidateCommandTest, TheJSONReportHasItsShape) {
  Write(Path("set/a.tplx"), CleanMembers());
  Write(Path("set/b.tplx"),
        With("definition.json", Description(R"({"type":6,"id":"t"},{"type":2,"id":"s","value":"big"})")));
  const ProgramRun run = Capsule({"validate", Path("set").string(), "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_EQ(run.out, R"({
  "errors": 1,
  "packages": [
    {
      "path": ")" + Path("set/a.tplx").string() + R"(",
      "problems": []
    },
    {
      "path": ")" + Path("set/b.tplx").string() + R"(",
      "problems": [
        {
          "code": "wrong-type",
          "member": "definition.json",
          "message": "definition.json has a value of another JSON type than the description format gives at /clientControls/1/value",
          "pointer": "/clientControls/1/value",
          "severity": "error"
        }
      ]
    }
  ],
  "warnings": 0
}
)");
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

  const ProgramRun usage = Capsule({"validate"});
  EXPECT_EQ(usage.status, 2) << Describe(usage);
  EXPECT_EQ(usage.out, "");
}

TEST_F(ValidateCommandTest, TheSampleTemplatesValidateClean) {
  const zorvsamples::SampleSet set = WriteSamples("samples", 24);
  const ProgramRun run = Capsule({"validate", Path("samples").string(), "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  const auto packages = Packages(run.out);
  ASSERT_EQ(packages.size(), set.templates.size());
  // The generator leaves out some video thumbnails, as real collections do; nothing else is said.
  for (const auto& [path, found] : packages) {
    const bool video = zorvcapsule::CapsuleZip(zorvcore::UTF8ToUTF16(path), "").UnzipItem("thumb.mp4") != nullptr;
    EXPECT_EQ(found.codes, video ? std::vector<std::string>{} : std::vector<std::string>{"missing-video-thumbnail"})
        << path;
  }
}

}  // namespace
}  // namespace capsuletool
