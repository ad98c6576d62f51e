#include "host/storage/member_name.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvstorage {
namespace {

TEST(MemberNameTest, PlainRelativePathsAreSafe) {
  for (const char* name : {"definition.json", "project.tsgraphic/media/a b.png", "thumb_en_US.png",
                           ".hidden", "a..b/c...", "d\xC3\xA9j\xC3\xA0/\xE2\x82\xAC.png"}) {
    EXPECT_TRUE(MemberName::IsSafeRelativePath(name)) << name;
  }
}

TEST(MemberNameTest, NamesThatCouldLeaveTheDestinationAreRefused) {
  for (const char* name :
       {"", "/etc/passwd", "//server/share", "../evil", "a/../../evil", "a/..", "..", ".", "./a",
        "a/./b", "a//b", "a/", "C:evil", "c:/evil", "Z:\\evil", "..\\evil", "a\\..\\..\\evil",
        "a\\b"}) {
    EXPECT_FALSE(MemberName::IsSafeRelativePath(name)) << name;
  }
}

TEST(MemberNameTest, ControlCharactersIllFormedTextAndOverlongNamesAreRefused) {
  EXPECT_FALSE(MemberName::IsSafeRelativePath(std::string("a\0b", 3)));
  EXPECT_FALSE(MemberName::IsSafeRelativePath("a\nb"));
  EXPECT_FALSE(MemberName::IsSafeRelativePath("a\x7F"));
  EXPECT_FALSE(MemberName::IsSafeRelativePath("bad\xFF.png"));
  EXPECT_FALSE(MemberName::IsSafeRelativePath("\xC0\xAE\xC0\xAE/evil"));  // overlong "..": ill-formed

  EXPECT_TRUE(MemberName::IsSafeRelativePath(std::string(MemberName::kMaxComponentBytes, 'a')));
  EXPECT_FALSE(MemberName::IsSafeRelativePath(std::string(MemberName::kMaxComponentBytes + 1, 'a')));
  std::string deep;
  while (deep.size() <= MemberName::kMaxNameBytes) deep += "abc/";
  EXPECT_FALSE(MemberName::IsSafeRelativePath(deep + "x"));
}

TEST(MemberNameTest, DirectoryNamesLoseExactlyOneTrailingSlash) {
  EXPECT_TRUE(MemberName::IsDirectoryName("media/"));
  EXPECT_FALSE(MemberName::IsDirectoryName("media"));
  EXPECT_FALSE(MemberName::IsDirectoryName(""));
  EXPECT_EQ(MemberName::DirectoryMemberPath("a/media/"), "a/media");
  EXPECT_EQ(MemberName::DirectoryMemberPath("a/media"), "a/media");
  EXPECT_EQ(MemberName::DirectoryMemberPath("a//"), "a/");
}

}  // namespace
}  // namespace zorvstorage
