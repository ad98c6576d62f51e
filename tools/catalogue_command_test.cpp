// `capsule catalogue`, run as a user runs it, on folders of generated and hand-made packages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "samples/template_package_writer.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;
namespace json = zorvcore::serialization;

constexpr size_t kSetSize = 24;

std::vector<std::string> Strings(const json::JSONValuePtr& array) {
  std::vector<std::string> texts;
  for (const auto& element : json::AsArray(array)) texts.push_back(json::AsString(element));
  return texts;
}

const std::string& Member(const json::JSONValuePtr& object, const char* key) {
  return json::AsString(json::GetVariantInObject(object, key));
}

int64_t IntMember(const json::JSONValuePtr& object, const char* key) {
  return json::AsAnyInt64(json::GetVariantInObject(object, key));
}

class CatalogueCommandTest : public ToolTest {
 protected:
  // Runs the catalogue with --json and parses what it printed.
  json::JSONValuePtr CatalogueJSON(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "catalogue");
    arguments.push_back("--json");
    const ProgramRun run = Capsule(arguments);
    EXPECT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    json::JSONValuePtr root = json::JSONParse(run.out);
    EXPECT_TRUE(root && root->IsObject()) << run.out;
    return root && root->IsObject() ? root : json::MakeJSONObject();
  }

  std::map<std::string, std::shared_ptr<zorvcapsule::Capsule>> ByPath(const zorvsamples::SampleSet& set) const {
    std::map<std::string, std::shared_ptr<zorvcapsule::Capsule>> byPath;
    for (const auto& written : set.templates) byPath[Utf8(written.path)] = written.capsule;
    return byPath;
  }
};

int32_t DurationMs(const hostbridge::MediaTime& duration) {
  return static_cast<int32_t>(duration.numerator() * 1000 / duration.denominator());
}

TEST_F(CatalogueCommandTest, JsonHoldsEveryTemplateWithTheValuesOfItsDescription) {
  const zorvsamples::SampleSet set = WriteSamples("templates", kSetSize);
  const auto byPath = ByPath(set);
  const json::JSONValuePtr root = CatalogueJSON({Path("templates").string(), "--thumbnails"});
  EXPECT_EQ(IntMember(root, "total"), static_cast<int64_t>(kSetSize));
  EXPECT_TRUE(json::AsArray(json::GetVariantInObject(root, "matches")).empty());
  EXPECT_TRUE(json::AsArray(json::GetVariantInObject(root, "similar")).empty());
  const json::JSONArray& entries = json::AsArray(json::GetVariantInObject(root, "entries"));
  ASSERT_EQ(entries.size(), kSetSize);

  std::u16string previousName;
  for (const json::JSONValuePtr& entry : entries) {
    const std::string& path = Member(entry, "path");
    SCOPED_TRACE(path);
    ASSERT_TRUE(byPath.count(path));
    const zorvcapsule::Capsule& capsule = *byPath.at(path);
    const std::u16string name = zorvcore::UTF8ToUTF16(Member(entry, "name"));
    EXPECT_EQ(name, capsule.GetDisplayName());
    EXPECT_LE(previousName, name) << "entries come sorted by name";
    previousName = name;
    EXPECT_EQ(Member(entry, "capsuleID"), Utf8(capsule.GetCapsuleID()));
    EXPECT_EQ(Member(entry, "authorApp"), Utf8(capsule.GetAuthorApp()));
    EXPECT_EQ(Member(entry, "description"), Utf8(capsule.GetCapsuleDesc()));
    EXPECT_EQ(Member(entry, "sourceID"), "graphicsource.local");
    EXPECT_EQ(Member(entry, "libraryID"), "graphicsource.local.default");
    EXPECT_EQ(Strings(json::GetVariantInObject(entry, "ids")),
              (std::vector<std::string>{"graphicsource.local", "graphicsource.local.default"}));
    EXPECT_EQ(Strings(json::GetVariantInObject(entry, "tags")), capsule.GetTags());
    EXPECT_EQ(Strings(json::GetVariantInObject(entry, "usedFonts")), capsule.GetUsedFonts());
    EXPECT_EQ(json::AsBool(json::GetVariantInObject(entry, "requiresQuazel")),
              capsule.GetAuthorApp() == u"qzfx" && !capsule.CanUseQZLib(nullptr));
    EXPECT_EQ(IntMember(entry, "state"), 2);
    EXPECT_EQ(static_cast<uint64_t>(IntMember(entry, "fileSize")), fs::file_size(path));
    const hostbridge::SourceInfo info = capsule.GetSourceInfo();
    EXPECT_EQ(IntMember(entry, "frameWidth"), info.frame_rect.size.x);
    EXPECT_EQ(IntMember(entry, "frameHeight"), info.frame_rect.size.y);
    EXPECT_EQ(IntMember(entry, "durationMs"), DurationMs(info.duration));
    EXPECT_TRUE(std::regex_match(Member(entry, "modifiedTime"), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));

    const bool hasVideo = zorvcapsule::CapsuleZip(zorvcore::UTF8ToUTF16(path), "").UnzipItem("thumb.mp4") != nullptr;
    const std::string& video = Member(entry, "videoPreviewPath");
    EXPECT_EQ(!video.empty(), hasVideo);
    if (hasVideo) {
      EXPECT_THAT(video, StartsWith(Path("TslBrowser/").string()));
    }
    const std::string& thumbnail = Member(entry, "thumbnailPath");
    ASSERT_THAT(thumbnail, StartsWith(Path("TslBrowser/").string()));
    EXPECT_EQ(ReadWholeFile(thumbnail).substr(0, 4), "\x89PNG");
  }
}

