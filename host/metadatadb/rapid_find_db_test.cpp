#include "host/metadatadb/rapid_find_db.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"

namespace zorvmetadatadb {
namespace {

using ::testing::ElementsAre;
using Keys = std::set<std::u16string>;
using Items = std::vector<DBMenuItem>;

const std::vector<std::u16string> kColumns = {u"nametable"};

std::u16string Number(int n) { return zorvcore::UTF8ToUTF16(std::to_string(n)); }

Keys FindIn(RapidFindDB& db, const std::vector<std::u16string>& words, int op = kDBMatchAll,
            const std::vector<std::u16string>& columns = kColumns) {
  std::vector<DBMatchTerm> terms;
  for (const std::u16string& word : words) terms.emplace_back(word, columns);
  std::vector<std::u16string> keys = {u"left over"};
  EXPECT_TRUE(db.Match(terms, op, keys));
  return Keys(keys.begin(), keys.end());
}

Items SimilarIn(RapidFindDB& db, const std::u16string& word, int maxCount = 100, bool wholeWords = false,
                const std::vector<std::u16string>& columns = kColumns) {
  Items items = {DBMenuItem{u"left over", 1}};
  EXPECT_TRUE(db.GetSimilarList(word, maxCount, columns, items, wholeWords));
  return items;
}

using CodePair = std::pair<int, int>;  // {error code, SQLite result}

// The calling thread's error state.
CodePair Codes(RapidFindDB& db) {
  int code = -1, sqlite = -1;
  db.GetDBErrorCode(code);
  db.GetSQLiteErrorCode(sqlite);
  return {code, sqlite};
}
int ErrorCode(RapidFindDB& db) { return Codes(db).first; }

// A row can be added and found again.
void ExpectUsable(RapidFindDB& db) {
  ASSERT_TRUE(db.UpdateTable(kColumns));
  EXPECT_EQ(db.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(FindIn(db, {u"blue"}), Keys{u"k"});
}

class RapidFindDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(folder_.U16(u"index.db")));
    ASSERT_TRUE(db_.UpdateTable(kColumns));
  }
  void Add(const std::u16string& key, const std::vector<std::u16string>& words) {
    for (const std::u16string& word : words) EXPECT_EQ(db_.InsertRow(key, {word}), RapidFindDB::kInsertRowOk);
  }
  Keys Find(const std::vector<std::u16string>& words, int op = kDBMatchAll) { return FindIn(db_, words, op); }
  Items Similar(const std::u16string& word, int maxCount = 100, bool wholeWords = false) {
    return SimilarIn(db_, word, maxCount, wholeWords);
  }
  struct FindCase {
    std::vector<std::u16string> words;
    Keys keys;
  };
  // Each case's words as terms that must all match, or through `find` when given.
  void ExpectFinds(const std::vector<FindCase>& cases, std::function<Keys(const FindCase&)> find = nullptr) {
    for (const FindCase& c : cases) {
      SCOPED_TRACE(c.words.empty() ? "no term" : zorvcore::UTF16ToUTF8(c.words[0]));
      EXPECT_EQ(find ? find(c) : Find(c.words), c.keys);
    }
  }

  zorvcore::TestTempFolder folder_;
  RapidFindDB db_;
};

TEST_F(RapidFindDBTest, EveryTermMatchesByWordPrefixIgnoringCaseAndDiacritics) {
  Add(u"k1", {u"blue", u"Title"});
  Add(u"k2", {u"blue", u"Lower Third"});
  Add(u"k3", {u"red", u"Title"});
  Add(u"summer", {u"\u00c9t\u00e9"});                 // Été
  Add(u"dessert", {u"Cr\u00e8me Br\u00fbl\u00e9e"});  // Crème Brûlée
  ExpectFinds(
      {{{u"blue", u"title"}, {u"k1"}}, {{u"blue"}, {u"k1", u"k2"}}, {{u"blue", u"red"}, {}},
       {{u"third lower"}, {u"k2"}},  // the words of one term within one row, in any order
       {{u"blue title"}, {}}, {{u"blue", u"BLUE", u"title"}, {u"k1"}}, {{u"ete"}, {u"summer"}},
       {{u"\u00c9T\u00c9"}, {u"summer"}}, {{u"et"}, {u"summer"}}, {{u"creme brul"}, {u"dessert"}},
       {{u"BR\u00dbL\u00c9E"}, {u"dessert"}}, {{u"TIT"}, {u"k1", u"k3"}},
       {{u"itle"}, {}},  // a word's middle is not its beginning
       {{u"titles"}, {}}});
}

