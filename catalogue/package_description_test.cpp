#include "catalogue/package_description.h"

#include <string>

#include <gtest/gtest.h>

#include "host/core/file_helper_utils.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"

namespace zorvcapsule {
namespace {

TEST(ReadDescriptionUTF8Test, GivesWhatThePackageReaderGivesConverted) {
  const zorvcore::TestTempFolder folder;
  const std::string texts[] = {
      R"({"apiVersion":"1.4","capsuleName":"plain"})",
      "{\"capsuleName\":\"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAC\"}",
      "{\"capsuleName\":\"bad \xFF and \xED\xA0\x80 and cut \xE6\x97\"}",
  };
  int n = 0;
  for (const std::string& text : texts) {
    const auto path = folder.path() / ("p" + std::to_string(n++) + ".tplx");
    zorvstorage::TestZipBuilder(path).Add("definition.json", text).Write();
    const CapsuleZip package(zorvcore::FileHelperUtils::StdPathToUTF16(path), "");
    EXPECT_EQ(ReadDescriptionUTF8(package), zorvcore::UTF16ToUTF8(package.GetTPLXDescriptionJSON())) << text;
  }
  EXPECT_NE(ReadDescriptionUTF8(CapsuleZip(zorvcore::FileHelperUtils::StdPathToUTF16(folder.path() / "p2.tplx"), "")),
            texts[2]);

  const auto empty = folder.path() / "empty.tplx";
  zorvstorage::TestZipBuilder(empty).Add("definition.json", "").Add("thumb.png", "x").Write();
  EXPECT_EQ(ReadDescriptionUTF8(CapsuleZip(zorvcore::FileHelperUtils::StdPathToUTF16(empty), "")), "");
  EXPECT_EQ(ReadDescriptionUTF8(CapsuleZip(folder.U16(u"missing.tplx"), "")), "");
}

}  // namespace
}  // namespace zorvcapsule
