// `capsule catalogue`, run as a user runs it, on folders of generated and hand-made packages.

#include <algorithm>
#include <map>
#include <regex>

#include "samples/template_package_writer.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr size_t kSetSize = 24;

class CatalogueCommandTest : public ToolTest {
 protected:
  // Runs the catalogue with --json and parses what it printed.
  json::JSONValuePtr CatalogueJSON(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "catalogue");
    arguments.push_back("--json");
    const ProgramRun run = Capsule(arguments);
    EXPECT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    return ParseObject(run);
  }
};

// Without a folder the catalogue lists generated samples, and removes them. The values of the
// entries, the table, and which templates a word matches are pinned by the comparison with
// tools/testdata below.
TEST_F(CatalogueCommandTest, WithoutAFolderItCataloguesGeneratedSamplesAndRemovesThem) {
  EXPECT_EQ(JsonInt(CatalogueJSON({}), "total"), static_cast<int64_t>(kSetSize));
  for (const auto& item : fs::directory_iterator(temp.path())) {
    EXPECT_THAT(item.path().filename().string(), testing::Not(StartsWith("capsule-"))) << "left behind";
  }
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
  EXPECT_EQ(JsonInt(ParseObject(run), "total"), 0) << "the result is still printed";
}

// An added folder is listed under its name; a cloud library made by hand, as the README describes
// the layout, joins. (Its filter's items are pinned by the library source's tests, the writing of
// filters by the pinned output.) The index lives in the file named, rebuilt by the next run.
TEST_F(CatalogueCommandTest, AddedFoldersAndLibrariesJoinTheCatalogue) {
  const zorvsamples::SampleSet set = WriteSamples("templates", 2);
  const zorvsamples::SampleSet extra = WriteSamples("elsewhere/extras", 1, 99);
  const std::string extraFolder = fs::path(Utf8(extra.templates[0].path)).parent_path().string();
  const fs::path element = Path("libraries/brand/lower");
  fs::create_directories(element);
  fs::copy_file(Utf8(set.templates[0].path), element / "template.tplx");
  std::ofstream(Path("libraries/brand/library.json")) << R"({"name": "Brand Kit"})";
  std::ofstream(element / "element.json") << R"({"name": "Lower"})";
  std::ofstream(element / "definition.json") << zorvcapsule::serialization::CapsuleToJson(set.templates[0].capsule);
  ASSERT_TRUE(zorvsamples::WritePackageMembers(temp.U16(u"templates/Plain Package.tplx"), {{"thumb.png", "x"}}).ok);

  const std::vector<std::string> line{Path("templates").string(), "--folder", "My extras=" + extraFolder, "--libraries",
                                      Path("libraries").string(), "--index", Path("words.db").string()};
  const json::JSONValuePtr root = CatalogueJSON(line);
  EXPECT_TRUE(fs::is_regular_file(Path("words.db"))) << "the index lives in the file named";
  EXPECT_EQ(JsonInt(root, "total"), 5);
  std::map<std::string, std::vector<std::string>> libraries;  // source -> the libraries of its entries
  for (const auto& entry : json::AsArray(json::GetVariantInObject(root, "entries"))) {
    libraries[JsonText(entry, "sourceID")].push_back(JsonText(entry, "libraryID"));
    // A package without a readable description has no time, written as null.
    if (JsonText(entry, "path") != Path("templates/Plain Package.tplx").string()) continue;
    EXPECT_TRUE(json::GetVariantInObject(entry, "modifiedTime")->IsNull());
  }
  EXPECT_EQ(libraries["graphicsource.QvLibraries"], std::vector<std::string>{"brand"});
  EXPECT_EQ(std::count(libraries["graphicsource.local"].begin(), libraries["graphicsource.local"].end(), extraFolder), 1);

  std::vector<std::string> tableLine{"catalogue"};
  tableLine.insert(tableLine.end(), line.begin(), line.end());
  const ProgramRun table = Capsule(tableLine);  // rebuilds the index it finds
  ASSERT_EQ(table.status, 0) << Describe(table);
  EXPECT_THAT(table.out, HasSubstr("  My extras\n"));
}

// The catalogue's text for a generated set is the text it has always had: its JSON and its table,
// with a word search and similar tags, are compared with files written by the catalogue before it
// was made faster (tools/testdata). What depends on the run is replaced first: the test's folder,
// the packages' times and the cache names worked out from them.
TEST_F(CatalogueCommandTest, TheTextOfAGeneratedSetIsUnchanged) {
  WriteSamples("templates", kSetSize);
  const auto normalized = [this](std::string text) {
    text = std::regex_replace(WithFolderAsTEST(text), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)"), "TIME");
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
    EXPECT_EQ(normalized(result.out), TestData(run.expected));
  }
}

}  // namespace
}  // namespace capsuletool