TEST_F(RapidFindDBTest, QuerySyntaxInUserTextIsNeverSyntax) {
  Add(u"k1", {u"blue", u"Title"});
  Add(u"k2", {u"red"});
  Add(u"code", {u"C++ \"quoted\" (NEAR) OR-not"});
  // Operators and quotes are punctuation or plain words: never an error, never a wider search.
  // Column filters are words too: a filter would have found k1, the word "nametable" finds
  // nothing. A term without letters or digits asks for nothing and is ignored.
  ExpectFinds(
      {{{u"\"blue"}, {u"k1"}}, {{u"blue\""}, {u"k1"}}, {{u"blue*"}, {u"k1"}}, {{u"-blue"}, {u"k1"}},
       {{u"(blue"}, {u"k1"}}, {{u"blue)"}, {u"k1"}}, {{u"^blue"}, {u"k1"}}, {{u"+blue"}, {u"k1"}},
       {{u"'blue'"}, {u"k1"}}, {{u"\\blue"}, {u"k1"}}, {{std::u16string(u"blue\0", 5)}, {u"k1"}},
       {{u"nametable:blue"}, {}}, {{u"{nametable}:blue"}, {}}, {{u"blue OR red"}, {}},
       {{u"NEAR(blue red)"}, {}}, {{u"NOT"}, {u"code"}}, {{u"quoted near"}, {u"code"}},
       {{u"or"}, {u"code"}}, {{u"blue", u"--"}, {u"k1"}}, {{u"\"", u"*", u"()", u"", u" "}, {}},
       {{}, {}}});

  // Any text at all makes a request that runs (the helpers expect success).
  const std::u16string pieces[] = {u"\"", u"*", u"(", u")", u"-", u"+", u"^", u":", u"{", u"}",
                                   u" ", u"OR", u"AND", u"NOT", u"NEAR", u"nametable", u"\u00e9",
                                   u"x", u"7", std::u16string(1, u'\0'),
                                   std::u16string(1, char16_t(0xD800)), u"\U0001F600", u","};
  std::mt19937 random(42);
  for (int i = 0; i < 500; ++i) {
    std::u16string text;
    for (int j = static_cast<int>(random() % 12); j > 0; --j) text += pieces[random() % std::size(pieces)];
    Find({text});
    Similar(text, 10, i % 2 == 0);
  }
}

TEST_F(RapidFindDBTest, LongSearchesCombineEveryTerm) {
  std::vector<std::u16string> tags;
  for (int i = 0; i < 80; ++i) tags.push_back(u"tag" + Number(i) + u"x");
  Add(u"many", tags);
  Add(u"one", {u"tag79x"});
  std::vector<std::u16string> missingLast = tags, anyOf(70, u"absent");
  missingLast.back() = u"absent";
  anyOf.push_back(u"tag79x");
  std::u16string huge;
  for (int i = 0; i < 5000; ++i) huge += u"w" + Number(i) + u" ";
  EXPECT_EQ(Find(tags), Keys({u"many"}));  // more terms than one query holds
  EXPECT_EQ(Find(missingLast), Keys());
  EXPECT_EQ(Find(anyOf, kDBMatchAny), Keys({u"many", u"one"}));
  EXPECT_EQ(Find({huge}), Keys());
}

TEST_F(RapidFindDBTest, FailuresReportTheirCodeInStatusAndErrorState) {
  EXPECT_EQ(RapidFindDB::kInsertRowExists, -1609629689);
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowExists);
  EXPECT_EQ(ErrorCode(db_), kDBRowExists);
  EXPECT_EQ(db_.InsertRow(u"k", {u"Blue"}), RapidFindDB::kInsertRowOk);  // another value
  EXPECT_EQ(ErrorCode(db_), kDBNoError);
  EXPECT_EQ(db_.InsertRow(u"k", {u""}), RapidFindDB::kInsertRowOk);

  EXPECT_EQ(db_.InsertRow(u"k", {u"a", u"b"}), RapidFindDB::kInsertStatusBase | kDBBadArgument);
  // The error state belongs to the calling thread: another thread's success does not erase it.
  std::thread([&] {
    EXPECT_EQ(db_.InsertRow(u"k", {u"fine"}), 0);
    EXPECT_EQ(ErrorCode(db_), kDBNoError);
  }).join();
  EXPECT_EQ(ErrorCode(db_), kDBBadArgument);
  std::u16string text;
  db_.GetDBErrorString(text);
  EXPECT_FALSE(text.empty());
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db_.Match({{u"blue", kColumns}}, 7, keys));  // no such operator
  EXPECT_EQ(ErrorCode(db_), kDBBadArgument);

  // Emptied: no column, so nothing is found (without an error) and no row can be added.
  EXPECT_TRUE(db_.DeleteTable());
  EXPECT_EQ(Find({u"blue"}), Keys());
  EXPECT_TRUE(Similar(u"blu").empty());
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNoTable);
}

