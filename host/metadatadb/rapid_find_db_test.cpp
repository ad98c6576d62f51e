#include "host/metadatadb/rapid_find_db.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "host/metadatadb/test_temp_folder.h"

namespace zorvmetadatadb {
namespace {

using ::testing::ElementsAre;
using Keys = std::set<std::u16string>;

const std::vector<std::u16string> kColumns = {u"nametable"};

class RapidFindDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(folder_.File("index.db")));
    ASSERT_TRUE(db_.UpdateTable(kColumns));
  }

  void Add(const std::u16string& key, const std::vector<std::u16string>& words) {
    for (const std::u16string& word : words) {
      EXPECT_EQ(db_.InsertRow(key, {word}), RapidFindDB::kInsertRowOk);
    }
  }

  Keys Find(const std::vector<std::u16string>& words, int op = kDBMatchAll) {
    std::vector<DBMatchTerm> terms;
    for (const std::u16string& word : words) terms.emplace_back(word, kColumns);
    std::vector<std::u16string> keys = {u"left over"};
    EXPECT_TRUE(db_.Match(terms, op, keys));
    return Keys(keys.begin(), keys.end());
  }

  std::vector<DBMenuItem> Similar(const std::u16string& word, int maxCount = 100,
                                  bool wholeWords = false) {
    std::vector<DBMenuItem> items = {DBMenuItem{u"left over", 1}};
    EXPECT_TRUE(db_.GetSimilarList(word, maxCount, kColumns, items, wholeWords));
    return items;
  }

  int ErrorCode() {
    int code = -1;
    db_.GetDBErrorCode(code);
    return code;
  }

  TestTempFolder folder_;
  RapidFindDB db_;
};

TEST_F(RapidFindDBTest, EveryTermMustMatchSomeRowOfTheKey) {
  Add(u"k1", {u"blue", u"Title"});
  Add(u"k2", {u"blue", u"Lower Third"});
  Add(u"k3", {u"red", u"Title"});

  EXPECT_EQ(Find({u"blue", u"title"}), Keys({u"k1"}));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k1", u"k2"}));
  EXPECT_EQ(Find({u"blue", u"red"}), Keys());
  EXPECT_EQ(Find({u"blue", u"red"}, kDBMatchAny), Keys({u"k1", u"k2", u"k3"}));
  // A term of several words is looked for within one row, in any order.
  EXPECT_EQ(Find({u"third lower"}), Keys({u"k2"}));
  EXPECT_EQ(Find({u"blue title"}), Keys());
  // The same word twice changes nothing.
  EXPECT_EQ(Find({u"blue", u"BLUE", u"title"}), Keys({u"k1"}));
}

TEST_F(RapidFindDBTest, WordsMatchByPrefixIgnoringCaseAndDiacritics) {
  Add(u"summer", {u"\u00c9t\u00e9"});            // Été
  Add(u"dessert", {u"Cr\u00e8me Br\u00fbl\u00e9e"});  // Crème Brûlée
  Add(u"title", {u"Title"});

  EXPECT_EQ(Find({u"ete"}), Keys({u"summer"}));
  EXPECT_EQ(Find({u"\u00c9T\u00c9"}), Keys({u"summer"}));
  EXPECT_EQ(Find({u"et"}), Keys({u"summer"}));
  EXPECT_EQ(Find({u"creme brul"}), Keys({u"dessert"}));
  EXPECT_EQ(Find({u"BR\u00dbL\u00c9E"}), Keys({u"dessert"}));
  EXPECT_EQ(Find({u"TIT"}), Keys({u"title"}));
  EXPECT_EQ(Find({u"itle"}), Keys());  // a word's middle is not its beginning
  EXPECT_EQ(Find({u"titles"}), Keys());
}

TEST_F(RapidFindDBTest, QuerySyntaxInUserTextIsNeverSyntax) {
  Add(u"k1", {u"blue", u"Title"});
  Add(u"k2", {u"red"});
  Add(u"code", {u"C++ \"quoted\" (NEAR) OR-not"});

  // Operators and quotes are punctuation or plain words: never an error, never a wider search.
  for (const std::u16string text : {u"\"blue", u"blue\"", u"blue*", u"-blue", u"(blue", u"blue)",
                                    u"^blue", u"+blue", u"'blue'", u"\\blue"}) {
    EXPECT_EQ(Find({text}), Keys({u"k1"})) << zorvcore::UTF16ToUTF8(text);
  }
  EXPECT_EQ(Find({std::u16string(u"blue\0", 5)}), Keys({u"k1"}));
  // Column filters are words too: a filter would have found k1, the word "nametable" finds nothing.
  EXPECT_EQ(Find({u"nametable:blue"}), Keys());
  EXPECT_EQ(Find({u"{nametable}:blue"}), Keys());
  EXPECT_EQ(Find({u"blue OR red"}), Keys());
  EXPECT_EQ(Find({u"NEAR(blue red)"}), Keys());
  EXPECT_EQ(Find({u"NOT"}), Keys({u"code"}));
  EXPECT_EQ(Find({u"quoted near"}), Keys({u"code"}));
  EXPECT_EQ(Find({u"or"}), Keys({u"code"}));

  // A term without letters or digits asks for nothing and is ignored.
  EXPECT_EQ(Find({u"blue", u"--"}), Keys({u"k1"}));
  EXPECT_EQ(Find({u"\"", u"*", u"()", u"", u" "}), Keys());
  EXPECT_EQ(Find({}), Keys());
}

