#include "host/core/file_utils.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().native());
  }
  return names;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

TEST(FileUtilsTest, TrailingSlashHelpers) {
  EXPECT_EQ(FileUtils::AddTrailingSlash(u"a"), u"a/");
  EXPECT_EQ(FileUtils::AddTrailingSlash(u"a/"), u"a/");
  EXPECT_EQ(FileUtils::AddTrailingSlash(u"/"), u"/");
  EXPECT_EQ(FileUtils::AddTrailingSlash(u""), u"");

  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u"a"), u"a");
  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u"a/"), u"a");
  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u"/a//"), u"/a");
  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u"/"), u"/");
  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u"//"), u"/");
  EXPECT_EQ(FileUtils::RemoveTrailingSlash(u""), u"");

  std::u16string path = u"/tmp/x/";
  FileUtils::StripTrailingSlash(path);
  EXPECT_EQ(path, u"/tmp/x");
  path = u"/";
  FileUtils::StripTrailingSlash(path);
  EXPECT_EQ(path, u"/");
}

TEST(FileUtilsTest, LastComponentAndParentIgnoreTrailingSeparators) {
  EXPECT_EQ(FileUtils::GetLastComponent(u"/a/b.tplx"), u"b.tplx");
  EXPECT_EQ(FileUtils::GetLastComponent(u"/a/b/"), u"b");
  EXPECT_EQ(FileUtils::GetLastComponent(u"name"), u"name");
  EXPECT_EQ(FileUtils::GetLastComponent(u"/"), u"");

  EXPECT_EQ(FileUtils::GetParentPath(u"/a/b"), u"/a");
  EXPECT_EQ(FileUtils::GetParentPath(u"/a/b/"), u"/a");
  EXPECT_EQ(FileUtils::GetParentPath(u"/a//b"), u"/a");
  EXPECT_EQ(FileUtils::GetParentPath(u"/a"), u"/");
  EXPECT_EQ(FileUtils::GetParentPath(u"/"), u"/");
  EXPECT_EQ(FileUtils::GetParentPath(u"a/b"), u"a");
  EXPECT_EQ(FileUtils::GetParentPath(u"a"), u"");
  EXPECT_EQ(FileUtils::GetParentPath(u""), u"");
}

TEST(FileUtilsTest, ExistenceTellsFilesFromFolders) {
  TestTempFolder folder;
  folder.WriteFile("f", "x");
  EXPECT_TRUE(FileUtils::FileExists(folder.U16(u"f")));
  EXPECT_FALSE(FileUtils::DirectoryExists(folder.U16(u"f")));
  EXPECT_TRUE(FileUtils::DirectoryExists(folder.U16()));
  EXPECT_FALSE(FileUtils::FileExists(folder.U16()));
  EXPECT_FALSE(FileUtils::FileExists(folder.U16(u"missing")));
  EXPECT_FALSE(FileUtils::DirectoryExists(folder.U16(u"missing")));
}

TEST(FileUtilsTest, EnsureDirectoryExistsMakesTheWholePath) {
  TestTempFolder folder;
  const std::u16string deep = folder.U16(u"a/b/c/\u00e9\U0001F600/");
  EXPECT_TRUE(FileUtils::EnsureDirectoryExists(deep));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a/b/c/\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_TRUE(FileUtils::EnsureDirectoryExists(deep));  // already there

  folder.WriteFile("file", "x");
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(folder.U16(u"file/sub")));
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(folder.U16(u"file")));
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(u""));
}

TEST(FileUtilsTest, SimpleWriteReplacesContentAndLeavesNoTemporaryFile) {
  TestTempFolder folder;
  const std::u16string path = folder.U16(u"definition.json");
  ASSERT_TRUE(FileUtils::SimpleWriteStringToFile(path, "{\"a\":1}"));
  EXPECT_EQ(ReadAll(folder.path() / "definition.json"), "{\"a\":1}");
  ASSERT_TRUE(FileUtils::SimpleWriteStringToFile(path, "\xC3\xA9"));
  EXPECT_EQ(ReadAll(folder.path() / "definition.json"), "\xC3\xA9");
  ASSERT_TRUE(FileUtils::SimpleWriteStringToFile(path, ""));
  EXPECT_EQ(std::filesystem::file_size(folder.path() / "definition.json"), 0u);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"definition.json"});
}

TEST(FileUtilsTest, SimpleWriteFailsWithoutCreatingOrDamagingAnything) {
  TestTempFolder folder;
  EXPECT_FALSE(FileUtils::SimpleWriteStringToFile(folder.U16(u"missing/x.json"), "x"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));

  // A folder cannot be replaced by a file: it and its content stay, and no temporary is left.
  folder.WriteFile("target/inner", "keep");
  EXPECT_FALSE(FileUtils::SimpleWriteStringToFile(folder.U16(u"target"), "x"));
  EXPECT_EQ(ReadAll(folder.path() / "target/inner"), "keep");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"target"});
}

}  // namespace
}  // namespace zorvcore
