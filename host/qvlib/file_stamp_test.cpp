// Stamps tell changes apart without reading, and are trusted only once settled.
#include "host/qvlib/file_stamp.h"

#include <gtest/gtest.h>

#include "host/qvlib/test_library_folder.h"

namespace zorvqvlib {
namespace {

TEST(FileStampTest, AStampSettlesOnceItsModificationTimeIsOldEnough) {
  FileStamp stamp;
  EXPECT_TRUE(stamp.IsSettledAt(0));  // nothing there: nothing to miss
  stamp.exists = true;
  stamp.modifiedNs = 10 * FileStamp::kSettleNs;
  stamp.changedNs = 100 * FileStamp::kSettleNs;  // a metadata change alone cannot hide a write
  EXPECT_TRUE(stamp.IsSettledAt(11 * FileStamp::kSettleNs));
  EXPECT_FALSE(stamp.IsSettledAt(11 * FileStamp::kSettleNs - 1));
  EXPECT_FALSE(stamp.IsSettledAt(9 * FileStamp::kSettleNs));  // a time in the future
}

TEST(FileStampTest, ChangesShowInTheStampsOfASettledTree) {
  TestLibraryFolder folder;
  folder.Write("lib/library.json", R"({"name": "A"})");
  folder.Settle();
  const FileStamp folderBefore = FileStamp::Of(folder.Path("lib"));
  const FileStamp manifestBefore = FileStamp::Of(folder.Path("lib/library.json"));
  EXPECT_TRUE(folderBefore.exists);
  EXPECT_TRUE(folderBefore.IsSettledAt(FileStamp::NowNs()));
  EXPECT_EQ(FileStamp::Of(folder.Path("lib")), folderBefore);

  folder.Write("lib/library.json", R"({"name": "B"})");  // rewritten in place, same size
  EXPECT_NE(FileStamp::Of(folder.Path("lib/library.json")), manifestBefore);
  EXPECT_EQ(FileStamp::Of(folder.Path("lib")), folderBefore);
  folder.MakeFolder("lib/e");
  EXPECT_NE(FileStamp::Of(folder.Path("lib")), folderBefore);

  EXPECT_FALSE(FileStamp::Of(folder.Path("missing")).exists || FileStamp::Of("").exists);
}

}  // namespace
}  // namespace zorvqvlib