TEST_F(CatalogueCommandTest, WordSearchAndSimilarTagsComeSortedAndNameListedTemplates) {
  const zorvsamples::SampleSet set = WriteSamples("templates", kSetSize);
  const json::JSONValuePtr root = CatalogueJSON({Path("templates").string(), "--search", "title", "--similar", "ti"});
  std::set<std::string> listed;
  for (const auto& entry : json::AsArray(json::GetVariantInObject(root, "entries"))) listed.insert(Member(entry, "path"));

  const std::vector<std::string> matches = Strings(json::GetVariantInObject(root, "matches"));
  EXPECT_TRUE(std::is_sorted(matches.begin(), matches.end()));
  for (const auto& match : matches) EXPECT_TRUE(listed.count(match)) << match;
  // Tags are indexed words: every template tagged "title" is found.
  for (const auto& written : set.templates) {
    const auto& tags = written.capsule->GetTags();
    if (std::find(tags.begin(), tags.end(), "title") != tags.end()) {
      EXPECT_TRUE(std::count(matches.begin(), matches.end(), Utf8(written.path))) << Utf8(written.path);
    }
  }
  const std::vector<std::string> similar = Strings(json::GetVariantInObject(root, "similar"));
  EXPECT_TRUE(std::is_sorted(similar.begin(), similar.end()));
  EXPECT_TRUE(std::count(similar.begin(), similar.end(), "title"));

  // More words narrow the search: every match holds all of them.
  const json::JSONValuePtr narrower =
      CatalogueJSON({Path("templates").string(), "--search", "title", "--search", "bold"});
  const std::vector<std::string> both = Strings(json::GetVariantInObject(narrower, "matches"));
  EXPECT_FALSE(both.empty());
  EXPECT_LT(both.size(), matches.size());
  for (const auto& match : both) EXPECT_TRUE(std::count(matches.begin(), matches.end(), match)) << match;
}

TEST_F(CatalogueCommandTest, TableShowsARowPerTemplateThenTheSearchResults) {
  const zorvsamples::SampleSet set = WriteSamples("templates", kSetSize);
  const json::JSONValuePtr searched = CatalogueJSON({Path("templates").string(), "--search", "title"});
  const size_t matchCount = json::AsArray(json::GetVariantInObject(searched, "matches")).size();

  const ProgramRun run =
      Capsule({"catalogue", Path("templates").string(), "--search", "title", "--similar", "ti"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GT(lines.size(), kSetSize + 1);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("NAME +DURATION +FRAME +SIZE +TAGS +FOLDER")));
  for (const auto& written : set.templates) {
    const std::string name = Utf8(written.capsule->GetDisplayName());
    const std::string folder = fs::relative(Utf8(written.path), Path("templates")).parent_path().string();
    const auto row = std::find_if(lines.begin() + 1, lines.begin() + 1 + kSetSize,
                                  [&](const std::string& line) { return line.rfind(name + "  ", 0) == 0; });
    ASSERT_NE(row, lines.begin() + 1 + kSetSize) << name;
    EXPECT_THAT(*row, testing::EndsWith("  " + folder));
  }
  EXPECT_EQ(lines[kSetSize + 1], "24 templates");
  EXPECT_THAT(run.out, HasSubstr("\nWord search \"title\": " + std::to_string(matchCount) + " templates\n"));
  EXPECT_THAT(run.out, HasSubstr("\nTags similar to \"ti\": "));
}

