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

// Matches join what the set already holds: the manager gathers every source's matches in one set.
TEST_F(SearchIndexTest, RowAlreadyThereIsSilentAndMatchesJoinTheKeysAlreadyFound) {
  InsertRow(u"/t/a.tplx", u"word");
  InsertRow(u"/t/a.tplx", u"word");
  std::set<std::u16string> keys{u"/already/there"};
  QueryRapidFindDB({u"word"}, keys);
  EXPECT_EQ(keys, (std::set<std::u16string>{u"/already/there", u"/t/a.tplx"}));
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
