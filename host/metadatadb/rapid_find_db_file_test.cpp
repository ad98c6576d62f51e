#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "host/metadatadb/rapid_find_db.h"
#include "host/metadatadb/test_temp_folder.h"

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

void ExpectOpenFails(const std::u16string& path, int sqliteCode) {
  RapidFindDB db;
  EXPECT_FALSE(db.Open(path));
  int code = 0, sqlite = 0;
  std::u16string text;
  db.GetDBErrorCode(code);
  db.GetSQLiteErrorCode(sqlite);
  db.GetDBErrorString(text);
  EXPECT_EQ(code, kDBSQLiteFailed);
  EXPECT_EQ(sqlite, sqliteCode);
  EXPECT_THAT(zorvcore::UTF16ToUTF8(text), HasSubstr(zorvcore::UTF16ToUTF8(path)));
  EXPECT_EQ(db.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNotOpen);
}

// Runs a statement on the file with SQLite directly, as another program would.
void ExecOnFile(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(RapidFindDBFileTest, MissingFolderFailsOpen) {
  TestTempFolder folder;
  ExpectOpenFails(folder.File("missing/index.db"), SQLITE_CANTOPEN);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("missing")));
}

TEST(RapidFindDBFileTest, FolderThatIsAFileFailsOpen) {
  TestTempFolder folder;
  std::ofstream(folder.Path("plain")) << "not a folder";
  ExpectOpenFails(folder.File("plain/index.db"), SQLITE_CANTOPEN);
}

TEST(RapidFindDBFileTest, ReadOnlyFolderFailsOpen) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  TestTempFolder folder;
  std::filesystem::create_directory(folder.Path("locked"));
  std::filesystem::permissions(folder.Path("locked"), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
  RapidFindDB db;
  EXPECT_FALSE(db.Open(folder.File("locked/index.db")));
  int code = 0;
  db.GetDBErrorCode(code);
  EXPECT_EQ(code, kDBSQLiteFailed);
  std::filesystem::permissions(folder.Path("locked"), std::filesystem::perms::owner_all);
}

TEST(RapidFindDBFileTest, EmptyPathIsABadArgument) {
  RapidFindDB db;
  EXPECT_FALSE(db.Open(u""));
  int code = 0;
  db.GetDBErrorCode(code);
  EXPECT_EQ(code, kDBBadArgument);
}

TEST(RapidFindDBFileTest, GarbageFileIsReplacedByAFreshIndex) {
  TestTempFolder folder;
  {
    std::mt19937 random(7);
    std::ofstream out(folder.Path("index.db"), std::ios::binary);
    for (int i = 0; i < 20000; ++i) out.put(static_cast<char>(random()));
  }
  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.File("index.db")));
  ExpectUsable(db);
}

TEST(RapidFindDBFileTest, OtherDatabaseIsReplacedByAFreshIndex) {
  TestTempFolder folder;
  ExecOnFile(folder.Path("index.db"),
             "CREATE TABLE photos(name TEXT); INSERT INTO photos VALUES('beach')");
  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.File("index.db")));
  ExpectUsable(db);
  db.Close();
  // The other program's table is gone, not merged into the index.
  ExecOnFile(folder.Path("index.db"), "CREATE TABLE photos(name TEXT)");
}

TEST(RapidFindDBFileTest, DamagedIndexStartsAfreshWhenEmptied) {
  TestTempFolder folder;
  {
    RapidFindDB db;
    ASSERT_TRUE(db.Open(folder.File("index.db")));
    ASSERT_TRUE(db.UpdateTable(kColumns));
    for (int i = 0; i < 3000; ++i) {
      const std::u16string n = zorvcore::UTF8ToUTF16(std::to_string(i));
      db.InsertRow(u"/templates/" + n, {u"blue word" + n});
    }
  }
  // Everything past the first page (which names the tables) becomes noise.
  const auto size = std::filesystem::file_size(folder.Path("index.db"));
  ASSERT_GT(size, 16384u);
  {
    std::fstream file(folder.Path("index.db"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4096);
    for (auto i = 4096u; i < size; ++i) file.put(static_cast<char>(0xA5));
  }

  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.File("index.db")));
  // The tables are still named, so the damage shows when they are read: reported as corruption,
  // which callers keep quiet about.
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

TEST(RapidFindDBFileTest, TwoObjectsShareOneFile) {
  TestTempFolder folder;
  RapidFindDB first, second;
  ASSERT_TRUE(first.Open(folder.File("index.db")));
  ASSERT_TRUE(first.UpdateTable(kColumns));
  ASSERT_EQ(first.InsertRow(u"k1", {u"blue"}), 0);

  // The first object's batch is still open here; the second waits for it to be committed.
  ASSERT_TRUE(second.Open(folder.File("index.db")));
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

TEST(RapidFindDBFileTest, OpeningAnotherFileLeavesTheFirst) {
  TestTempFolder folder;
  RapidFindDB db;
  ASSERT_TRUE(db.Open(folder.File("a.db")));
  ExpectUsable(db);
  ASSERT_TRUE(db.Open(folder.File("b.db")));
  ASSERT_TRUE(db.UpdateTable(kColumns));
  EXPECT_THAT(FindBlue(db), ElementsAre());
  ASSERT_TRUE(db.Open(folder.File("a.db")));
  EXPECT_THAT(FindBlue(db), ElementsAre(u"k"));
}

}  // namespace
}  // namespace zorvmetadatadb
