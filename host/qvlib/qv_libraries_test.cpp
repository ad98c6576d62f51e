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

TEST(QvLibrariesTest, ElementsAnswerWithTheirFilesOrEmpty) {
  TestLibraryFolder folder;
  folder.Library("lib", "Library");
  folder.Element("lib", "full", "Lower Third");
  folder.Write("lib/full/thumb.png", "png");
  folder.Write("lib/full/thumb.mp4", "mp4");
  folder.MakeFolder("lib/empty");
  const Names appended = [] {
    Names ids{"kept"};
    QvLibrariesLocal::GetCapsuleElementIDs("lib", ids);
    return ids;
  }();
  EXPECT_EQ(appended, (Names{"kept", "empty", "full"}));  // elements without packages are elements too

  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("lib", "full"), folder.Path("lib/full/template.tplx"));
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleSchemaPath("lib", "full"), folder.Path("lib/full/definition.json"));
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleThumbnailPath("lib", "full"), folder.Path("lib/full/thumb.png"));
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleVideoThumbnailPath("lib", "full"), folder.Path("lib/full/thumb.mp4"));
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("lib", "empty"), "");
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleThumbnailPath("lib", "empty"), "");

  bool exists = false;
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "empty", &exists), "empty");
  EXPECT_TRUE(exists);
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "missing", &exists), "");
  EXPECT_FALSE(exists);
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleSchemaPath("lib", "missing"), "");
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleSchemaPath("..", "lib"), "");
}

TEST(QvLibrariesTest, DiskPathIsTheLibraryFolderAndClearingKeepsEverything) {
  TestLibraryFolder folder;
  folder.Library("lib", "Library");
  folder.Element("lib", "e");
  folder.MakeFolder("plain");
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("lib"), folder.Path("lib"));
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("plain"), "");
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("missing"), "");

  QvLibrariesLocal::ClearLibraryData("lib");
  EXPECT_EQ(Elements("lib"), Names{"e"});
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("lib", "e"), folder.Path("lib/e/template.tplx"));
}

TEST(QvLibrariesTest, NoRootNoLibraries) {
  TestLibraryFolder folder;
  folder.Library("lib", "Library");
  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, folder.Path("missing"));
  EXPECT_TRUE(Libraries().empty());
  EXPECT_EQ(QvLibraries::GetLibraryNameFromLibraryID("lib"), "");
}

}  // namespace
}  // namespace zorvqvlib
