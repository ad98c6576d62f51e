#include "host/core/dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "host/core/test_environment_variable.h"
#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

std::vector<std::u16string> ListedNames(const Dir& dir) {
  std::vector<std::u16string> names;
  for (auto it = dir.BeginFiles(); it != dir.EndFiles(); ++it)
    names.push_back(it->GetTitle() + it->GetExtension(true));
  return names;
}

TEST(DirTest, PathsAreKeptInNormalFormWithNamesAndParentsUpToTheRoot) {
  for (const auto& [given, normal] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"/a/b/", u"/a/b"}, {u"//a//b//", u"/a/b"}, {u"/", u"/"}, {u"///", u"/"}}) {
    EXPECT_EQ(Dir(given).FullPath(), normal);
  }
  EXPECT_FALSE(Dir(u"/a/b") == Dir(u"/a/B"));
  EXPECT_EQ(Dir(Dir(u"/a/"), u"b").FullPath(), u"/a/b");
  EXPECT_EQ(Dir(Dir(u"/"), u"b").FullPath(), u"/b");
  const Dir dir(u"/a/\u00e9\U0001F600");
  EXPECT_EQ(dir.GetName(), u"\u00e9\U0001F600");
  EXPECT_EQ(dir.Parent(), Dir(u"/a"));
  EXPECT_FALSE(dir.Parent().IsTopLevelDir());
  EXPECT_TRUE(dir.Parent().Parent().IsTopLevelDir());
  EXPECT_EQ(Dir(u"/").Parent(), Dir(u"/"));
  EXPECT_EQ(Dir(u"/").GetName(), u"");
}

TEST(DirTest, ListsOneLevelOfFilesInByteOrderAndNothingForAMissingFolder) {
  TestTempFolder folder;
  for (const char* name : {"b.tplx", "a.tplx", "B.tplx", "\xC3\xA9.tplx", "_x", ".hidden", "a", "sub/inner.tplx"})
    folder.WriteFile(name, "x");
  std::filesystem::create_directory(folder.path() / "emptysub");
  std::filesystem::create_symlink(folder.path() / "b.tplx", folder.path() / "link.tplx");
  std::filesystem::create_directory_symlink(folder.path() / "sub", folder.path() / "linkdir");
  folder.WriteFile("bad\xFF.tplx", "x");  // no UTF-16 form: left out

  const std::vector<std::u16string> expected = {u".hidden", u"B.tplx", u"_x", u"a", u"a.tplx", u"b.tplx",
                                                u"link.tplx", u"\u00e9.tplx"};
  const Dir dir(folder.U16());
  EXPECT_EQ(ListedNames(dir), expected);

  EXPECT_TRUE(ListedNames(Dir(folder.U16(u"missing"))).empty());
  EXPECT_TRUE(ListedNames(Dir(folder.U16(u"a"))).empty());  // a file
  EXPECT_TRUE(ListedNames(Dir(u"")).empty());
  EXPECT_TRUE(Dir(folder.U16(u"missing")).BeginFiles() == Dir(folder.U16()).EndFiles());
}

TEST(DirTest, DeleteRemovesTheWholeTreeButNothingOutsideIt) {
  TestTempFolder folder;
  for (const char* name : {"tree/a/b/c.png", "tree/d.mp4", "outside/keep.png"}) folder.WriteFile(name, "x");
  std::filesystem::create_directory_symlink(folder.path() / "outside", folder.path() / "tree/a/out");
  const Dir tree(folder.U16(u"tree"));
  EXPECT_TRUE(tree.Exists());
  EXPECT_TRUE(tree.Delete());
  EXPECT_FALSE(tree.Exists());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "tree"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "outside/keep.png"));
  EXPECT_TRUE(tree.Delete());  // nothing there: nothing to do

  folder.WriteFile("plain", "x");
  EXPECT_FALSE(Dir(folder.U16(u"plain")).Delete());
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "plain"));

  // Deleting a link to a folder removes the link only.
  std::filesystem::create_directory_symlink(folder.path() / "outside", folder.path() / "link");
  EXPECT_TRUE(Dir(folder.U16(u"link")).Delete());
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(folder.path() / "link")));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "outside/keep.png"));
}

// Following $TMPDIR is the temporary-folder and catalogue tests'; here the fallback.
TEST(DirTest, TempDirFallsBackToTmpWhenTmpdirNamesNoFolder) {
  TestTempFolder folder;
  const ScopedEnvironmentVariable tmp("TMPDIR", (folder.path() / "missing").native());
  EXPECT_EQ(Dir::TempDir().FullPath(), u"/tmp");
}

}  // namespace
}  // namespace zorvcore
