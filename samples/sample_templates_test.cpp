#include "samples/sample_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "capsule/capsule_json.h"
#include "capsule/client_control.h"
#include "capsule/test_app_language.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"
#include "package/capsule_zip.h"
#include "samples/sample_template.h"
#include "samples/template_package_writer.h"

namespace zorvsamples {
namespace {

namespace fs = std::filesystem;
using zorvcapsule::Capsule;
using zorvcapsule::CapsuleZip;
using zorvstorage::ReadFileBytes;

constexpr size_t kSetSize = 24;

// Every file below `folder`, by relative path, with its bytes.
std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) contents[fs::relative(item.path(), folder).string()] = ReadFileBytes(item.path());
  }
  return contents;
}

// The description a reader gets back: the drop-zone control has no members of its own, and the
// reader makes no control of it.
std::shared_ptr<Capsule> AsRead(const Capsule& written) {
  auto expected = std::make_shared<Capsule>(written);
  zorvcapsule::ClientControlList kept;
  for (const auto& control : written.GetControls()) {
    if (control->GetType() != zorvcapsule::kGroupDropZoneControlType) kept.push_back(control);
  }
  expected->SetControls(kept);
  return expected;
}

class SampleTemplatesTest : public ::testing::Test {
 protected:
  SampleSet Write(const std::string& sub, size_t count, uint64_t seed) {
    return WriteSampleTemplates(temp.U16(zorvcore::UTF8ToUTF16(sub)), count, seed);
  }

  zorvcapsule::ScopedAppLanguage language{u"en_US"};
  zorvcore::TestTempFolder temp;
};

