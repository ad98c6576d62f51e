#include "host/metadatadb/rapid_find_db.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <thread>

#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"

namespace zorvmetadatadb {
namespace {

using ::testing::ElementsAre;
using Keys = std::set<std::u16string>;
using Items = std::vector<DBMenuItem>;

const std::vector<std::u16string> kColumns = {u"nametable"};

std::u16string Number(int n) { return zorvcore::UTF8ToUTF16(std::to_string(n)); }

class RapidFindDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open(folder_.U16(u"index.db")));
    ASSERT_TRUE(db_.UpdateTable(kColumns));
  }

  void Add(const std::u16string& key, const std::vector<std::u16string>& words) {
    for (const std::u16string& word : words) {
      EXPECT_EQ(db_.InsertRow(key, {word}), RapidFindDB::kInsertRowOk);
    }
  }

  Keys Find(const std::vector<std::u16string>& words, int op = kDBMatchAll,
            const std::vector<std::u16string>& columns = kColumns) {
    std::vector<DBMatchTerm> terms;
    for (const std::u16string& word : words) terms.emplace_back(word, columns);
    std::vector<std::u16string> keys = {u"left over"};
    EXPECT_TRUE(db_.Match(terms, op, keys));
    return Keys(keys.begin(), keys.end());
  }

  Items Similar(const std::u16string& word, int maxCount = 100, bool wholeWords = false,
                const std::vector<std::u16string>& columns = kColumns) {
    Items items = {DBMenuItem{u"left over", 1}};
    EXPECT_TRUE(db_.GetSimilarList(word, maxCount, columns, items, wholeWords));
    return items;
  }

  int ErrorCode() {
    int code = -1;
    db_.GetDBErrorCode(code);
    return code;
  }

  zorvcore::TestTempFolder folder_;
  RapidFindDB db_;
};

struct FindCase {
  std::vector<std::u16string> words;
  Keys keys;
};

void ExpectFinds(const std::vector<FindCase>& cases,
                 const std::function<Keys(const FindCase&)>& find) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.words.empty() ? "no term" : zorvcore::UTF16ToUTF8(c.words[0]));
    EXPECT_EQ(find(c), c.keys);
  }
}

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
       {{u"titles"}, {}}},
      [&](const FindCase& c) { return Find(c.words); });
  EXPECT_EQ(Find({u"blue", u"red"}, kDBMatchAny), Keys({u"k1", u"k2", u"k3"}));
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
       {{}, {}}},
      [&](const FindCase& c) { return Find(c.words); });

  // Any text at all makes a request that runs (the helpers expect success).
  const std::u16string pieces[] = {u"\"", u"*", u"(", u")", u"-", u"+", u"^", u":", u"{", u"}",
                                   u" ", u"OR", u"AND", u"NOT", u"NEAR", u"nametable", u"\u00e9",
                                   u"x", u"7", std::u16string(1, u'\0'),
                                   std::u16string(1, char16_t(0xD800)), u"\U0001F600", u","};
  std::mt19937 random(42);
  for (int i = 0; i < 500; ++i) {
    std::u16string text;
    for (int j = static_cast<int>(random() % 12); j > 0; --j) {
      text += pieces[random() % std::size(pieces)];
    }
    Find({text});
    Similar(text, 10, i % 2 == 0);
  }
}

