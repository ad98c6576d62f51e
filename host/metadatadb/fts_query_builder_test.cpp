#include "host/metadatadb/fts_query_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "host/metadatadb/index_schema.h"
#include "host/metadatadb/sqlite_connection.h"
#include "host/metadatadb/sqlite_statement.h"

namespace zorvmetadatadb {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FtsQueryBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection_.Open(":memory:").ok());
    IndexFileState state;
    ASSERT_TRUE(PrepareIndexSchema(connection_, &state).ok());
    ASSERT_TRUE(builder_.Attach(connection_.handle()).ok());
  }
  void TearDown() override { builder_.Detach(); }

  // Runs the expression against the index's full-text table; SQLITE_DONE when it parses.
  int RunMatch(const std::string& expression) {
    DBError error;
    sqlite3_stmt* raw = connection_.Prepare(
        "SELECT rowid FROM rf_words_fts WHERE rf_words_fts MATCH ?1", &error);
    EXPECT_NE(raw, nullptr) << error.text;
    ScopedStatement statement(raw);
    statement.BindText(1, expression);
    int rc;
    while ((rc = statement.Step()) == SQLITE_ROW) {
    }
    return rc;
  }

  SQLiteConnection connection_;
  FtsQueryBuilder builder_;
};

TEST_F(FtsQueryBuilderTest, WordsAreSplitAndFoldedLikeTheIndex) {
  EXPECT_THAT(builder_.Words(u"\u00c9t\u00e9, blue-Title  42x"),
              ElementsAre("ete", "blue", "title", "42x"));
  EXPECT_THAT(builder_.Words(u"\"*()-:^ \t"), IsEmpty());
  EXPECT_THAT(builder_.Words(u""), IsEmpty());
}

TEST_F(FtsQueryBuilderTest, ExpressionsQuoteEveryWord) {
  EXPECT_EQ(builder_.Expression(u"Blue OR title*", false), "\"blue\"* AND \"or\"* AND \"title\"*");
  EXPECT_EQ(builder_.Expression(u"Blue NEAR", true), "\"blue\" AND \"near\"");
  EXPECT_EQ(builder_.Expression(u" -- ", false), "");
}

TEST_F(FtsQueryBuilderTest, AnyTextGivesAnExpressionThatParses) {
  const std::u16string pieces[] = {u"\"", u"*", u"(", u")", u"-", u"+", u"^", u":", u"{", u"}",
                                   u" ", u"OR", u"AND", u"NOT", u"NEAR", u"nametable", u"\u00e9",
                                   u"x", u"7", std::u16string(1, u'\0'),
                                   std::u16string(1, char16_t(0xD800)), u"\U0001F600", u","};
  std::mt19937 random(42);
  for (int i = 0; i < 2000; ++i) {
    std::u16string text;
    const int length = static_cast<int>(random() % 12);
    for (int j = 0; j < length; ++j) text += pieces[random() % std::size(pieces)];
    for (bool wholeWords : {false, true}) {
      const std::string expression = builder_.Expression(text, wholeWords);
      if (!expression.empty()) {
        EXPECT_EQ(RunMatch(expression), SQLITE_DONE) << expression;
      }
    }
  }
}

}  // namespace
}  // namespace zorvmetadatadb
