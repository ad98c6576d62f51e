// The module-wide index functions: what they add to their result sets and what they report.
#include "catalogue/search_index.h"

#include "catalogue/catalogue_test_fixture.h"

namespace zorvcapsule {
namespace {

// The index in the fixture's folder, its reports kept.
class SearchIndexTest : public testing::CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    InitializeRapidFindDB(Path("index.db"));
  }
  void TearDown() override {
    TerminateRapidFindDB();
    CatalogueTest::TearDown();
  }
};

TEST_F(SearchIndexTest, WordsMatchAcrossATemplatesRowsAndKeysAccumulate) {
  InsertRow(u"/t/title.tplx", u"Title");
  InsertRow(u"/t/title.tplx", u"blue");
  InsertRow(u"/t/other.tplx", u"Blueprint");
  std::set<std::u16string> keys{u"/already/there"};
  QueryRapidFindDB({u"blue", u"title"}, keys);
  EXPECT_EQ(keys, (std::set<std::u16string>{u"/already/there", u"/t/title.tplx"}));
  QueryRapidFindDB({u"BLUE"}, keys);
  EXPECT_EQ(keys.size(), 3u);
  QueryRapidFindDB({}, keys);  // no words: nothing added, nothing taken away
  EXPECT_EQ(keys.size(), 3u);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(SearchIndexTest, SimilarWordsAreFoldedToOneLowerCaseEntry) {
  InsertRow(u"/t/a.tplx", u"Blue");
  InsertRow(u"/t/b.tplx", u"BLUE");
  InsertRow(u"/t/c.tplx", u"bluish");
  InsertRow(u"/t/d.tplx", u"red");
  std::set<std::u16string> tags{u"existing"};
  GetTags(u"blu", tags);
  EXPECT_EQ(tags, (std::set<std::u16string>{u"blue", u"bluish", u"existing"}));
}

TEST_F(SearchIndexTest, RowAlreadyThereIsSilentAndClearLeavesAnEmptyTable) {
  InsertRow(u"/t/a.tplx", u"word");
  InsertRow(u"/t/a.tplx", u"word");
  EXPECT_TRUE(Reports().empty());
  ClearRapidFindDB();
  std::set<std::u16string> keys;
  QueryRapidFindDB({u"word"}, keys);
  EXPECT_TRUE(keys.empty());
  InsertRow(u"/t/b.tplx", u"word");
  QueryRapidFindDB({u"word"}, keys);
  EXPECT_EQ(keys, std::set<std::u16string>{u"/t/b.tplx"});
  EXPECT_TRUE(Reports().empty());
}

TEST_F(SearchIndexTest, FailureOnAClosedIndexIsReportedWithTheDiagnosticText) {
  TerminateRapidFindDB();
  InsertRow(u"/t/a.tplx", u"word");
  std::set<std::u16string> keys;
  QueryRapidFindDB({u"word"}, keys);
  EXPECT_TRUE(keys.empty());
  const auto reports = Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].rfind("DB Assert ErrorCode:1 ErrorString:", 0), 0u) << reports[0];
  EXPECT_NE(reports[0].find(" SQLiteErrorCode:0"), std::string::npos) << reports[0];
}

TEST_F(SearchIndexTest, OpeningInAMissingFolderFailsAndLaterCallsStayQuietNoOps) {
  InitializeRapidFindDB(Path("missing/index.db"));
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_NE(Reports()[0].find("SQLiteErrorCode:14"), std::string::npos) << Reports()[0];
  std::set<std::u16string> tags;
  GetTags(u"a", tags);
  EXPECT_TRUE(tags.empty());
}

}  // namespace
}  // namespace zorvcapsule
