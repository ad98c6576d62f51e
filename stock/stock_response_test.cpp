// Reading service replies into records: the wrapper and the record rules.
#include "stock/stock_response.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "host/core/json_value.h"
#include "stock/access_token_data.h"
#include "stock/search_results.h"

namespace zorvcapsule {
namespace {

using zorvcore::serialization::BadCastError;

// (Every member of a search hit is read into an entry in the stock source's tests; absent members
// keep their defaults in tools/testdata/stock_search.json.)
TEST(StockResponseTest, AWrappedReplyIsReadAsItsInnerObject) {
  const std::string reply = R"({"nb_results": 2, "files": [{"id": 101}, {"id": 102}]})";
  for (const std::string& payload : {reply, R"({"SerializerWrappedObject": )" + reply + "}"}) {
    SCOPED_TRACE(payload);
    SearchResults results;
    ParseStockResponse(payload, results);
    EXPECT_EQ(results.nb_results, 2);
    ASSERT_EQ(results.files.size(), 2u);
    EXPECT_EQ(results.files[1].id, 102);
  }
  // The wrapper is only unwrapped when it is the root's member.
  SearchResults other;
  ParseStockResponse(R"({"nb_results": 3, "inner": {"SerializerWrappedObject": {"nb_results": 9}}})", other);
  EXPECT_EQ(other.nb_results, 3);
}

// Text that is not JSON is refused by the JSON reader (its own tests); the error that makes of it is
// seen in the stock source's, licensing's and download's tests.
TEST(StockResponseTest, ValuesOfTheWrongKindAreBadCasts) {
  const char* payloads[] = {
      "[]",                                               // root not an object
      R"({"SerializerWrappedObject": "text"})",           // wrapped root not an object
      R"({"nb_results": "12"})",                          // a number as text
      R"({"nb_results": 1.5})",                           // a number with a fraction
      R"({"files": {"id": 1}})",                          // files not an array
      R"({"files": [{"keywords": [{"name": 3}]}]})",      // a nested member
  };
  for (const char* payload : payloads) {
    SearchResults results;
    results.nb_results = 42;
    EXPECT_THROW(ParseStockResponse(payload, results), BadCastError) << payload;
    EXPECT_EQ(results.nb_results, 42) << "a failed read changed the record: " << payload;
  }
}

TEST(StockResponseTest, IntegersBeyond32BitsAreClamped) {
  SearchResults results;
  ParseStockResponse(
      R"({"nb_results": 5000000000, "files": [{"id": -5000000000, "size_bytes": 18446744073709551615}]})",
      results);
  EXPECT_EQ(results.nb_results, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(results.files[0].id, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(results.files[0].sizeBytes, std::numeric_limits<int32_t>::max());
}

TEST(StockResponseTest, ReadsIdentityProfiles) {
  ProfileData profile;
  ParseStockResponse(R"({"access_token": "tok", "refresh_token": "ref", "email": "a@b", "userId": "u1",
                         "serviceAccounts": [{"ident": "i1", "serviceCode": "stock", "serviceStatus": "active",
                                              "serviceLevel": "pro", "ownerGuid": "o", "delegateGuid": "d"},
                                             {"ident": "i2"}]})",
                     profile);
  EXPECT_EQ(profile.refresh_token, "ref");
  EXPECT_EQ(profile.email, "a@b");
  EXPECT_EQ(profile.userId, "u1");
  ASSERT_EQ(profile.serviceAccounts.size(), 2u);
  EXPECT_EQ(profile.serviceAccounts[0].serviceCode, "stock");
  EXPECT_EQ(profile.serviceAccounts[0].delegateGuid, "d");
  EXPECT_EQ(profile.serviceAccounts[1].ident, "i2");
}

}  // namespace
}  // namespace zorvcapsule
