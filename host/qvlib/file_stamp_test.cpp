// Stamps are trusted only once settled; that they tell changes apart is seen in qv_lib_manager_test.
#include "host/qvlib/file_stamp.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zorvqvlib