TEST_F(RapidFindDBTest, SimilarListCountsKeysMostFirstWithLimit) {
  Add(u"a", {u"Blue", u"Sky Blue", u"Red"});
  Add(u"b", {u"Blue", u"Bluebird", u"Red"});
  Add(u"c", {u"Blue", u"Bluebird", u"Sky Blue"});
  Add(u"d", {u"blue", u"\u00c9t\u00e9 bleu"});
  EXPECT_EQ(db_.InsertRow(u"a", {u"Blue"}), RapidFindDB::kInsertRowExists);  // counted once
  EXPECT_THAT(Similar(u"BLU"), ElementsAre(DBMenuItem{u"Blue", 3}, DBMenuItem{u"Bluebird", 2},
                                           DBMenuItem{u"Sky Blue", 2}, DBMenuItem{u"blue", 1}));
  EXPECT_THAT(Similar(u"blu", 2), ElementsAre(DBMenuItem{u"Blue", 3}, DBMenuItem{u"Bluebird", 2}));
  EXPECT_THAT(Similar(u"blue", 100, /*wholeWords=*/true),
              ElementsAre(DBMenuItem{u"Blue", 3}, DBMenuItem{u"Sky Blue", 2}, DBMenuItem{u"blue", 1}));
  EXPECT_THAT(Similar(u"ete bl"), ElementsAre(DBMenuItem{u"\u00c9t\u00e9 bleu", 1}));
  EXPECT_TRUE(Similar(u"blu", 0).empty());
  for (const std::u16string word : {u"", u"\"*)", u"green"}) EXPECT_TRUE(Similar(word).empty());
}

