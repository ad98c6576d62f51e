// `capsule stock serve` run as a program on generated templates, driven by `capsule stock ...` with
// the settings it prints: what a word search finds, licensing and download, previews, refusals,
// failures on purpose and the end on SIGTERM.
#include <signal.h>

#include <algorithm>
#include <map>

#include "host/core/file_helper_utils.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

constexpr std::chrono::seconds kStartLimit(300);

// `capsule stock serve FOLDER ...` running in the background, with what it printed at start.
class ServedStockProcess {
 public:
  ServedStockProcess(const fs::path& folder, const std::vector<std::string>& options, const fs::path& tempFolder) {
    std::vector<std::string> arguments{"stock", "serve", folder.string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    program_ = std::make_unique<BackgroundProgram>(CAPSULE_TOOL_PATH, arguments, tempFolder);
    program_->WaitForOutput([](const auto& lines) { return !lines.empty(); }, kStartLimit);
    const std::vector<std::string> lines = program_->OutLines();
    const std::string line = lines.empty() ? std::string() : lines.front();
    start_ = json::JSONParse(line);
    EXPECT_TRUE(start_ && start_->IsObject()) << line << "\n" << program_->Err();
    if (!start_ || !start_->IsObject()) start_ = json::MakeJSONObject();
  }

  // The command line of `capsule --set ... stock <arguments> <identity>` against this service.
  std::vector<std::string> StockLine(const std::vector<std::string>& arguments, const std::vector<std::string>& identity,
                                     const std::vector<std::string>& extraSettings = {}) const {
    std::vector<std::string> line;
    if (json::ObjectHasProperty(start_, "settings", true)) {
      for (const auto& [key, value] : json::AsObject(json::GetVariantInObject(start_, "settings"))) {
        line.insert(line.end(), {"--set", key + "=" + json::AsString(value)});
      }
    }
    for (const std::string& setting : extraSettings) line.insert(line.end(), {"--set", setting});
    line.push_back("stock");
    line.insert(line.end(), arguments.begin(), arguments.end());
    line.insert(line.end(), identity.begin(), identity.end());
    return line;
  }
  // The connection record, client ID and credential, as `capsule stock ...` takes them.
  std::vector<std::string> Identity(const std::string& credential = std::string()) const {
    return {"--connection", Printed("connection"), "--client-id", Printed("clientId"), "--credential",
            credential.empty() ? Printed("credential") : credential};
  }
  std::string Printed(const char* key) const {
    return json::ObjectHasProperty(start_, key) ? JsonText(start_, key) : std::string();
  }
  BackgroundProgram& Program() { return *program_; }

 private:
  std::unique_ptr<BackgroundProgram> program_;
  json::JSONValuePtr start_;
};

class StockServeTest : public ToolTest {
 protected:
  static constexpr size_t kTemplates = 200;  // enough for a word search of more than one page

  // One folder of templates and one service for the whole suite.
  static void SetUpTestSuite() {
    suiteFolder_ = new zorvcore::TestTempFolder;
    const auto set = zorvsamples::WriteSampleTemplates(suiteFolder_->U16(u"templates"), kTemplates,
                                                       zorvsamples::kDefaultSampleSeed);
    ASSERT_TRUE(set.ok) << set.error;
    service_ = new ServedStockProcess(Templates(), {}, suiteFolder_->path());
  }
  static void TearDownTestSuite() {
    delete service_;
    delete suiteFolder_;
  }

  static fs::path Templates() { return suiteFolder_->path() / "templates"; }

  // `capsule --set ... stock <arguments> <identity>` against the suite's service.
  ProgramRun Stock(const std::vector<std::string>& arguments, const std::vector<std::string>& identity,
                   const std::vector<std::string>& extraSettings = {}) const {
    return Capsule(service_->StockLine(arguments, identity, extraSettings));
  }
  ProgramRun Stock(const std::vector<std::string>& arguments) const { return Stock(arguments, service_->Identity()); }
  // Every entry of a `stock search --json` output, in page order.
  static std::vector<json::JSONValuePtr> SearchEntries(const json::JSONValuePtr& root) {
    std::vector<json::JSONValuePtr> entries;
    if (!json::ObjectHasProperty(root, "pages")) return entries;
    for (const auto& page : json::AsArray(json::GetVariantInObject(root, "pages"))) {
      for (const auto& entry : json::AsArray(json::GetVariantInObject(page, "entries"))) entries.push_back(entry);
    }
    return entries;
  }