TEST_F(CatalogueCommandTest, AnAddedFolderIsListedUnderItsName) {
  WriteSamples("templates", 2);
  const zorvsamples::SampleSet extra = WriteSamples("elsewhere/extras", 1, 99);
  const std::string extraFolder = fs::path(Utf8(extra.templates[0].path)).parent_path().string();
  const json::JSONValuePtr root =
      CatalogueJSON({Path("templates").string(), "--folder", "My extras=" + extraFolder});
  EXPECT_EQ(IntMember(root, "total"), 3);
  size_t fromExtras = 0;
  for (const auto& entry : json::AsArray(json::GetVariantInObject(root, "entries"))) {
    if (Member(entry, "libraryID") == extraFolder) ++fromExtras;
  }
  EXPECT_EQ(fromExtras, 1u);

  const ProgramRun table = Capsule({"catalogue", Path("templates").string(), "--folder", "My extras=" + extraFolder});
  ASSERT_EQ(table.status, 0) << Describe(table);
  EXPECT_THAT(table.out, HasSubstr("  My extras\n"));
}

TEST_F(CatalogueCommandTest, WithoutAFolderItCataloguesTheGeneratedSamplesAndCleansUp) {
  const json::JSONValuePtr root = CatalogueJSON({});
  EXPECT_EQ(IntMember(root, "total"), static_cast<int64_t>(kSetSize));
  for (const auto& item : fs::directory_iterator(temp.path())) {
    EXPECT_THAT(item.path().filename().string(), testing::Not(StartsWith("capsule-"))) << "left behind";
  }
}

TEST_F(CatalogueCommandTest, TheIndexLivesInTheFileNamed) {
  WriteSamples("templates", 3);
  CatalogueJSON({Path("templates").string(), "--index", Path("words.db").string()});
  EXPECT_TRUE(fs::is_regular_file(Path("words.db")));
  // A second run rebuilds the index it finds there.
  CatalogueJSON({Path("templates").string(), "--index", Path("words.db").string()});

  temp.WriteFile("notes.txt", "a file of the user's");
  const ProgramRun notAnIndex =
      Capsule({"catalogue", Path("templates").string(), "--index", Path("notes.txt").string()});
  EXPECT_EQ(notAnIndex.status, 1);
  EXPECT_THAT(notAnIndex.err, HasSubstr("notes.txt: is not a search index"));
  EXPECT_EQ(ReadWholeFile(Path("notes.txt")), "a file of the user's");

  const ProgramRun noFolder =
      Capsule({"catalogue", Path("templates").string(), "--index", Path("missing/words.db").string()});
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_EQ(noFolder.err, "capsule: " + Path("missing/words.db").string() + ": its folder does not exist\n");
}