TEST_F(RapidFindDBTest, LongSearchesCombineEveryTerm) {
  std::vector<std::u16string> tags;
  for (int i = 0; i < 80; ++i) tags.push_back(u"tag" + zorvcore::UTF8ToUTF16(std::to_string(i)) + u"x");
  Add(u"many", tags);
  Add(u"one", {u"tag79x"});

  EXPECT_EQ(Find(tags), Keys({u"many"}));  // more terms than one query holds
  std::vector<std::u16string> missingLast = tags;
  missingLast.back() = u"absent";
  EXPECT_EQ(Find(missingLast), Keys());
  std::vector<std::u16string> anyOf(70, u"absent");
  anyOf.push_back(u"tag79x");
  EXPECT_EQ(Find(anyOf, kDBMatchAny), Keys({u"many", u"one"}));

  std::u16string huge;
  for (int i = 0; i < 5000; ++i) huge += u"w" + zorvcore::UTF8ToUTF16(std::to_string(i)) + u" ";
  EXPECT_EQ(Find({huge}), Keys());
}

TEST_F(RapidFindDBTest, UnknownOperatorFailsWithBadArgument) {
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db_.Match({{u"blue", kColumns}}, 7, keys));
  EXPECT_EQ(ErrorCode(), kDBBadArgument);
}

