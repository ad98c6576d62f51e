#include "package/capsule_zip.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capsule/test_app_language.h"
#include "host/core/locale.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"

namespace zorvcapsule {
namespace {

namespace fs = std::filesystem;
using zorvcore::FileHelperUtils;
using zorvstorage::NoiseBytes;
using zorvstorage::ReadFileBytes;
using zorvstorage::TestZipBuilder;
using zorvstorage::WriteFileBytes;

class CapsuleZipTest : public ::testing::Test {
 protected:
  fs::path Package() const { return temp_.path() / "template.tplx"; }
  CapsuleZip Open() const { return CapsuleZip(FileHelperUtils::StdPathToUTF16(Package()), ""); }
  std::u16string U16(const fs::path& path) const { return FileHelperUtils::StdPathToUTF16(path); }

  ScopedAppLanguage language_{u"en_US"};
  zorvcore::TestTempFolder temp_;
};

// ---- Description ----

TEST_F(CapsuleZipTest, TheDescriptionIsReplacedFromTheFolderGiven) {
  TestZipBuilder(Package()).Add("definition.json", "{\"v\":1}").Add("thumb.png", "png").Write();
  const fs::path folder = temp_.path() / "edited";
  fs::create_directories(folder);
  WriteFileBytes(folder / "definition.json", "{\"v\":2}");

  const CapsuleZip zip = Open();
  ASSERT_TRUE(zip.SetTPLXDescriptionJSON(U16(folder)));
  EXPECT_EQ(Open().GetTPLXDescriptionJSON(), u"{\"v\":2}");
  EXPECT_FALSE(zip.SetTPLXDescriptionJSON(U16(temp_.path() / "nowhere")));
}

// ---- Thumbnails ----

TEST_F(CapsuleZipTest, TheLocalizedThumbnailWithBytesComesFirst) {
  const struct {
    std::vector<std::pair<std::string, std::string>> members;
    const char16_t* language;
    const char* png;  // nullptr: no still thumbnail
    const char* mp4;  // nullptr: no video thumbnail
  } cases[] = {
      {{{"thumb_en_US.png", "en png"}, {"thumb.png", "png"}, {"thumb_en_US.mp4", "en mp4"}, {"thumb.mp4", "mp4"}},
       u"en_US", "en png", "en mp4"},
      {{{"thumb_en_US.png", "en png"}, {"thumb.png", "png"}, {"thumb_en_US.mp4", "en mp4"}, {"thumb.mp4", "mp4"}},
       u"de_DE", "png", "mp4"},
      {{{"thumb_en_US.png", ""}, {"thumb.png", "png"}}, u"en_US", "png", nullptr},
      {{{"thumb.png", ""}, {"thumb.mp4.txt", "not a video thumbnail"}, {"definition.json", "{}"}}, u"en_US", nullptr,
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    TestZipBuilder builder(Package());
    for (const auto& [name, bytes] : c.members) builder.Add(name, bytes);
    builder.Write();
    zorvcore::Locale::SetApplicationLanguage(c.language);
    const fs::path png = temp_.path() / "still.png";
    const fs::path mp4 = temp_.path() / "video.mp4";
    EXPECT_EQ(Open().GetTPLXThumbnailPNG(U16(png)), c.png != nullptr);
    EXPECT_EQ(Open().GetTPLXThumbnailVideo(U16(mp4)), c.mp4 != nullptr);
    EXPECT_EQ(fs::exists(png) ? ReadFileBytes(png) : "<none>", c.png ? c.png : "<none>");
    EXPECT_EQ(fs::exists(mp4) ? ReadFileBytes(mp4) : "<none>", c.mp4 ? c.mp4 : "<none>");
    fs::remove(png);
    fs::remove(mp4);
  }
}

TEST_F(CapsuleZipTest, AThumbnailReplacesTheDestinationWholeAndACachedOneIsTrustedOnlyAtTheMembersSize) {
  const std::string image = NoiseBytes(20000);
  TestZipBuilder(Package()).Add("thumb.png", image).Write();
  const fs::path cache = temp_.path() / "cache";
  fs::create_directories(cache);
  WriteFileBytes(cache / "still.png", NoiseBytes(90000, 3));

  ASSERT_TRUE(Open().GetTPLXThumbnailPNG(U16(cache / "still.png")));
  EXPECT_EQ(ReadFileBytes(cache / "still.png"), image);
  EXPECT_EQ(std::distance(fs::directory_iterator(cache), fs::directory_iterator()), 1);

  // A destination that cannot be written still reports the thumbnail the package holds.
  EXPECT_TRUE(Open().GetTPLXThumbnailPNG(U16(temp_.path() / "missing" / "still.png")));
  EXPECT_FALSE(fs::exists(temp_.path() / "missing"));

  // A videod thumbnail is trusted only at the member's size.
  TestZipBuilder(Package()).Add("thumb_en_US.mp4", "english mp4").Add("thumb.mp4", "plain").Write();
  const fs::path video = temp_.path() / "video.mp4";
  // Missing, empty, short, or the plain member's size: written (again) with the localized member.
  for (const char* found : {static_cast<const char*>(nullptr), "", "english", "other"}) {
    SCOPED_TRACE(found ? found : "missing");
    if (found) WriteFileBytes(video, found);
    ASSERT_TRUE(Open().CacheTPLXThumbnailVideo(U16(video)));
    EXPECT_EQ(ReadFileBytes(video), "english mp4");
    fs::remove(video);
  }
  WriteFileBytes(video, "same length");
  ASSERT_TRUE(Open().CacheTPLXThumbnailVideo(U16(video)));
  EXPECT_EQ(ReadFileBytes(video), "same length") << "a file of the member's size is the videod thumbnail";

  // Without a thumbnail member a file already there counts for nothing.
  WriteFileBytes(video, "png!");
  EXPECT_FALSE(Open().CacheTPLXThumbnailPNG(U16(video)));
  EXPECT_EQ(ReadFileBytes(video), "png!");
}

// ---- Project package ----

class CapsuleZipProjectTest : public CapsuleZipTest {
 protected:
  fs::path Base() const { return temp_.path() / "projects"; }
  bool Extract(std::u16string& output, const std::u16string& subfolder = u"Sub",
               const std::u16string& target = u"My Title") {
    return Open().GetTPLXProjectPackage(U16(Base()), subfolder, target, output);
  }
};

TEST_F(CapsuleZipProjectTest, TheFourTriesGoInTheirFixedOrderAndWithoutOneTheOutputIsLeftAlone) {
  struct Case {
    std::vector<std::string> members;
    std::string winner;
    std::u16string extension;
  };
  const std::vector<Case> cases = {
      {{"project.qzgraphic", "project_en_US.qzgraphic", "project.tsgraphic", "project_en_US.tsgraphic"},
       "project_en_US.tsgraphic", u".tsgraphic"},
      {{"project_en_US.qzgraphic", "project.tsgraphic"}, "project.tsgraphic", u".tsgraphic"},
      {{"project.qzgraphic", "project_en_US.qzgraphic"}, "project_en_US.qzgraphic", u".qzgraphic"},
      {{"project_de_DE.tsgraphic", "project.qzgraphic"}, "project.qzgraphic", u".qzgraphic"},
      {{"definition.json", "project.txt"}, "", u""},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.winner.empty() ? "none" : c.winner);
    TestZipBuilder builder(Package());
    for (const std::string& member : c.members) builder.Add(member, member);
    builder.Write();
    const std::u16string target = u"T" + std::u16string(1, static_cast<char16_t>(u'0' + round++));
    std::u16string output = u"unchanged";
    ASSERT_EQ(Extract(output, u"Sub", target), !c.winner.empty());
    EXPECT_EQ(output, c.winner.empty() ? u"unchanged" : U16(Base() / "Sub") + u"/" + target + c.extension);
    if (c.winner.empty()) continue;
    EXPECT_EQ(ReadFileBytes(FileHelperUtils::UTF16ToStdPath(output) / c.winner), c.winner);
  }
}

TEST_F(CapsuleZipProjectTest, AFolderOfMembersIsTheProjectFolderARefusedTryFallsThroughNamesStayInside) {
  TestZipBuilder(Package()).Add("project_en_US.tsgraphic/main.json", "main")
      .Add("project_en_US.tsgraphic/media/a.png", "a").Add("project.tsgraphic", "plain").Write();
  std::u16string output;
  ASSERT_TRUE(Extract(output));
  const fs::path folder = Base() / "Sub" / "My Title.tsgraphic";
  EXPECT_EQ(output, U16(folder));
  EXPECT_EQ(ReadFileBytes(folder / "main.json"), "main");
  EXPECT_FALSE(fs::exists(folder / "project.tsgraphic"));

  TestZipBuilder(Package()).Add("project_en_US.tsgraphic/main.json", "main")
      .Add("project_en_US.tsgraphic/../../../escaped.json", "evil")
      .Add("project.tsgraphic/main.json", "plain main").Write();
  ASSERT_TRUE(Extract(output, u"Sub", u"Other"));
  EXPECT_EQ(ReadFileBytes(Base() / "Sub" / "Other.tsgraphic" / "main.json"), "plain main");

  // Target and subfolder names cannot leave the base folder.
  TestZipBuilder(Package()).Add("project.tsgraphic", "ts").Write();
  for (const auto& [subfolder, target] : {std::pair<std::u16string, std::u16string>{u"Sub", u"../escape"},
       {u"Sub", u".."}, {u"Sub", u"a/b"}, {u"Sub", u""}, {u"..", u"T"}, {u"x/../..", u"T"}}) {
    std::u16string kept = u"unchanged";
    EXPECT_FALSE(Extract(kept, subfolder, target));
    EXPECT_EQ(kept, u"unchanged");
  }
  EXPECT_FALSE(fs::exists(temp_.path() / "escape.tsgraphic"));
  EXPECT_FALSE(fs::exists(temp_.path() / "T.tsgraphic"));
  ASSERT_TRUE(Extract(output, u"", u"T"));
  EXPECT_EQ(output, U16(Base() / "T.tsgraphic"));
}

// ---- Finding project files ----

class UnzippedProjectTest : public CapsuleZipTest {
 protected:
  UnzippedProjectTest() {
    for (const char* file : {"one.tsgraphic", "TWO.TSGRAPHIC", "sub/three.TsGraphic",
                             "sub/deeper/four.tsgraphic", "other.qzgraphic", "tsgraphic",
                             "five.tsgraphic.bak", "sixtsgraphic", "d.tsgraphic/inside.json"}) {
      temp_.WriteFile(std::string("root/") + file, "x");
    }
  }
  std::u16string Root() const { return U16(temp_.path() / "root"); }
  std::set<std::u16string> Found(const char* extension) const {
    const auto found = CapsuleZip::GetPathOfUnZippedProject(extension, Root());
    return found ? std::set<std::u16string>(found->begin(), found->end())
                 : std::set<std::u16string>{u"<nullopt>"};
  }
  std::u16string At(const char* relative) const { return Root() + u"/" + zorvcore::UTF8ToUTF16(relative); }
};

TEST_F(UnzippedProjectTest, FindsTheExpressionAsAnExtensionInAnyCaseAtAnyDepthWalkingLinksOnce) {
  fs::create_directory_symlink("..", temp_.path() / "root" / "sub" / "up");
  fs::create_directory_symlink(".", temp_.path() / "root" / "self");
  fs::create_symlink("nowhere", temp_.path() / "root" / "dangling.tsgraphic");
  // Any character may stand before the extension, but a bare "tsgraphic" never matches.
  const std::set<std::u16string> ts = {At("one.tsgraphic"), At("TWO.TSGRAPHIC"), At("sub/three.TsGraphic"),
                                       At("sub/deeper/four.tsgraphic"), At("sixtsgraphic")};
  EXPECT_EQ(Found("tsgraphic"), ts);
  std::set<std::u16string> both = ts;
  both.insert(At("other.qzgraphic"));
  EXPECT_EQ(Found("tsgraphic|qzgraphic"), both);
  EXPECT_EQ(Found("json"), (std::set<std::u16string>{At("d.tsgraphic/inside.json")}));
  // Nothing found, a folder that cannot be listed and a bad expression are all an empty optional.
  for (const auto& [expression, root] : {std::pair<const char*, std::u16string>{"aegraphic", Root()},
       {"tsgraphic", Root() + u"/missing"}, {"tsgraphic", At("one.tsgraphic")}, {"(unbalanced", Root()},
       {nullptr, Root()}}) {
    EXPECT_EQ(CapsuleZip::GetPathOfUnZippedProject(expression, root), std::nullopt);
  }

  for (const char* file : {"sub/a.tsgraphic", "sub/b.tsgraphic", "sub/deeper/c.tsgraphic", "sub2/d.tsgraphic",
                           "z.tsgraphic", "y.tsgraphic"}) {
    temp_.WriteFile(std::string("root/") + file, "x");
  }
  const auto found = CapsuleZip::GetPathOfUnZippedProject("tsgraphic", Root());
  ASSERT_EQ(found.value_or(std::vector<std::u16string>()).size(), 11u);  // each found once, links walked once
  // Depth first: the matches below one folder come together, whatever order the listing gives.
  for (const char* folder : {"sub/", "sub/deeper/", "sub2/"}) {
    std::vector<size_t> at;
    for (size_t i = 0; i < found->size(); ++i) {
      if ((*found)[i].starts_with(At(folder))) at.push_back(i);
    }
    ASSERT_FALSE(at.empty()) << folder;
    EXPECT_EQ(at.back() - at.front() + 1, at.size()) << folder;
  }
}

TEST_F(UnzippedProjectTest, AFailingSubfolderKeepsWhatItFoundAndItsParentGoesOn) {
  // Matching this name against this expression gives up with an exception part way through the
  // "bad" folder's listing.
  const std::string bomb(200, 'a');
  temp_.WriteFile("root/bad/" + bomb, "x");
  temp_.WriteFile("root/bad/k.tsgraphic", "x");
  bool keptBeforeBomb = false;
  for (const auto& entry : fs::directory_iterator(temp_.path() / "root" / "bad")) {
    if (entry.path().filename() == bomb) break;
    keptBeforeBomb = true;
  }
  std::set<std::u16string> expected = {At("one.tsgraphic"), At("TWO.TSGRAPHIC"), At("sub/three.TsGraphic"),
                                       At("sub/deeper/four.tsgraphic"), At("sixtsgraphic")};
  if (keptBeforeBomb) expected.insert(At("bad/k.tsgraphic"));
  EXPECT_EQ(Found("(a*)*b|tsgraphic"), expected);
}

}  // namespace
}  // namespace zorvcapsule