TEST_F(CatalogueCommandTest, APackageThatEndsTheListingFailsTheCatalogueAndIsNamed) {
  WriteSamples("templates", 3);
  // Walked first: the listing stops here, before every sample.
  const fs::path broken = Path("templates/000 broken.tplx");
  ASSERT_TRUE(zorvsamples::WritePackageMembers(zorvcore::UTF8ToUTF16(broken.string()),
                                               {{"definition.json", R"({"apiVersion": "1.4", "capsuleID": 7})"}})
                  .ok);
  const ProgramRun run = Capsule({"catalogue", Path("templates").string(), "--json"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_EQ(run.err, "capsule: " + broken.string() +
                         ": definition.json has a member of the wrong JSON type (bad cast); the catalogue stops "
                         "before this package\n");
  const json::JSONValuePtr root = json::JSONParse(run.out);
  ASSERT_TRUE(root && root->IsObject()) << "the result is still printed";
  EXPECT_EQ(IntMember(root, "total"), 0);
}

TEST_F(CatalogueCommandTest, APackageWithoutAReadableDescriptionIsListedUnderItsFileName) {
  ASSERT_TRUE(zorvsamples::WritePackageMembers(temp.U16(u"templates/Plain Package.tplx"), {{"thumb.png", "x"}}).ok);
  const json::JSONValuePtr root = CatalogueJSON({Path("templates").string()});
  const json::JSONArray& entries = json::AsArray(json::GetVariantInObject(root, "entries"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(Member(entries[0], "name"), "Plain Package");
  EXPECT_TRUE(json::GetVariantInObject(entries[0], "modifiedTime") == nullptr ||
              json::GetVariantInObject(entries[0], "modifiedTime")->IsNull());
}

TEST_F(CatalogueCommandTest, BadUsageExitsWithTwoAndAMissingFolderWithOne) {
  WriteSamples("templates", 1);
  const std::vector<std::vector<std::string>> usages = {
      {"catalogue", Path("templates").string(), "--folder", "no-equals-sign"},
      {"catalogue", Path("templates").string(), "--folder", "=" + Path("templates").string()},
      {"catalogue", Path("templates").string(), "--frobnicate"},
      {"catalogue", Path("templates").string(), Path("templates").string()},
      {"catalogue", "--similar"},
  };
  for (const auto& usage : usages) {
    const ProgramRun run = Capsule(usage);
    EXPECT_EQ(run.status, 2) << Describe(run);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, StartsWith("capsule: "));
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
  const ProgramRun missing = Capsule({"catalogue", Path("nowhere").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "capsule: " + Path("nowhere").string() + ": no such folder\n");
}

}  // namespace
}  // namespace capsuletool

namespace capsuletool {
namespace {

// A cloud library made by hand, as the README describes the layout.
TEST_F(CatalogueCommandTest, LibrariesJoinTheCatalogueWithTheirFilters) {
  const zorvsamples::SampleSet set = WriteSamples("templates", 2);
  const fs::path element = Path("libraries/brand/lower");
  fs::create_directories(element);
  fs::create_directories(Path("libraries/empty"));
  fs::copy_file(Utf8(set.templates[0].path), element / "template.tplx");
  std::ofstream(Path("libraries/brand/library.json")) << R"({"name": "Brand Kit"})";
  std::ofstream(Path("libraries/empty/library.json")) << R"({"name": "Empty Kit"})";
  std::ofstream(element / "element.json") << R"({"name": "Lower"})";
  std::ofstream(element / "definition.json")
      << zorvcapsule::serialization::CapsuleToJson(set.templates[0].capsule);

  const json::JSONValuePtr root = CatalogueJSON({Path("templates").string(), "--libraries",
                                                 Path("libraries").string()});
  EXPECT_EQ(IntMember(root, "total"), 3);
  std::vector<std::string> fromLibraries;
  for (const auto& entry : json::AsArray(json::GetVariantInObject(root, "entries"))) {
    if (Member(entry, "sourceID") == "graphicsource.QvLibraries") fromLibraries.push_back(Member(entry, "libraryID"));
  }
  EXPECT_EQ(fromLibraries, std::vector<std::string>{"brand"});

  const json::JSONArray& filters = json::AsArray(json::GetVariantInObject(root, "filters"));
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(Member(filters[0], "sourceID"), "graphicsource.local");
  EXPECT_EQ(Member(filters[1], "sourceID"), "graphicsource.QvLibraries");
  std::vector<std::string> items;
  for (const auto& item : json::AsArray(json::GetVariantInObject(filters[1], "items"))) {
    items.push_back(Member(item, "name") + "=" + Member(item, "id"));
  }
  EXPECT_EQ(items, (std::vector<std::string>{"Brand Kit=brand", "Empty Kit=empty"}));
  EXPECT_FALSE(json::AsArray(json::GetVariantInObject(root, "directories")).empty());
}

// The catalogue's text for a generated set is the text it has always had: its JSON and its table,
// with a word search and similar tags, are compared with files written by the catalogue before it
// was made faster (tools/testdata). What depends on the run is replaced first: the test's folder,
// the packages' times and the cache names worked out from them.
TEST_F(CatalogueCommandTest, TheTextOfAGeneratedSetIsUnchanged) {
  WriteSamples("templates", kSetSize);
  const auto normalized = [this](std::string text) {
    const std::string folder = temp.path().string();
    for (size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), "TEST");
    text = std::regex_replace(text, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)"), "TIME");
    return std::regex_replace(text, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"), "GUID");
  };
  const struct {
    std::vector<std::string> arguments;
    const char* expected;
  } runs[] = {
      {{"--json", "--thumbnails"}, "catalogue_samples.json"},
      {{}, "catalogue_samples.txt"},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.expected);
    std::vector<std::string> arguments{"catalogue", Path("templates").string(), "--search", "title", "--similar", "ti"};
    arguments.insert(arguments.end(), run.arguments.begin(), run.arguments.end());
    const ProgramRun result = Capsule(arguments);
    ASSERT_EQ(result.status, 0) << Describe(result);
    std::ifstream expected(std::string(TOOLS_TESTDATA_PATH) + "/" + run.expected, std::ios::binary);
    ASSERT_TRUE(expected) << run.expected;
    EXPECT_EQ(normalized(result.out), std::string(std::istreambuf_iterator<char>(expected), {}));
  }
}

}  // namespace
}  // namespace capsuletool
