#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"
#include "host/storage/test_zip_builder.h"
#include "host/storage/zip_file.h"

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;
using zorvcore::Dir;
using zorvcore::File;
using zorvcore::FileHelperUtils;

TEST(ZipFileConcurrencyTest, CopiesOnManyThreadsSeeWholeVersionsWhileOneReplacesAMember) {
  zorvcore::TestTempFolder temp;
  const fs::path package = temp.path() / "package.tplx";
  TestZipBuilder(package).Add("definition.json", "version-0").Add("thumb.png", "thumb").Write();
  for (const char* v : {"1", "2"}) temp.WriteFile(v + std::string("/definition.json"), "version-" + std::string(v));
  const ZipFile zip(File(FileHelperUtils::StdPathToUTF16(package)), "");

  const std::set<std::string> whole = {"thumb", "version-0", "version-1", "version-2"};
  std::vector<std::thread> threads;
  std::vector<int> bad(3, 0);
  for (int r = 0; r < 3; ++r) {
    threads.emplace_back([copy = zip, r, &bad, &whole] {
      for (int i = 0; i < 200; ++i) {
        bad[r] += !whole.contains(BlockText(copy.UnzipItem(i % 2 ? "definition.json" : "thumb.png")));
      }
    });
  }
  int failedWrites = 0;
  std::thread writer([copy = zip, &temp, &failedWrites] {
    for (int i = 0; i < 20; ++i) {
      const Dir source(FileHelperUtils::StdPathToUTF16(temp.path() / std::to_string(1 + i % 2)));
      if (!copy.AddItem("definition.json", source, true)) ++failedWrites;
    }
  });
  for (auto& thread : threads) thread.join();
  writer.join();

  EXPECT_EQ(failedWrites, 0);
  EXPECT_EQ(bad, std::vector<int>(3, 0));
  EXPECT_EQ(BlockText(zip.UnzipItem("definition.json")), "version-2");
}

}  // namespace
}  // namespace zorvstorage
