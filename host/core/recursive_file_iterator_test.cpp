#include "host/core/recursive_file_iterator.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

// The walk's files as paths relative to the root.
std::vector<std::u16string> Walk(const TestTempFolder& folder, const std::u16string& root) {
  std::vector<std::u16string> files;
  const std::u16string prefix = folder.U16() + u"/";
  for (RecursiveFileIterator it{Dir(root)}, end; it != end; ++it) {
    EXPECT_EQ(it->FullPath().compare(0, prefix.size(), prefix), 0);
    files.push_back(it->FullPath().substr(prefix.size()));
  }
  return files;
}

TEST(RecursiveFileIteratorTest, WalksDepthFirstInByteOrderOfNames) {
  TestTempFolder folder;
  for (const char* name : {"r/c.txt", "r/a/z.txt", "r/a/c/d.txt", "r/b.tplx", "r/A.txt", "r/\xC3\xA9/e.tplx",
                           "r/.hidden/h.png"})
    folder.WriteFile(name, "x");
  std::filesystem::create_directories(folder.path() / "r/empty/deeper");
  const std::vector<std::u16string> expected = {u"r/.hidden/h.png", u"r/A.txt", u"r/a/c/d.txt", u"r/a/z.txt",
                                                u"r/b.tplx", u"r/c.txt", u"r/\u00e9/e.tplx"};
  EXPECT_EQ(Walk(folder, folder.U16(u"r")), expected);

  for (const char16_t* empty : {u"missing", u"r/empty", u"r/c.txt"}) {  // a missing, empty or file root
    EXPECT_TRUE(Walk(folder, folder.U16(empty)).empty());
  }
  EXPECT_TRUE(RecursiveFileIterator(Dir(u"")) == RecursiveFileIterator());
}

TEST(RecursiveFileIteratorTest, DoesNotFollowLinksToFolders) {
  TestTempFolder folder;
  for (const char* name : {"r/a/f.txt", "outside/o.txt"}) folder.WriteFile(name, "x");
  std::filesystem::create_directory_symlink(folder.path() / "r", folder.path() / "r/a/loop");
  std::filesystem::create_directory_symlink(folder.path() / "outside", folder.path() / "r/out");
  std::filesystem::create_symlink(folder.path() / "r/a/f.txt", folder.path() / "r/g.txt");
  std::filesystem::create_symlink(folder.path() / "gone", folder.path() / "r/dangling");

  EXPECT_EQ(Walk(folder, folder.U16(u"r")), (std::vector<std::u16string>{u"r/a/f.txt", u"r/g.txt"}));
  // The root itself may be a link.
  EXPECT_EQ(Walk(folder, folder.U16(u"r/a/loop")),
            (std::vector<std::u16string>{u"r/a/loop/a/f.txt", u"r/a/loop/g.txt"}));
}

TEST(RecursiveFileIteratorTest, SkipsAnUnreadableFolderAndCarriesOn) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TestTempFolder folder;
  for (const char* name : {"r/a.txt", "r/locked/secret.txt", "r/z.txt"}) folder.WriteFile(name, "x");
  std::filesystem::permissions(folder.path() / "r/locked", std::filesystem::perms::none);
  EXPECT_EQ(Walk(folder, folder.U16(u"r")), (std::vector<std::u16string>{u"r/a.txt", u"r/z.txt"}));
}

TEST(RecursiveFileIteratorTest, WalksAVeryDeepTree) {
  TestTempFolder folder;
  std::filesystem::path deep = folder.path() / "r";
  for (int level = 0; level < 200; ++level) deep /= "d";
  std::filesystem::create_directories(deep);
  std::ofstream(deep / "bottom.txt") << "x";
  const std::vector<std::u16string> files = Walk(folder, folder.U16(u"r"));
  EXPECT_TRUE(files.size() == 1 && File(files[0]).GetTitle() == u"bottom");
}

}  // namespace
}  // namespace zorvcore
