#include "host/core/file_helper_utils.h"

#include <boost/filesystem/fstream.hpp>
#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include "host/core/file_utils.h"
#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

// "Grinning face" outside the Basic Multilingual Plane (a surrogate pair), "e acute" and a CJK
// character, each a different UTF-8 length.
const std::u16string kName = u"\U0001F600 \u00e9\u4e2d.tplx";
const std::string kNameUTF8 = "\xF0\x9F\x98\x80 \xC3\xA9\xE4\xB8\xAD.tplx";

TEST(FileHelperUtilsTest, NonAsciiPathsRoundTripAsUTF8AndNameTheSameFileOnDisk) {
  const boost::filesystem::path boostPath = FileHelperUtils::UTF16ToBoostPath(u"/x/" + kName);
  EXPECT_EQ(boostPath.native(), "/x/" + kNameUTF8);
  EXPECT_EQ(FileHelperUtils::BoostPathToUTF16(boostPath), u"/x/" + kName);

  TestTempFolder folder;
  const std::u16string path = folder.U16(kName);
  boost::filesystem::ofstream(FileHelperUtils::UTF16ToBoostPath(path)) << "x";

  EXPECT_TRUE(std::filesystem::exists(folder.path() / kNameUTF8));
  EXPECT_TRUE(FileUtils::FileExists(path));
  const boost::filesystem::directory_iterator it(FileHelperUtils::UTF16ToBoostPath(folder.U16()));
  EXPECT_EQ(FileHelperUtils::BoostPathToUTF16(it->path()), path);
}

}  // namespace
}  // namespace zorvcore