TEST_F(RapidFindDBTest, LongSearchesCombineEveryTerm) {
  std::vector<std::u16string> tags;
  for (int i = 0; i < 80; ++i) tags.push_back(u"tag" + Number(i) + u"x");
  Add(u"many", tags);
  Add(u"one", {u"tag79x"});
  std::vector<std::u16string> missingLast = tags;
  missingLast.back() = u"absent";
  std::vector<std::u16string> anyOf(70, u"absent");
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
  EXPECT_EQ(ErrorCode(), kDBRowExists);
  EXPECT_EQ(db_.InsertRow(u"k", {u"Blue"}), RapidFindDB::kInsertRowOk);  // another value
  EXPECT_EQ(ErrorCode(), kDBNoError);
  EXPECT_EQ(db_.InsertRow(u"k", {u""}), RapidFindDB::kInsertRowOk);

  EXPECT_EQ(db_.InsertRow(u"k", {u"a", u"b"}), RapidFindDB::kInsertStatusBase | kDBBadArgument);
  // The error state belongs to the calling thread: another thread's success does not erase it.
  std::thread([&] {
    EXPECT_EQ(db_.InsertRow(u"k", {u"fine"}), 0);
    EXPECT_EQ(ErrorCode(), kDBNoError);
  }).join();
  EXPECT_EQ(ErrorCode(), kDBBadArgument);
  std::u16string text;
  db_.GetDBErrorString(text);
  EXPECT_FALSE(text.empty());
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db_.Match({{u"blue", kColumns}}, 7, keys));  // no such operator
  EXPECT_EQ(ErrorCode(), kDBBadArgument);

  // Emptied: no column, so nothing is found (without an error) and no row can be added.
  EXPECT_TRUE(db_.DeleteTable());
  EXPECT_EQ(Find({u"blue"}), Keys());
  EXPECT_TRUE(Similar(u"blu").empty());
  EXPECT_EQ(db_.InsertRow(u"k", {u"blue"}), RapidFindDB::kInsertStatusBase | kDBNoTable);
  // Set up again, it starts from nothing: the old row is gone, so adding it is no repeat.
  ASSERT_TRUE(db_.UpdateTable(kColumns));
  EXPECT_TRUE(db_.UpdateTable(kColumns));
  Add(u"k", {u"blue"});
  Add(u"new", {u"blue", u"green"});
  EXPECT_EQ(Find({u"blue"}), Keys({u"k", u"new"}));
  EXPECT_EQ(Find({u"a"}), Keys());
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
                return Find({c.words[0]}, kDBMatchAll, {c.words.begin() + 1, c.words.end()});
              });
  // "blue" sits in both columns of k2; the key counts once.
  EXPECT_THAT(Similar(u"blue", 10, false, {}),
              ElementsAre(DBMenuItem{u"blue", 2}, DBMenuItem{u"Blue Sky", 1}));
  EXPECT_THAT(Similar(u"blue", 10, false, {u"name"}), ElementsAre(DBMenuItem{u"Blue Sky", 1}));
}

TEST_F(RapidFindDBTest, ReadsSeeEveryRowInsertedBeforeThem) {
  for (int i = 1; i <= 300; ++i) {
    ASSERT_EQ(db_.InsertRow(u"k" + Number(i), {u"common"}), 0);
    ASSERT_THAT(Similar(u"common"), ElementsAre(DBMenuItem{u"common", i}));
  }
  // Rows inserted on another thread are seen by this one as soon as that thread is done; a
  // synchronous setting changed with their batch open keeps that batch.
  std::thread writer([&] {
    for (int i = 0; i < 1000; ++i) db_.InsertRow(u"t" + Number(i), {u"threaded"});
    db_.SetSynchronousMode(false);
  });
  writer.join();
  EXPECT_EQ(Find({u"threaded"}).size(), 1000u);
}

int StopAtOnce(void* calls) {
  ++*static_cast<int*>(calls);
  return 1;
}

TEST_F(RapidFindDBTest, ProgressHandlerCanInterruptAndBeRemoved) {
  Add(u"k", {u"blue"});
  int calls = 0, sqliteCode = 0;
  db_.RegisterSQLiteProgressHandler(1, StopAtOnce, &calls);
  std::vector<std::u16string> keys;
  EXPECT_FALSE(db_.Match({{u"blue", kColumns}}, kDBMatchAll, keys));
  EXPECT_GT(calls, 0);
  db_.GetSQLiteErrorCode(sqliteCode);
  EXPECT_EQ(ErrorCode(), kDBSQLiteFailed);
  EXPECT_EQ(sqliteCode, SQLITE_INTERRUPT);
  Items items;
  EXPECT_FALSE(db_.GetSimilarList(u"blue", 10, kColumns, items, false));

  db_.RegisterSQLiteProgressHandler(50000, nullptr, nullptr);
  EXPECT_EQ(Find({u"blue"}), Keys({u"k"}));
  // Interrupted requests left no snapshot behind: rows added since are seen.
  Add(u"later", {u"blue"});
  EXPECT_THAT(Similar(u"blue"), ElementsAre(DBMenuItem{u"blue", 2}));
  EXPECT_EQ(Find({u"blue"}), Keys({u"k", u"later"}));
}

}  // namespace
}  // namespace zorvmetadatadb
