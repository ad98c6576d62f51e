#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "host/core/test_temp_folder.h"
#include "host/metadatadb/rapid_find_db.h"
#include "host/core/unicode.h"

namespace zorvmetadatadb {
namespace {

const std::vector<std::u16string> kColumns = {u"nametable"};
constexpr int kKeys = 40;

std::u16string Number(int n) { return zorvcore::UTF8ToUTF16(std::to_string(n)); }

// Empties and refills the index the way the catalogue does; counts every failed call.
void Rebuild(RapidFindDB& db, std::atomic<int>& failures) {
  if (!db.DeleteTable()) ++failures;
  if (!db.UpdateTable(kColumns)) ++failures;
  for (int k = 0; k < kKeys; ++k) {
    const std::u16string key = u"/templates/t" + Number(k) + u".tplx";
    for (const std::u16string& word : {std::u16string(u"blue"), u"Title " + Number(k), std::u16string(u"folder")}) {
      if (db.InsertRow(key, {word}) != RapidFindDB::kInsertRowOk) ++failures;
    }
  }
}

// Asks what the catalogue asks during a rebuild; a half-built index may answer with less, never
// with an error or with more than a full one holds.
void ReadOnce(RapidFindDB& db, std::atomic<int>& failures, std::atomic<int>& wrong) {
  std::vector<DBMenuItem> items;
  std::vector<std::u16string> keys;
  const bool read = db.GetSimilarList(u"bl", 100, kColumns, items, false);
  failures += !read;
  wrong += read && (items.size() > 1 || (items.size() == 1 && (items[0].word != u"blue" || items[0].count > kKeys)));
  const bool matched = db.Match({{u"blue", kColumns}, {u"title", kColumns}}, kDBMatchAll, keys);
  failures += !matched;
  wrong += matched && keys.size() > static_cast<size_t>(kKeys);
}

// Rebuilds through `writer` while `readerThreads` threads read through `reader`: readers never
// fail and never see more than a full index holds.
void ReadDuringRebuilds(RapidFindDB& writer, RapidFindDB& reader, int readerThreads) {
  std::atomic<int> failures{0}, wrong{0};
  std::atomic<bool> rebuilding{true};
  std::latch readersRunning(readerThreads);
  std::vector<std::thread> readers;
  for (int i = 0; i < readerThreads; ++i) {
    readers.emplace_back([&] {
      readersRunning.count_down();
      do {
        ReadOnce(reader, failures, wrong);
      } while (rebuilding);
    });
  }
  readersRunning.wait();
  for (int round = 0; round < 15; ++round) Rebuild(writer, failures);
  rebuilding = false;
  for (std::thread& thread : readers) thread.join();

  EXPECT_EQ(failures, 0);
  EXPECT_EQ(wrong, 0);
  std::vector<std::u16string> keys;
  ASSERT_TRUE(writer.Match({{u"blue", kColumns}, {u"title", kColumns}}, kDBMatchAll, keys));
  EXPECT_EQ(keys.size(), static_cast<size_t>(kKeys));
}

TEST(RapidFindDBConcurrencyTest, ReadsRunWhileARebuildRunsOnTheSameOrAnotherObject) {
  zorvcore::TestTempFolder folder;
  RapidFindDB writer, reader;
  ASSERT_TRUE(writer.Open(folder.U16(u"index.db")));
  ReadDuringRebuilds(writer, writer, 2);
  ASSERT_TRUE(reader.Open(folder.U16(u"index.db")));
  ReadDuringRebuilds(writer, reader, 1);
}

TEST(RapidFindDBConcurrencyTest, CloseAndOpenWhileOthersWork) {
  zorvcore::TestTempFolder folder;
  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.U16(u"index.db")));
  ASSERT_TRUE(db.UpdateTable(kColumns));
  std::atomic<bool> cycling{true};
  std::atomic<int> unexpected{0};
  std::latch workersRunning(2);
  // While closed, calls fail as "not open"; any other failure is a fault.
  auto expectOpenOrClosed = [&](bool ok) {
    int code = kDBNotOpen;
    if (!ok) db.GetDBErrorCode(code);
    unexpected += code != kDBNotOpen;
  };
  std::thread inserting([&] {
    workersRunning.count_down();
    for (int i = 0; cycling; ++i) {
      expectOpenOrClosed(db.InsertRow(u"k" + Number(i), {u"blue"}) == RapidFindDB::kInsertRowOk);
    }
  });
  std::thread reading([&] {
    workersRunning.count_down();
    while (cycling) {
      std::vector<DBMenuItem> items;
      expectOpenOrClosed(db.GetSimilarList(u"blue", 10, kColumns, items, false));
    }
  });
  workersRunning.wait();
  for (int cycle = 0; cycle < 10; ++cycle) {
    db.Close();
    EXPECT_TRUE(db.Open(folder.U16(u"index.db")));
  }
  cycling = false;
  inserting.join();
  reading.join();
  EXPECT_EQ(unexpected, 0);
}

}  // namespace
}  // namespace zorvmetadatadb
