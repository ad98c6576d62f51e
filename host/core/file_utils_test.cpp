#include "host/core/file_utils.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

TEST(FileUtilsTest, PathTextHelpers) {
  const struct {
    std::u16string path, added, removed, last, parent;
  } cases[] = {  // path, AddTrailing, RemoveTrailing, LastComponent, ParentPath
      {u"a", u"a/", u"a", u"a", u""},   {u"a/", u"a/", u"a", u"a", u""},  {u"/", u"/", u"/", u"", u"/"},
      {u"//", u"//", u"/", u"", u"/"},  {u"", u"", u"", u"", u""},        {u"/a//", u"/a//", u"/a", u"a", u"/"},
      {u"/a/b.tplx", u"/a/b.tplx/", u"/a/b.tplx", u"b.tplx", u"/a"}, {u"/a/b/", u"/a/b/", u"/a/b", u"b", u"/a"},
      {u"/a//b", u"/a//b/", u"/a//b", u"b", u"/a"},                  {u"a/b", u"a/b/", u"a/b", u"b", u"a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FileHelperUtils::UTF16ToStdPath(c.path).native());
    EXPECT_EQ(FileUtils::AddTrailingSlash(c.path), c.added);
    EXPECT_EQ(FileUtils::RemoveTrailingSlash(c.path), c.removed);
    std::u16string stripped = c.path;
    FileUtils::StripTrailingSlash(stripped);
    EXPECT_EQ(stripped, c.removed);
    EXPECT_EQ(FileUtils::GetLastComponent(c.path), c.last);
    EXPECT_EQ(FileUtils::GetParentPath(c.path), c.parent);
  }
}

TEST(FileUtilsTest, ExistenceTellsFilesFromFoldersAndEnsureDirectoryMakesTheWholePath) {
  TestTempFolder folder;
  folder.WriteFile("f", "x");
  EXPECT_FALSE(FileUtils::DirectoryExists(folder.U16(u"f")));  // the rest through File and Dir's tests
  const std::u16string deep = folder.U16(u"a/b/c/\u00e9\U0001F600/");
  EXPECT_TRUE(FileUtils::EnsureDirectoryExists(deep));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a/b/c/\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_TRUE(FileUtils::EnsureDirectoryExists(deep));  // already there
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(folder.U16(u"f/sub")));
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(folder.U16(u"f")));
  EXPECT_FALSE(FileUtils::EnsureDirectoryExists(u""));
}

// That a failed write leaves what was there is the output byte stream's test; here the results.
TEST(FileUtilsTest, SimpleWriteReplacesContentOrFails) {
  TestTempFolder folder;
  const std::u16string path = folder.U16(u"definition.json");
  ASSERT_TRUE(FileUtils::SimpleWriteStringToFile(path, "{\"a\":1}"));
  EXPECT_EQ(folder.ReadFile("definition.json"), "{\"a\":1}");
  ASSERT_TRUE(FileUtils::SimpleWriteStringToFile(path, ""));
  EXPECT_EQ(folder.ReadFile("definition.json"), "");

  EXPECT_FALSE(FileUtils::SimpleWriteStringToFile(folder.U16(u"missing/x.json"), "x"));
  folder.WriteFile("target/inner", "keep");
  EXPECT_FALSE(FileUtils::SimpleWriteStringToFile(folder.U16(u"target"), "x"));  // a folder: the commit fails
}

}  // namespace
}  // namespace zorvcore
