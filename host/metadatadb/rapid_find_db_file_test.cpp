#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/metadatadb/rapid_find_db.h"

namespace zorvmetadatadb {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

const std::vector<std::u16string> kColumns = {u"nametable"};

std::vector<std::u16string> FindBlue(RapidFindDB& db) {
  std::vector<std::u16string> keys;
  EXPECT_TRUE(db.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
  return keys;
}

void ExpectUsable(RapidFindDB& db) {
  ASSERT_TRUE(db.UpdateTable(kColumns));
  EXPECT_EQ(db.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_THAT(FindBlue(db), ElementsAre(u"k"));
}

// Runs a statement on the file with SQLite directly, as another program would.
void ExecOnFile(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(RapidFindDBFileTest, AnUnusablePathFailsOpenWithItsCodesAndLeavesTheIndexClosed) {
  zorvcore::TestTempFolder folder;
  std::ofstream(folder.path() / "plain") << "not a folder";
  std::filesystem::create_directory(folder.path() / "locked");
  std::filesystem::permissions(folder.path() / "locked",
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  struct Case {
    std::u16string path;
    int code;
    int sqliteCode;  // -1: any
  };
  std::vector<Case> cases = {
      {folder.U16(u"missing/index.db"), kDBSQLiteFailed, SQLITE_CANTOPEN},
      {folder.U16(u"plain/index.db"), kDBSQLiteFailed, SQLITE_CANTOPEN},
      {u"", kDBBadArgument, 0},
  };
  // The superuser writes into read-only folders.
  if (geteuid() != 0) cases.push_back({folder.U16(u"locked/index.db"), kDBSQLiteFailed, -1});
  for (const Case& c : cases) {
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(c.path));
    RapidFindDB db;
    EXPECT_FALSE(db.Open(c.path));
    int code = 0, sqlite = 0;
    std::u16string text;
    db.GetDBErrorCode(code);
    db.GetSQLiteErrorCode(sqlite);
    db.GetDBErrorString(text);
    EXPECT_EQ(code, c.code);
    if (c.sqliteCode >= 0) {
      EXPECT_EQ(sqlite, c.sqliteCode);
    }
    EXPECT_THAT(zorvcore::UTF16ToUTF8(text), HasSubstr(zorvcore::UTF16ToUTF8(c.path)));
    // Left closed: every operation fails cleanly as "not open".
    std::vector<std::u16string> keys;
    std::vector<DBMenuItem> items;
    EXPECT_FALSE(db.UpdateTable(kColumns));
    EXPECT_FALSE(db.DeleteTable());
    EXPECT_EQ(db.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNotOpen);
    EXPECT_FALSE(db.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
    EXPECT_FALSE(db.GetSimilarList(u"blue", 10, kColumns, items, false));
    db.GetDBErrorCode(code);
    EXPECT_EQ(code, kDBNotOpen);
    db.Close();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST(RapidFindDBFileTest, AFileThatIsNoIndexIsReplacedByAFreshOne) {
  for (const bool noise : {true, false}) {
    SCOPED_TRACE(noise ? "noise" : "another program's database");
    zorvcore::TestTempFolder folder;
    const std::filesystem::path file = folder.path() / "index.db";
    if (noise) {
      std::mt19937 random(7);
      std::ofstream out(file, std::ios::binary);
      for (int i = 0; i < 20000; ++i) out.put(static_cast<char>(random()));
    } else {
      ExecOnFile(file, "CREATE TABLE photos(name TEXT); INSERT INTO photos VALUES('beach')");
    }
    RapidFindDB db;
    ASSERT_TRUE(db.Open(folder.U16(u"index.db")));
    ExpectUsable(db);
    db.Close();
    ExecOnFile(file, "CREATE TABLE photos(name TEXT)");  // gone, not merged into the index
  }
}

TEST(RapidFindDBFileTest, DamagedIndexStartsAfreshWhenEmptied) {
  zorvcore::TestTempFolder folder;
  const std::filesystem::path file = folder.path() / "index.db";
  {
    RapidFindDB db;
    ASSERT_TRUE(db.Open(folder.U16(u"index.db")));
    ASSERT_TRUE(db.UpdateTable(kColumns));
    for (int i = 0; i < 3000; ++i) {
      const std::u16string n = zorvcore::UTF8ToUTF16(std::to_string(i));
      db.InsertRow(u"/templates/" + n, {u"blue word" + n});
    }
  }
  // Everything past the first page (which names the tables) becomes noise.
  const auto size = std::filesystem::file_size(file);
  ASSERT_GT(size, 16384u);
  {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(4096);
    for (auto i = 4096u; i < size; ++i) out.put(static_cast<char>(0xA5));
  }

  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.U16(u"index.db")));
  // The tables are still named, so the damage shows when they are read: reported as code 2 with
  // SQLITE_CORRUPT, the one failure callers keep quiet about.
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
  int code = 0, sqlite = 0;
  db.GetDBErrorCode(code);
  db.GetSQLiteErrorCode(sqlite);
  EXPECT_EQ(code, kDBSQLiteFailed);
  EXPECT_EQ(sqlite, SQLITE_CORRUPT);
  ASSERT_TRUE(db.DeleteTable());
  ExpectUsable(db);
}

TEST(RapidFindDBFileTest, OnlyDamageIsClassifiedAsCorruption) {
  using Code = zorvcore::Status::Code;
  const std::vector<std::pair<int, Code>> cases = {
      {SQLITE_CORRUPT, Code::kCorruption},       {SQLITE_NOTADB, Code::kCorruption},
      {SQLITE_CORRUPT_VTAB, Code::kCorruption},  {SQLITE_BUSY, Code::kBusy},
      {SQLITE_CANTOPEN, Code::kIOError},         {SQLITE_READONLY, Code::kIOError},
      {SQLITE_INTERRUPT, Code::kIOError},        {SQLITE_ERROR, Code::kInvalidArgument},
  };
  for (const auto& [rc, kind] : cases) {
    SCOPED_TRACE(rc);
    EXPECT_EQ(SQLiteFailureKind(rc), kind);
    EXPECT_EQ(DBError::SQLite(rc, "x").sqliteCode(), rc & 0xFF);  // reported as the primary code
  }
}

TEST(RapidFindDBFileTest, TwoObjectsShareOneFile) {
  zorvcore::TestTempFolder folder;
  RapidFindDB first, second;
  ASSERT_TRUE(first.Open(folder.U16(u"index.db")));
  ASSERT_TRUE(first.UpdateTable(kColumns));
  ASSERT_EQ(first.InsertRow(u"k1", {u"blue"}), 0);

  // The first object's batch is still open here; the second waits for it to be committed.
  ASSERT_TRUE(second.Open(folder.U16(u"index.db")));
  ASSERT_EQ(second.InsertRow(u"k2", {u"blue"}), 0);
  EXPECT_THAT(FindBlue(second), UnorderedElementsAre(u"k1", u"k2"));
  EXPECT_THAT(FindBlue(first), UnorderedElementsAre(u"k1", u"k2"));

  // A rebuild by one object must not leave the other writing with ids that no longer exist.
  ASSERT_TRUE(first.DeleteTable());
  ASSERT_TRUE(first.UpdateTable(kColumns));
  ASSERT_EQ(first.InsertRow(u"k3", {u"blue"}), 0);
  EXPECT_THAT(FindBlue(first), ElementsAre(u"k3"));
  ASSERT_EQ(second.InsertRow(u"k4", {u"blue"}), 0);
  ASSERT_EQ(second.InsertRow(u"k3", {u"blue"}), RapidFindDB::kInsertRowExists);
  EXPECT_THAT(FindBlue(second), ElementsAre(u"k3", u"k4"));
  std::vector<DBMenuItem> items;
  ASSERT_TRUE(first.GetSimilarList(u"blue", 10, kColumns, items, false));
  EXPECT_THAT(items, ElementsAre(DBMenuItem{u"blue", 2}));
}

TEST(RapidFindDBFileTest, RowsOutliveReopeningAndOpeningAnotherFileLeavesTheFirst) {
  zorvcore::TestTempFolder folder;
  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.U16(u"a.db")));
  ExpectUsable(db);
  ASSERT_TRUE(db.Open(folder.U16(u"b.db")));
  ASSERT_TRUE(db.UpdateTable(kColumns));
  EXPECT_THAT(FindBlue(db), ElementsAre());
  ASSERT_TRUE(db.Open(folder.U16(u"a.db")));
  EXPECT_THAT(FindBlue(db), ElementsAre(u"k"));
}

}  // namespace
}  // namespace zorvmetadatadb
