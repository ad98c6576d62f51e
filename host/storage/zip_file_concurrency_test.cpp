#include <filesystem>
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
  for (int v = 1; v <= 2; ++v) {
    fs::create_directories(temp.path() / std::to_string(v));
    WriteFileBytes(temp.path() / std::to_string(v) / "definition.json", "version-" + std::to_string(v));
  }
  const ZipFile zip(File(FileHelperUtils::StdPathToUTF16(package)), "");

  constexpr int kReaders = 3;
  constexpr int kReads = 200;
  std::vector<std::thread> threads;
  std::vector<int> bad(kReaders, 0);
  for (int r = 0; r < kReaders; ++r) {
    threads.emplace_back([copy = zip, r, &bad] {
      for (int i = 0; i < kReads; ++i) {
        const auto block = copy.UnzipItem(i % 2 ? "definition.json" : "thumb.png");
        const std::string text =
            block ? std::string(reinterpret_cast<const char*>(block->Buffer()), block->Size()) : "";
        if (text != "thumb" && text != "version-0" && text != "version-1" && text != "version-2") {
          ++bad[r];
        }
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
  for (int r = 0; r < kReaders; ++r) EXPECT_EQ(bad[r], 0) << "reader " << r;
  const auto last = zip.UnzipItem("definition.json");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(last->Buffer()), last->Size()), "version-2");
}

}  // namespace
}  // namespace zorvstorage
