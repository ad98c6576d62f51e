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

TEST(QvLibrariesTest, AnswersReadTheDiskAndTheRootSettingAtEveryCall) {
  TestLibraryFolder folder;
  folder.Library("lib", "Library");
  folder.Element("lib", "full", "Lower Third");
  folder.MakeFolder("lib/empty");
  folder.Library("b", "Brand Kit");
  folder.Element("b", "e");
  folder.MakeFolder("plain");
  Names ids{"kept"};
  QvLibrariesLocal::GetCapsuleElementIDs("lib", ids);
  EXPECT_EQ(ids, (Names{"kept", "empty", "full"}));  // appended; elements without packages are elements too

  bool exists = false;
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "empty", &exists), "empty");
  EXPECT_TRUE(exists);
  EXPECT_EQ(QvLibrariesLocal::GetElementName("lib", "missing", &exists), "");
  EXPECT_FALSE(exists);

  // Only a library has a disk path (the wrapper's test reads one); clearing cached data keeps everything.
  EXPECT_EQ(QvLibrariesLocal::GetLibraryDiskPath("plain") + QvLibrariesLocal::GetLibraryDiskPath("missing"), "");
  QvLibrariesLocal::ClearLibraryData("lib");
  EXPECT_EQ(QvLibrariesLocal::GetCapsuleSchemaPath("lib", "full"), folder.Path("lib/full/definition.json"));

  // Changes show at the next call; without its manifest a library's elements are gone too.
  EXPECT_EQ(QvLibraries::GetLibraryNameFromLibraryID("b"), "Brand Kit");
  folder.Remove("b/library.json");
  EXPECT_EQ(Libraries(), Names{"lib"});
  EXPECT_EQ(QvLibrariesLocal::GetCapsulePath("b", "e"), "");

  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, folder.Path("missing"));
  EXPECT_TRUE(Libraries().empty());  // no root, no libraries
  EXPECT_EQ(QvLibraries::GetLibraryNameFromLibraryID("lib"), "");
}

}  // namespace
}  // namespace zorvqvlib
