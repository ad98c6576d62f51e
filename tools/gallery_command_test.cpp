// `capsule gallery`, run as a user runs it: what the site holds, how a second run updates it, and
// which folders it refuses. The page itself is tested in a browser (tools/gallery/).

#include <map>

#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr size_t kSetSize = 12;

class GalleryCommandTest : public ToolTest {
 protected:
  ProgramRun Gallery(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{"gallery", Path("templates").string(), "--out", Path("site").string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return Capsule(arguments);
  }

  json::JSONArray Entries() const {
    const json::JSONValuePtr root = json::JSONParse(ReadWholeFile(Path("site/catalogue.json")));
    EXPECT_TRUE(root && root->IsObject());
    return root && root->IsObject() ? json::AsArray(json::GetVariantInObject(root, "entries")) : json::JSONArray();
  }

  // The files below an owned subfolder of the site, with their modification times.
  std::map<std::string, fs::file_time_type> FilesIn(const std::string& subfolder) const {
    std::map<std::string, fs::file_time_type> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Path("site/" + subfolder), error)) {
      files[entry.path().filename().string()] = entry.last_write_time();
    }
    return files;
  }
};

// The site holds the page, the catalogue's entries and every thumbnail; a second run copies only what
// changed and removes what is gone. (The words, the controls and the page's reading of the data
// files are checked in the browser, tools/gallery/gallery_browser_test.py.)
TEST_F(GalleryCommandTest, SiteHoldsThePageTheCatalogueAndEveryThumbnailAndFollowsChanges) {
  const zorvsamples::SampleSet set = WriteSamples("templates", kSetSize);
  const std::vector<std::string> title{"--title", "<Ours & theirs>"};  // the same at every run
  const ProgramRun run = Gallery(title);
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(Lines(run.out).back(), "file://" + Path("site/index.html").string());

  const std::string page = ReadWholeFile(Path("site/index.html"));
  EXPECT_THAT(page, HasSubstr("<title>&lt;Ours &amp; theirs&gt;</title>"));
  // Nothing is fetched from elsewhere: no address names another host or scheme.
  for (const char* file : {"index.html", "gallery.css", "gallery.js"}) {
    const std::string text = ReadWholeFile(Path(std::string("site/") + file));
    for (const char* address : {"http:", "https:", "\"//", "url("}) EXPECT_THAT(text, Not(HasSubstr(address))) << file;
  }

  const json::JSONArray catalogued = json::AsArray(
      json::GetVariantInObject(ParseObject(Capsule({"catalogue", Path("templates").string(), "--json"})), "entries"));
  const json::JSONArray entries = Entries();
  ASSERT_EQ(entries.size(), catalogued.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(JsonText(entries[i], "path"));
    EXPECT_EQ(JsonText(entries[i], "path"), JsonText(catalogued[i], "path")) << "the catalogue's entries, in its order";
    EXPECT_EQ(ReadWholeFile(Path("site/" + JsonText(entries[i], "thumbnailPath"))).substr(0, 4), "\x89PNG");
    const std::string& preview = JsonText(entries[i], "videoPreviewPath");
    EXPECT_EQ(preview.empty(), JsonText(catalogued[i], "videoPreviewPath").empty());
    EXPECT_TRUE(preview.empty() || fs::is_regular_file(Path("site/" + preview))) << preview;
  }

  const auto thumbnails = FilesIn("thumbnails");
  ASSERT_EQ(thumbnails.size(), kSetSize);
  const ProgramRun again = Gallery(title);
  ASSERT_EQ(again.status, 0) << Describe(again);
  EXPECT_THAT(again.out, HasSubstr(": 0 files written, "));
  EXPECT_EQ(FilesIn("thumbnails"), thumbnails) << "untouched files keep their times";

  // One template gone, one changed: its thumbnail is replaced, the other's removed. The changed
  // package is dated later, as an edit would date it.
  fs::remove(Utf8(set.templates[0].path));
  const fs::path changed = Utf8(set.templates[1].path);
  const auto before = fs::last_write_time(changed);
  fs::copy_file(Utf8(set.templates[2].path), changed, fs::copy_options::overwrite_existing);
  fs::last_write_time(changed, before + std::chrono::seconds(10));
  fs::create_directories(Path("site/thumbnails/stale-folder"));
  const ProgramRun third = Gallery(title);
  ASSERT_EQ(third.status, 0) << Describe(third);
  const auto now = FilesIn("thumbnails");
  EXPECT_EQ(now.size(), kSetSize - 1);
  size_t kept = 0;
  for (const auto& [name, time] : now) kept += thumbnails.count(name) && thumbnails.at(name) == time;
  EXPECT_EQ(kept, kSetSize - 2) << "only the changed template's thumbnail is copied again";
  EXPECT_EQ(Entries().size(), kSetSize - 1);
}

TEST_F(GalleryCommandTest, RefusesAFolderThatHoldsSomethingElse) {
  WriteSamples("templates", 2);
  fs::create_directories(Path("site"));
  { std::ofstream(Path("site/notes.txt")) << "mine"; }
  const ProgramRun run = Gallery();
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("holds other files than a gallery"));
  EXPECT_EQ(ReadWholeFile(Path("site/notes.txt")), "mine");
  EXPECT_FALSE(fs::exists(Path("site/index.html")));

  // What an interrupted first run leaves is taken up again.
  fs::remove(Path("site/notes.txt"));
  fs::create_directories(Path("site/thumbnails"));
  { std::ofstream(Path("site/index.html")) << "<!doctype html>"; }
  EXPECT_EQ(Gallery().status, 0);
  EXPECT_TRUE(fs::exists(Path("site/catalogue.js")));
}

}  // namespace
}  // namespace capsuletool