  // The catalogue's listing of the templates: path -> entry.
  std::map<std::string, json::JSONValuePtr> CatalogueEntries() const {
    std::map<std::string, json::JSONValuePtr> entries;
    const json::JSONValuePtr root = ParseObject(Capsule({"catalogue", Templates().string(), "--json"}));
    for (const auto& entry : json::AsArray(json::GetVariantInObject(root, "entries"))) {
      entries.emplace(JsonText(entry, "path"), entry);
    }
    return entries;
  }
  // The package behind a served entry, found by its name in the catalogue's listing.
  static std::string PackageNamed(const std::map<std::string, json::JSONValuePtr>& listed, const std::string& name) {
    for (const auto& [path, entry] : listed) {
      if (JsonText(entry, "name") == name) return path;
    }
    ADD_FAILURE() << "no template named " << name;
    return std::string();
  }

  static zorvcore::TestTempFolder* suiteFolder_;
  static ServedStockProcess* service_;
};

zorvcore::TestTempFolder* StockServeTest::suiteFolder_ = nullptr;
ServedStockProcess* StockServeTest::service_ = nullptr;

TEST_F(StockServeTest, SearchesFindWhatTheCatalogueFindsInBothTreesHonourTheFiltersAndCarryPreviews) {
  const std::map<std::string, json::JSONValuePtr> listed = CatalogueEntries();
  ASSERT_EQ(listed.size(), kTemplates);
  const std::vector<std::vector<std::string>> searches = {{"s"}, {"neon", "glow"}, {"titles"}, {"zzzz"}, {}};
  bool paged = false;
  for (const auto& words : searches) {
    std::vector<std::string> catalogueLine{"catalogue", Templates().string(), "--json"};
    for (const std::string& word : words) catalogueLine.insert(catalogueLine.end(), {"--search", word});
    const json::JSONValuePtr catalogue = ParseObject(Capsule(catalogueLine));
    std::vector<std::string> expected;
    if (words.empty()) {
      for (const auto& [path, entry] : listed) expected.push_back(JsonText(entry, "name"));
    } else {
      for (const auto& match : json::AsArray(json::GetVariantInObject(catalogue, "matches"))) {
        expected.push_back(JsonText(listed.at(json::AsString(match)), "name"));
      }
    }

    std::vector<std::string> searchLine{"search"};
    searchLine.insert(searchLine.end(), words.begin(), words.end());
    searchLine.push_back("--json");
    const ProgramRun run = Stock(searchLine);
    ASSERT_EQ(run.status, 0) << Describe(run);
    const json::JSONValuePtr root = ParseObject(run);
    std::vector<std::string> found;
    for (const auto& entry : SearchEntries(root)) found.push_back(JsonText(entry, "name"));
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected) << "words: " << words.size();
    EXPECT_EQ(JsonInt(root, "total"), static_cast<int64_t>(expected.size()));
    if (expected.size() > 100) {
      const json::JSONArray& pages = json::AsArray(json::GetVariantInObject(root, "pages"));
      ASSERT_GE(pages.size(), 2u);
      EXPECT_EQ(JsonInt(pages[1], "start"), 100) << "pages printed in the order of the walk";
      paged = true;
    }
  }
  EXPECT_TRUE(paged) << "no search went past its first page";

  // The stage tree answers the same.
  const ProgramRun production = Stock({"search", "neon", "--json"});
  const ProgramRun stage = Stock({"search", "neon", "--json"}, service_->Identity(), {"Graphics.UseStockStage=true"});
  EXPECT_EQ(stage.status, 0) << Describe(stage);
  EXPECT_EQ(stage.out, production.out);

  // The filters: every served template is free, and a connection whose templateTypeId is 7 asks for
  // the editing application's templates only.
  const ProgramRun premium = Stock({"search", "--filter", "true", "--json"});
  EXPECT_EQ(JsonInt(ParseObject(premium), "total"), 0) << Describe(premium);
  std::string connection = ReadWholeFile(service_->Printed("connection"));
  const size_t typeId = connection.find("\"templateTypeId\": 1");
  ASSERT_NE(typeId, std::string::npos) << connection;
  connection.replace(typeId, std::string("\"templateTypeId\": 1").size(), "\"templateTypeId\": 7");
  std::ofstream(Path("editing.json")) << connection;
  int64_t editing = 0;
  for (const auto& [path, entry] : listed) editing += JsonText(entry, "authorApp") == "qzfx" ? 0 : 1;
  ASSERT_GT(editing, 0);
  ASSERT_LT(editing, static_cast<int64_t>(listed.size()));
  std::vector<std::string> identity = service_->Identity();
  identity[1] = Path("editing.json").string();  // the --connection file
  const ProgramRun filtered = Stock({"search", "--json"}, identity);
  EXPECT_EQ(JsonInt(ParseObject(filtered), "total"), editing) << Describe(filtered);