TEST_F(SampleTemplatesTest, EveryPackageCarriesItsDescriptionAndThumbnailAndTheSetIsVaried) {
  const SampleSet set = Write("set", kSetSize, kDefaultSampleSeed);
  ASSERT_TRUE(set.ok) << set.error;
  ASSERT_EQ(set.templates.size(), kSetSize);
  for (const WrittenTemplate& written : set.templates) {
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(written.path));
    const CapsuleZip package(written.path, std::string());
    const auto read = zorvcapsule::serialization::CapsuleFromJson(zorvcore::UTF16ToUTF8(package.GetTPLXDescriptionJSON()));
    ASSERT_TRUE(read);
    EXPECT_EQ(zorvcapsule::serialization::CapsuleToJson(read),
              zorvcapsule::serialization::CapsuleToJson(AsRead(*written.capsule)));
    const std::u16string thumbnail = temp.U16(u"thumb.png");
    ASSERT_TRUE(package.GetTPLXThumbnailPNG(thumbnail));
    EXPECT_EQ(ReadFileBytes(zorvcore::UTF16ToUTF8(thumbnail)).substr(1, 3), "PNG");
    std::u16string project;
    EXPECT_TRUE(package.GetTPLXProjectPackage(temp.U16(), u"projects", u"p", project));
    EXPECT_TRUE(fs::exists(zorvcore::UTF16ToUTF8(project)));
    fs::remove_all(temp.path() / "projects");
  }

  // Varied as a real collection.
  std::set<std::u16string> locales, folders;
  std::set<int32_t> controlKinds;
  std::set<std::pair<int32_t, int32_t>> frameSizes;
  std::set<int64_t> frameRates;
  std::set<hostbridge::MediaTime> durations;
  size_t withAudio = 0, needingCompositingApp = 0, withoutEnglishName = 0;
  for (const WrittenTemplate& written : set.templates) {
    const Capsule& capsule = *written.capsule;
    const zorvcapsule::UIString names = capsule.GetCapsuleNameLocalized();
    for (const auto& [locale, name] : names.GetLocaleMap()) locales.insert(locale);
    withoutEnglishName += !names.Find(u"en_US");
    for (const auto& control : capsule.GetControls()) controlKinds.insert(control->GetType());
    const hostbridge::SourceInfo info = capsule.GetSourceInfo();
    frameSizes.insert({info.frame_rect.size.x, info.frame_rect.size.y});
    frameRates.insert(info.frame_rate.Ticks());
    durations.insert(info.duration);
    withAudio += info.has_audio;
    needingCompositingApp += capsule.GetAuthorApp() == u"qzfx" && !capsule.CanUseQZLib(nullptr);
    EXPECT_FALSE(capsule.GetTags().empty() || capsule.GetUsedFonts().empty());
    const fs::path relative = fs::relative(zorvcore::UTF16ToUTF8(written.path), temp.path() / "set");
    folders.insert(zorvcore::UTF8ToUTF16(relative.parent_path().string()));
  }
  EXPECT_EQ(locales.size(), 5u);
  EXPECT_EQ(controlKinds.size(), 12u);
  EXPECT_GE(std::min({frameSizes.size(), frameRates.size(), durations.size()}), 3u);
  EXPECT_GT(std::min({withAudio, needingCompositingApp, withoutEnglishName}), 0u);
  EXPECT_TRUE(folders.count(u"Titles/Elegant"));
  EXPECT_GE(folders.size(), 5u);

  // Localized thumbnails, a video thumbnail, and projects of both kinds as one member, as a folder of
  // members and localized.
  std::set<std::string> names;
  for (size_t index = 0; index < kSetSize; ++index) {
    for (const PackageMember& member : MakeSampleTemplate(index, kDefaultSampleSeed).members) names.insert(member.name);
  }
  for (const char* name : {"thumb_de_DE.png", "thumb_ja_JP.png", "thumb.mp4", "project.tsgraphic",
                           "project.qzgraphic/main.qzproj", "project_de_DE.tsgraphic", "project.qzgraphic",
                           "project.tsgraphic/main.tsproj"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
}

TEST_F(SampleTemplatesTest, TheSameSeedGivesTheSameBytesAndALargerCountExtendsTheSet) {
  ASSERT_TRUE(Write("a", 8, 7).ok);
  ASSERT_TRUE(Write("b", 8, 7).ok);
  ASSERT_TRUE(Write("c", 5, 7).ok);
  ASSERT_TRUE(Write("d", 8, 8).ok);
  const auto a = FolderContents(temp.path() / "a");
  EXPECT_EQ(a.size(), 8u);
  EXPECT_EQ(a, FolderContents(temp.path() / "b"));
  for (const auto& [name, bytes] : FolderContents(temp.path() / "c")) EXPECT_EQ(a.at(name), bytes) << name;
  EXPECT_NE(a, FolderContents(temp.path() / "d"));
}

TEST_F(SampleTemplatesTest, AFailedWriteNamesTheFileAndKeepsWhatWasThereAndRawMembersAreStoredAsGiven) {
  temp.WriteFile("blocker", "a file where a folder should be");
  const SampleSet set = Write("blocker/set", 3, 1);
  EXPECT_FALSE(set.ok);
  EXPECT_TRUE(set.templates.empty());
  EXPECT_NE(set.error.find("blocker/set"), std::string::npos) << set.error;

  const std::u16string path = temp.U16(u"kept.tplx");
  ASSERT_TRUE(WritePackageMembers(path, {{"definition.json", "first"}}).ok);
  const WriteResult written = WritePackageMembers(path, {{"definition.json", "{"}, {"definition.json", "twice"}});
  EXPECT_FALSE(written.ok);
  EXPECT_NE(written.error.find("kept.tplx"), std::string::npos) << written.error;
  EXPECT_EQ(CapsuleZip(path, std::string()).GetTPLXDescriptionJSON(), u"first");
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 2) << "a temporary file was left";

  // Hostile packages for other tests: members are stored as given.
  const std::u16string raw = temp.U16(u"raw.tplx");
  ASSERT_TRUE(WritePackageMembers(raw, {{"definition.json", "not json"}, {"../escape.txt", "x"}, {"folder/", ""}}).ok);
  EXPECT_EQ(CapsuleZip(raw, std::string()).GetTPLXDescriptionJSON(), u"not json");
  EXPECT_TRUE(CapsuleZip(raw, std::string()).UnzipItem("../escape.txt"));
}

}  // namespace
}  // namespace zorvsamples