TEST_F(RapidFindDBTest, ColumnsChooseWhereATermLooks) {
  ASSERT_TRUE(db_.DeleteTable());
  ASSERT_TRUE(db_.UpdateTable({u"name", u"tags"}));
  ASSERT_TRUE(db_.UpdateTable({u"tags", u"name"}));  // already there: order stays
  EXPECT_EQ(db_.InsertRow(u"k1", {u"Title", u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k2", {u"Blue Sky", u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k1", {u"Title", u"blue"}), RapidFindDB::kInsertRowExists);
  // Each case: the word, then the columns to look in.
  ExpectFinds({{{u"blue", u"name"}, {u"k2"}}, {{u"blue", u"tags"}, {u"k1", u"k2"}},
               {{u"title", u"tags"}, {}}, {{u"title"}, {u"k1"}},
               {{u"title", u"unknown", u"name"}, {u"k1"}}, {{u"title", u"unknown"}, {}}},
              [&](const FindCase& c) {
                return FindIn(db_, {c.words[0]}, kDBMatchAll, {c.words.begin() + 1, c.words.end()});
              });
  // "blue" sits in both columns of k2; the key counts once.
  EXPECT_THAT(SimilarIn(db_, u"blue", 10, false, {}),
              ElementsAre(DBMenuItem{u"blue", 2}, DBMenuItem{u"Blue Sky", 1}));
  EXPECT_THAT(SimilarIn(db_, u"blue", 10, false, {u"name"}), ElementsAre(DBMenuItem{u"Blue Sky", 1}));
}

// Every test here reads what it has just inserted on its own thread; rows inserted on another thread
// are seen as soon as that thread is done, and a synchronous setting changed with their batch open
// keeps that batch.
TEST_F(RapidFindDBTest, ReadsSeeRowsAnotherThreadInserted) {
  std::thread([&] {
    for (int i = 0; i < 1000; ++i) db_.InsertRow(u"t" + Number(i), {u"threaded"});
    db_.SetSynchronousMode(false);
  }).join();
  EXPECT_EQ(Find({u"threaded"}).size(), 1000u);
}

int StopAtOnce(void* calls) {
  ++*static_cast<int*>(calls);
  return 1;
}

TEST_F(RapidFindDBTest, ProgressHandlerCanInterruptAndBeRemoved) {
  Add(u"k", {u"blue"});
  int calls = 0;
  db_.RegisterSQLiteProgressHandler(1, StopAtOnce, &calls);
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db_.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
  EXPECT_GT(calls, 0);
  EXPECT_EQ(Codes(db_), CodePair(kDBSQLiteFailed, SQLITE_INTERRUPT));
  Items items;
  EXPECT_FALSE(db_.GetSimilarList(u"blue", 10, kColumns, items, false));

  db_.RegisterSQLiteProgressHandler(50000, nullptr, nullptr);
  EXPECT_EQ(Find({u"blue"}), Keys({u"k"}));
  // Interrupted requests left no snapshot behind: rows added since are seen.
  Add(u"later", {u"blue"});
  EXPECT_THAT(Similar(u"blue"), ElementsAre(DBMenuItem{u"blue", 2}));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k", u"later"}));
}

// ---- The index file ----

TEST_F(RapidFindDBTest, TwoObjectsShareOneFileAndAnotherFileLeavesTheFirst) {
  RapidFindDB second;
  ASSERT_EQ(db_.InsertRow(u"k1", {u"blue"}), 0);
  // The first object's batch is still open here; the second waits for it to be committed.
  ASSERT_TRUE(second.Open(folder_.U16(u"index.db")));
  ASSERT_EQ(second.InsertRow(u"k2", {u"blue"}), 0);
  EXPECT_EQ(FindIn(second, {u"blue"}), Keys({u"k1", u"k2"}));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k1", u"k2"}));
  // A rebuild by one object must not leave the other writing with ids that no longer exist.
  ASSERT_TRUE(db_.DeleteTable());
  ASSERT_TRUE(db_.UpdateTable(kColumns));
  ASSERT_EQ(db_.InsertRow(u"k3", {u"blue"}), 0);
  EXPECT_EQ(Find({u"blue"}), Keys{u"k3"});
  ASSERT_EQ(second.InsertRow(u"k4", {u"blue"}), 0);
  ASSERT_EQ(second.InsertRow(u"k3", {u"blue"}), RapidFindDB::kInsertRowExists);
  EXPECT_EQ(FindIn(second, {u"blue"}), Keys({u"k3", u"k4"}));
  EXPECT_THAT(Similar(u"blue"), ElementsAre(DBMenuItem{u"blue", 2}));

  // Rows outlive opening another file and coming back.
  ASSERT_TRUE(db_.Open(folder_.U16(u"b.db")));
  ExpectUsable(db_);
  ASSERT_TRUE(db_.Open(folder_.U16(u"index.db")));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k3", u"k4"}));
}

TEST(RapidFindDBFileTest, AnUnusablePathFailsOpenWithItsCodesAndLeavesTheIndexClosed) {
  zorvcore::TestTempFolder folder;
  folder.WriteFile("plain", "not a folder");
  std::filesystem::create_directory(folder.path() / "locked");
  std::filesystem::permissions(folder.path() / "locked",
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  struct Case {
    std::u16string path;
    int code, sqliteCode;  // sqliteCode -1: any
  };
  std::vector<Case> cases = {{folder.U16(u"missing/index.db"), kDBSQLiteFailed, SQLITE_CANTOPEN},
                             {folder.U16(u"plain/index.db"), kDBSQLiteFailed, SQLITE_CANTOPEN},
                             {u"", kDBBadArgument, 0}};
  // The superuser writes into read-only folders.
  if (geteuid() != 0) cases.push_back({folder.U16(u"locked/index.db"), kDBSQLiteFailed, -1});
  for (const Case& c : cases) {
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(c.path));
    RapidFindDB db;
    EXPECT_FALSE(db.Open(c.path));
    std::u16string text;
    db.GetDBErrorString(text);
    EXPECT_EQ(Codes(db), CodePair(c.code, c.sqliteCode >= 0 ? c.sqliteCode : Codes(db).second));
    EXPECT_THAT(zorvcore::UTF16ToUTF8(text), ::testing::HasSubstr(zorvcore::UTF16ToUTF8(c.path)));
    // Left closed: every operation fails cleanly as "not open".
    std::vector<std::u16string> keys;
    Items items;
    EXPECT_FALSE(db.UpdateTable(kColumns));
    EXPECT_FALSE(db.DeleteTable());
    EXPECT_EQ(db.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNotOpen);
    EXPECT_FALSE(db.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
    EXPECT_FALSE(db.GetSimilarList(u"blue", 10, kColumns, items, false));
    EXPECT_EQ(ErrorCode(db), kDBNotOpen);
    db.Close();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

// Runs a statement on the file with SQLite directly, as another program would.
void ExecOnFile(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
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
    for (int i = 0; i < 3000; ++i) db.InsertRow(u"/templates/" + Number(i), {u"blue word" + Number(i)});
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
  EXPECT_EQ(Codes(db), CodePair(kDBSQLiteFailed, SQLITE_CORRUPT));
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

}  // namespace
}  // namespace zorvmetadatadb
