// The older functions read the disk at every call: what is on disk now is what they answer.
#include "host/qvlib/qv_libraries.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/debug_database.h"
#include "host/qvlib/qv_libraries_local.h"
#include "host/qvlib/test_library_folder.h"

namespace zorvqvlib {
namespace {

using Names = std::vector<std::string>;

Names Libraries() {
  Names ids;
  QvLibraries::GetLibraryList(ids);
  return ids;
}

Names Elements(const std::string& library) {
  Names ids;
  QvLibrariesLocal::GetCapsuleElementIDs(library, ids);
  return ids;
}

TEST(QvLibrariesTest, AnswersFollowTheDiskAtEveryCall) {
  TestLibraryFolder folder;
  folder.Library("b", "Brand Kit");
  folder.Element("b", "e", "Lower Third");
  folder.MakeFolder("no-manifest/e");
  EXPECT_EQ(Libraries(), Names{"b"});

  folder.Library("a", "Archive");
  folder.Element("b", "d");
  folder.Write("b/library.json", R"({"name": "Brand"})");
  folder.Write("b/e/element.json", R"({"name": "Title"})");
  EXPECT_EQ(Libraries(), (Names{"a", "b"}));
  EXPECT_EQ(QvLibraries::GetLibraryNameFromLibraryID("b"), "Brand");
  EXPECT_EQ(Elements("b"), (Names{"d", "e"}));
  EXPECT_EQ(QvLibrariesLocal::GetElementName("b", "e"), "Title");

  folder.Remove("b/library.json");
  EXPECT_EQ(Libraries(), Names{"a"});
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("b", "e"), "");  // no library, so no element either

  // The root setting is read afresh too.
  TestLibraryFolder other;
  other.Library("z", "Other");
  EXPECT_EQ(Libraries(), Names{"z"});
}

TEST(QvLibrariesTest, ElementsAreAppendedAndMissingOnesSaySo) {
  TestLibraryFolder folder;
  folder.Library("lib", "Library");
  folder.Element("lib", "full", "Lower Third");
  folder.MakeFolder("lib/empty");
  folder.MakeFolder("plain");
  Names ids{"kept"};
  QvLibrariesLocal::GetCapsuleElementIDs("lib", ids);
  EXPECT_EQ(ids, (Names{"kept", "empty", "full"}));  // elements without packages are elements too
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("lib", "empty"), "");

  bool exists = false;
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "empty", &exists), "empty");
  EXPECT_TRUE(exists);
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "missing", &exists), "");
  EXPECT_FALSE(exists);
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleSchemaPath("..", "lib"), "");

  // The disk path is the library's folder; clearing cached data keeps everything.
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("lib"), folder.Path("lib"));
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("plain") + QvLibrariesLocal::GetLibraryDiskPath("missing"), "");
  QvLibrariesLocal::ClearLibraryData("lib");
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("lib", "full"), folder.Path("lib/full/template.tplx"));

  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, folder.Path("missing"));
  EXPECT_TRUE(Libraries().empty());  // no root, no libraries
  EXPECT_EQ(QvLibraries::GetLibraryNameFromLibraryID("lib"), "");
}

}  // namespace
}  // namespace zorvqvlib