  // Previews, thumbnails and descriptions come from the packages.
  const ProgramRun run = Stock({"search", "neon", "glow", "--previews", "--thumbnails", "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  size_t previews = 0;
  for (const auto& entry : SearchEntries(ParseObject(run))) {
    const std::string package = PackageNamed(listed, JsonText(entry, "name"));
    const zorvcapsule::CapsuleZip zip(zorvcore::FileHelperUtils::StdPathToUTF16(package), std::string());
    // The library's own extraction of the package's video thumbnail is what the preview must be.
    const fs::path expected = Path("expected.mp4");
    fs::remove(expected);
    const bool hasVideo = zip.GetTPLXThumbnailVideo(zorvcore::FileHelperUtils::StdPathToUTF16(expected));
    const std::string preview = JsonText(entry, "videoPreviewPath");
    EXPECT_EQ(!preview.empty(), hasVideo) << package;
    EXPECT_EQ(ReadWholeFile(preview), hasVideo ? ReadWholeFile(expected) : "") << package;
    previews += hasVideo ? 1 : 0;
    EXPECT_FALSE(JsonText(entry, "thumbnailPath").empty()) << package;
    EXPECT_TRUE(json::AsBool(json::GetVariantInObject(entry, "descriptionLoaded"))) << package;
    EXPECT_EQ(JsonText(entry, "capsuleID"), JsonText(listed.at(package), "capsuleID"));
  }
  EXPECT_GT(previews, 0u);

  // The table gives both in columns of their own; the second time from the cache.
  const ProgramRun table = Stock({"search", "neon", "glow", "--previews", "--thumbnails"});
  ASSERT_EQ(table.status, 0) << Describe(table);
  EXPECT_NE(table.out.find("  THUMBNAIL  "), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("  PREVIEW"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find(Path("TslStock").string()), std::string::npos) << table.out;
}

TEST_F(StockServeTest, ALicensedTemplateDownloadsByteForByteAndWrongCredentialsAreRefused) {
  const ProgramRun licence = Stock({"licence", "5", "--json"});
  ASSERT_EQ(licence.status, 0) << Describe(licence);
  EXPECT_TRUE(json::AsBool(json::GetVariantInObject(ParseObject(licence), "canPurchase")));

  // Not licensed yet, so the download endpoint refuses it.
  fs::create_directories(Path("out"));
  EXPECT_EQ(Stock({"download", "5", Path("out/early.tplx").string(), "--licensed"}).status, 1);
  EXPECT_TRUE(fs::is_empty(Path("out")));

  const std::string target = Path("out/five.tplx").string();
  const ProgramRun download = Stock({"download", "5", target});
  ASSERT_EQ(download.status, 0) << Describe(download);
  std::string name;
  for (const auto& entry : SearchEntries(ParseObject(Stock({"search", "--json"})))) {
    if (JsonText(entry, "path") != "5") continue;
    name = JsonText(entry, "name");
    EXPECT_TRUE(json::AsBool(json::GetVariantInObject(entry, "isLicensed")));
  }
  EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(PackageNamed(CatalogueEntries(), name)));
  EXPECT_EQ(Stock({"download", "5", Path("out/again.tplx").string(), "--licensed"}).status, 0);

  // Wrong credentials are refused.
  const ProgramRun wrongCredential = Stock({"search", "neon"}, service_->Identity("not-the-credential"));
  EXPECT_EQ(wrongCredential.status, 1) << Describe(wrongCredential);
  EXPECT_NE(wrongCredential.err.find("gave no access token"), std::string::npos) << wrongCredential.err;
  // A token the identity endpoint never issued gets no answer from the account's endpoints.
  const ProgramRun wrongToken =
      Stock({"licence", "1"}, {"--connection", service_->Printed("connection"), "--token", "made-up"});
  EXPECT_EQ(wrongToken.status, 1) << Describe(wrongToken);
  EXPECT_NE(service_->Program().Err().find(" 401\n"), std::string::npos);
}

// Each test runs a service of its own, or none, so the suite's templates are not made for it.
using StockServeProcessTest = ToolTest;

TEST_F(StockServeProcessTest, AServiceThatAlwaysFailsGivesNothingAndEndsCleanlyOnSigterm) {
  WriteSamples("few", 3);
  ServedStockProcess failing(Path("few"), {"--fail-rate", "1", "--seed", "7", "--latency", "1"}, temp.path());
  // Every account endpoint is admitted by one check; the search shows what the user sees of it.
  const ProgramRun search = Capsule(failing.StockLine({"search", "--json"}, failing.Identity()));
  EXPECT_EQ(JsonInt(ParseObject(search), "total"), 0) << Describe(search);
  EXPECT_EQ(search.status, 1) << Describe(search);
  EXPECT_NE(search.err.find("HTTP 503"), std::string::npos) << Describe(search);
  EXPECT_NE(failing.Program().Err().find(" 503\n"), std::string::npos);

  const fs::path state = fs::path(failing.Printed("connection")).parent_path();
  ASSERT_TRUE(fs::is_directory(state));
  EXPECT_EQ(failing.Program().Stop(SIGTERM), 0);
  EXPECT_FALSE(fs::exists(state));
}

}  // namespace
}  // namespace capsuletool
