#include "host/core/file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "host/core/dir.h"
#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

TEST(FileTest, TitleExtensionAndParentOfOddNames) {
  const struct {
    std::u16string path, title, extension;  // the extension with its dot
  } cases[] = {
      {u"/t/a.b.tplx", u"a.b", u".tplx"},     {u"/t/.hidden", u".hidden", u""},
      {u"/t/.DS_Store", u".DS_Store", u""},   {u"/t/noext", u"noext", u""},
      {u"/t/UPPER.TPLX", u"UPPER", u".TPLX"}, {u"/t/.hidden.tplx", u".hidden", u".tplx"},
      {u"/t/trailing.", u"trailing", u"."},   {u"/t/..a", u".", u".a"},
      {u"/t.d/noext", u"noext", u""},  // a dot in a folder name is not an extension
      {u"plain.tplx", u"plain", u".tplx"},    {u"/t/\U0001F600.\u00e9", u"\U0001F600", u".\u00e9"},
  };
  for (const auto& c : cases) {
    const File file(c.path, 0);
    SCOPED_TRACE(std::filesystem::path(FileHelperUtils::UTF16ToStdPath(c.path)).native());
    EXPECT_EQ(file.GetTitle(), c.title);
    EXPECT_EQ(file.GetExtension(true), c.extension);
    EXPECT_EQ(file.GetExtension(false), c.extension.empty() ? u"" : c.extension.substr(1));
  }
  EXPECT_EQ(File(u"/a/b/c.tplx").Parent(), Dir(u"/a/b"));
  EXPECT_EQ(File(u"/c.tplx").Parent().FullPath(), u"/");
  EXPECT_TRUE(File(u"/c.tplx").Parent().IsTopLevelDir());
}

TEST(FileTest, MissingFileAnswersMissingAndCreateMakesAnEmptyOne) {
  TestTempFolder folder;
  EXPECT_FALSE(File(folder.U16(u"missing.tplx")).Modified().IsSet());
  for (const File& missing : {File(folder.U16(u"missing.tplx")), File(folder.U16())}) {  // a folder is not a file
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Size(), 0);
  }

  const File created(folder.U16(u"\U0001F600 new.json"));
  ASSERT_TRUE(created.Create());
  EXPECT_TRUE(created.Exists());
  EXPECT_EQ(created.Size(), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "\xF0\x9F\x98\x80 new.json"));

  folder.WriteFile("full", "12345");
  EXPECT_EQ(File(folder.U16(u"full")).Size(), 5);
  ASSERT_TRUE(File(folder.U16(u"full")).Create());
  EXPECT_EQ(File(folder.U16(u"full")).Size(), 0);

  EXPECT_FALSE(File(folder.U16(u"missing/x")).Create());
  EXPECT_FALSE(File(folder.U16()).Create());
}

TEST(FileTest, ModifiedFollowsTheFilesTimeWithSubSecondPrecision) {
  TestTempFolder folder;
  folder.WriteFile("a.tplx", "x");
  const File file(folder.U16(u"a.tplx"));
  using namespace std::chrono;
  const sys_time<microseconds> first = sys_days(year(2020) / 1 / 2) + hours(3) + microseconds(456789);
  std::filesystem::last_write_time(folder.path() / "a.tplx", file_clock::from_sys(first));
  EXPECT_EQ(file.Modified().microseconds, first.time_since_epoch().count());
  std::filesystem::last_write_time(folder.path() / "a.tplx", file_clock::from_sys(first + microseconds(1)));
  EXPECT_EQ(file.Modified().microseconds, first.time_since_epoch().count() + 1);
}

}  // namespace
}  // namespace zorvcore
