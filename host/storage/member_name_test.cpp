#include "host/storage/member_name.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvstorage {
namespace {

TEST(MemberNameTest, OnlyPlainRelativePathsOfSaneLengthAreSafe) {
  std::string deep;
  while (deep.size() <= MemberName::kMaxNameBytes) deep += "abc/";
  const struct {
    std::string name;
    bool safe;
  } cases[] = {
      {"definition.json", true}, {"project.tsgraphic/media/a b.png", true}, {".hidden", true},
      {"a..b/c...", true}, {"d\xC3\xA9j\xC3\xA0/\xE2\x82\xAC.png", true},
      {std::string(MemberName::kMaxComponentBytes, 'a'), true},
      // Names that could leave the destination.
      {"", false}, {"/etc/passwd", false}, {"//server/share", false}, {"../evil", false},
      {"a/../../evil", false}, {"a/..", false}, {"..", false}, {".", false}, {"./a", false},
      {"a/./b", false}, {"a//b", false}, {"a/", false}, {"C:evil", false}, {"c:/evil", false},
      {"Z:\\evil", false}, {"..\\evil", false}, {"a\\..\\..\\evil", false}, {"a\\b", false},
      // Control characters, ill-formed text (an overlong ".." among them) and overlong names.
      {std::string("a\0b", 3), false}, {"a\nb", false}, {"a\x7F", false}, {"bad\xFF.png", false},
      {"\xC0\xAE\xC0\xAE/evil", false},
      {std::string(MemberName::kMaxComponentBytes + 1, 'a'), false}, {deep + "x", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MemberName::IsSafeRelativePath(c.name), c.safe) << c.name.substr(0, 40);
  }
}

}  // namespace
}  // namespace zorvstorage