TEST_F(RapidFindDBTest, InsertRowStatuses) {
  EXPECT_EQ(RapidFindDB::kInsertRowExists, -1609629689);
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertRowExists);
  EXPECT_EQ(ErrorCode(), kDBRowExists);
  EXPECT_EQ(db_.InsertRow(u"k", {u"Blue"}), RapidFindDB::kInsertRowOk);  // another value
  EXPECT_EQ(ErrorCode(), kDBNoError);
  EXPECT_EQ(db_.InsertRow(u"other", {u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k", {u""}), RapidFindDB::kInsertRowOk);

  const int32_t wrongCount = db_.InsertRow(u"k", {u"a", u"b"});
  EXPECT_LT(wrongCount, 0);
  EXPECT_EQ(wrongCount, RapidFindDB::kInsertStatusBase | kDBBadArgument);
  EXPECT_EQ(ErrorCode(), kDBBadArgument);
  std::u16string text;
  db_.GetDBErrorString(text);
  EXPECT_FALSE(text.empty());

  EXPECT_TRUE(db_.DeleteTable());
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNoTable);
}

TEST_F(RapidFindDBTest, ClearThenRebuild) {
  Add(u"old", {u"blue", u"Title"});
  ASSERT_EQ(Find({u"blue"}), Keys({u"old"}));

  ASSERT_TRUE(db_.DeleteTable());
  EXPECT_EQ(Find({u"blue"}), Keys());  // no column: nothing found, and no error
  EXPECT_TRUE(Similar(u"blu").empty());
  ASSERT_TRUE(db_.UpdateTable(kColumns));
  EXPECT_TRUE(db_.UpdateTable(kColumns));  // creating what exists changes nothing
  EXPECT_EQ(db_.InsertRow(u"old", {u"blue"}), RapidFindDB::kInsertRowOk);  // gone, so not a repeat
  Add(u"new", {u"blue", u"green"});

  EXPECT_EQ(Find({u"blue"}), Keys({u"old", u"new"}));
  EXPECT_EQ(Find({u"title"}), Keys());
  EXPECT_THAT(Similar(u"blue"), ElementsAre(DBMenuItem{u"blue", 2}));
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
  EXPECT_TRUE(Similar(u"").empty());
  EXPECT_TRUE(Similar(u"\"*)").empty());
  EXPECT_TRUE(Similar(u"green").empty());
}

TEST_F(RapidFindDBTest, ColumnsChooseWhereATermLooks) {
  ASSERT_TRUE(db_.DeleteTable());
  ASSERT_TRUE(db_.UpdateTable({u"name", u"tags"}));
  ASSERT_TRUE(db_.UpdateTable({u"tags", u"name"}));  // already there: order stays
  EXPECT_EQ(db_.InsertRow(u"k1", {u"Title", u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k2", {u"Blue Sky", u"blue"}), RapidFindDB::kInsertRowOk);
  EXPECT_EQ(db_.InsertRow(u"k1", {u"Title", u"blue"}), RapidFindDB::kInsertRowExists);

  auto find = [&](const std::u16string& word, std::vector<std::u16string> columns) {
    std::vector<std::u16string> keys;
    EXPECT_TRUE(db_.Match({{word, columns}}, kDBMatchAll, keys));
    return Keys(keys.begin(), keys.end());
  };
  EXPECT_EQ(find(u"blue", {u"name"}), Keys({u"k2"}));
  EXPECT_EQ(find(u"blue", {u"tags"}), Keys({u"k1", u"k2"}));
  EXPECT_EQ(find(u"title", {u"tags"}), Keys());
  EXPECT_EQ(find(u"title", {}), Keys({u"k1"}));
  EXPECT_EQ(find(u"title", {u"unknown", u"name"}), Keys({u"k1"}));
  EXPECT_EQ(find(u"title", {u"unknown"}), Keys());

  std::vector<DBMenuItem> items;
  ASSERT_TRUE(db_.GetSimilarList(u"blue", 10, {}, items, false));
  // "blue" sits in both columns of k2; the key counts once.
  EXPECT_THAT(items, ElementsAre(DBMenuItem{u"blue", 2}, DBMenuItem{u"Blue Sky", 1}));
  ASSERT_TRUE(db_.GetSimilarList(u"blue", 10, {u"name"}, items, false));
  EXPECT_THAT(items, ElementsAre(DBMenuItem{u"Blue Sky", 1}));
}

TEST_F(RapidFindDBTest, ReadsSeeEveryRowInsertedBeforeThem) {
  for (int i = 1; i <= 300; ++i) {
    ASSERT_EQ(db_.InsertRow(u"k" + zorvcore::UTF8ToUTF16(std::to_string(i)), {u"common"}), 0);
    ASSERT_THAT(Similar(u"common"), ElementsAre(DBMenuItem{u"common", i}));
  }
  // Rows inserted on another thread are seen by this one as soon as that thread is done.
  std::thread writer([&] {
    for (int i = 0; i < 1000; ++i) {
      db_.InsertRow(u"t" + zorvcore::UTF8ToUTF16(std::to_string(i)), {u"threaded"});
    }
  });
  writer.join();
  EXPECT_EQ(Find({u"threaded"}).size(), 1000u);
}

TEST_F(RapidFindDBTest, ErrorStateBelongsToTheCallingThread) {
  EXPECT_EQ(db_.InsertRow(u"k", {u"a", u"b"}), RapidFindDB::kInsertStatusBase | kDBBadArgument);
  std::thread other([&] {
    EXPECT_EQ(db_.InsertRow(u"k", {u"fine"}), 0);
    EXPECT_EQ(ErrorCode(), kDBNoError);
  });
  other.join();
  EXPECT_EQ(ErrorCode(), kDBBadArgument);  // the other thread's success did not erase it
  EXPECT_EQ(Find({u"fine"}), Keys({u"k"}));
  EXPECT_EQ(ErrorCode(), kDBNoError);
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
  int code = 0, sqliteCode = 0;
  db_.GetDBErrorCode(code);
  db_.GetSQLiteErrorCode(sqliteCode);
  EXPECT_EQ(code, kDBSQLiteFailed);
  EXPECT_EQ(sqliteCode, SQLITE_INTERRUPT);
  std::vector<DBMenuItem> items;
  EXPECT_FALSE(db_.GetSimilarList(u"blue", 10, kColumns, items, false));

  db_.RegisterSQLiteProgressHandler(50000, nullptr, nullptr);
  EXPECT_EQ(Find({u"blue"}), Keys({u"k"}));
  // Interrupted requests left no snapshot behind: rows added since are seen.
  Add(u"later", {u"blue"});
  EXPECT_THAT(Similar(u"blue"), ElementsAre(DBMenuItem{u"blue", 2}));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k", u"later"}));
}

TEST_F(RapidFindDBTest, SynchronousModeChangesWithABatchOpen) {
  Add(u"before", {u"blue"});
  db_.SetSynchronousMode(false);
  Add(u"after", {u"blue"});
  db_.SetSynchronousMode(true);
  EXPECT_EQ(Find({u"blue"}), Keys({u"before", u"after"}));
}

TEST_F(RapidFindDBTest, RowsOutliveCloseAndReopen) {
  Add(u"k", {u"blue"});
  db_.Close();
  RapidFindDB again;
  ASSERT_TRUE(again.Open(folder_.File("index.db")));
  std::vector<std::u16string> keys;
  ASSERT_TRUE(again.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
  EXPECT_THAT(keys, ElementsAre(u"k"));
}

TEST(RapidFindDBClosedTest, EveryOperationFailsCleanly) {
  RapidFindDB db;
  std::vector<std::u16string> keys;
  std::vector<DBMenuItem> items;
  EXPECT_FALSE(db.UpdateTable(kColumns));
  EXPECT_FALSE(db.DeleteTable());
  EXPECT_EQ(db.InsertRow(u"k", {u"v"}), RapidFindDB::kInsertStatusBase | kDBNotOpen);
  EXPECT_FALSE(db.Match({{u"v", kColumns}}, kDBMatchAll, keys));
  EXPECT_FALSE(db.GetSimilarList(u"v", 10, kColumns, items, false));
  int code = 0;
  db.GetDBErrorCode(code);
  EXPECT_EQ(code, kDBNotOpen);
  db.Close();
  db.Close();
}

}  // namespace
}  // namespace zorvmetadatadb
