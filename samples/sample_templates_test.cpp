#include "samples/sample_templates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "capsule/test_app_language.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"
#include "package/capsule_zip.h"
#include "samples/template_package_writer.h"

namespace zorvsamples {
namespace {

namespace fs = std::filesystem;
using zorvcapsule::CapsuleZip;
using zorvstorage::ReadFileBytes;

// Every file below `folder`, by relative path, with its bytes.
std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) contents[fs::relative(item.path(), folder).string()] = ReadFileBytes(item.path());
  }
  return contents;
}

class SampleTemplatesTest : public ::testing::Test {
 protected:
  SampleSet Write(const std::string& sub, size_t count, uint64_t seed) {
    return WriteSampleTemplates(temp.U16(zorvcore::UTF8ToUTF16(sub)), count, seed);
  }

  zorvcapsule::ScopedAppLanguage language{u"en_US"};
  zorvcore::TestTempFolder temp;
};

// The set for one seed is pinned by the tools' sample outputs (tools/testdata); another seed must not
// give that set again.
TEST_F(SampleTemplatesTest, AnotherSeedGivesAnotherSet) {
  ASSERT_TRUE(Write("a", 3, 7).ok);
  ASSERT_TRUE(Write("b", 3, 8).ok);
  EXPECT_NE(FolderContents(temp.path() / "a"), FolderContents(temp.path() / "b"));
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
