// The four roads to an access token, against a loopback identity service.
#include "stock/stock_access_token.h"

#include <gtest/gtest.h>

#include <string>

#include "host/core/debug_database.h"
#include "stock/can_connect_with_stock.h"
#include "stock/stock_service.h"
#include "stock/stock_token_cache.h"
#include "stock/test_stock_service.h"

namespace zorvcapsule {
namespace {

using testing::MakeTestConnection;
using testing::TestStockService;

constexpr const char* kProfile = R"({"access_token": "fetched-token", "userId": "u1"})";

class StockAccessTokenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_.OnTokenFetch(200, kProfile);
    service_.Start();
  }
  static std::string CachedToken() {
    const AccessTokenDataPtr cached = GetCachedAccessToken();
    return cached ? cached->profile->access_token.str() : "(none)";
  }
  static void CacheToken(const char* token) {
    SetCachedAccessToken(AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic(token)));
  }

  TestStockService service_;
};

// A host token is used and cached without asking the identity service, even without a connection
// and even when a fetch would be forced; without credential or token there is no token.
TEST_F(StockAccessTokenTest, AHostTokenIsUsedAndCachedAndWithoutOneACredentialIsNeeded) {
  EXPECT_FALSE(CanConnectWithStock("client", "", MakeTestConnection(), u""));
  AccessTokenDataPtr token;
  EXPECT_FALSE(FetchStockAccessToken("client", "credential", nullptr, token, u"", false));
  EXPECT_EQ(token, nullptr);
  EXPECT_EQ(GetCachedAccessToken(), nullptr);

  EXPECT_TRUE(CanConnectWithStock("client", "", MakeTestConnection(), u"host-token"));
  EXPECT_EQ(CachedToken(), "host-token");
  EXPECT_TRUE(FetchStockAccessToken("client", "credential", nullptr, token, u"second-token", true));
  EXPECT_EQ(token->profile->access_token, "second-token");
  EXPECT_EQ(CachedToken(), "second-token");
  EXPECT_EQ(service_.CountOf("/ident/prod"), 0u);
}

// A fetch posts the connection texts and scopes and caches its token; a cached token serves
// unforced fetches and a forced one replaces it. (Client ID and credential are checked by the
// served identity service of the tool's tests.)
TEST_F(StockAccessTokenTest, AFetchPostsTheConnectionTextsAndACachedTokenServesUntilAFetchIsForced) {
  EXPECT_TRUE(CanConnectWithStock("client-7", "secret credential", MakeTestConnection(), u""));
  EXPECT_EQ(CachedToken(), "fetched-token");
  const auto posts = service_.RequestsTo("/ident/prod");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Param("connection_param_a"), "param-a-prod");
  EXPECT_EQ(posts[0].Param("connection_param_b"), "param-b-prod");
  EXPECT_EQ(posts[0].Param("scope"), std::string(kStockIdentityScopes));

  CacheToken("old-token");
  AccessTokenDataPtr token;
  EXPECT_TRUE(FetchStockAccessToken("client", "credential", MakeTestConnection(), token, u"", false));
  EXPECT_EQ(token->profile->access_token, "old-token");
  EXPECT_EQ(service_.CountOf("/ident/prod"), 1u);
  EXPECT_TRUE(FetchStockAccessToken("client", "credential", MakeTestConnection(), token, u"", true));
  EXPECT_EQ(token->profile->access_token, "fetched-token");
  EXPECT_EQ(CachedToken(), "fetched-token");
  EXPECT_EQ(service_.CountOf("/ident/prod"), 2u);
}

// A refused, broken or unreadable answer, or no answer at all, gives no token and keeps the cached one.
TEST_F(StockAccessTokenTest, AFailedFetchKeepsTheCachedToken) {
  struct Case {
    int status;
    const char* body;
  } cases[] = {
      {0, ""},                                      // no address: no fetch starts
      {401, R"({"error": "invalid_credential"})"},  // refused
      {500, "oops"},                                 // broken service
      {200, "not json"},                             // unreadable success
      {200, R"({"access_token": ""})"},              // no token in the reply
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    TestStockService service;
    service.OnTokenFetch(c.status, c.body);
    service.Start();
    if (c.status == 0) zorvcore::DebugDatabase::SetEntry("Identity.ServiceURL", "");
    CacheToken("old-token");
    EXPECT_FALSE(CanConnectWithStock("client", "credential", MakeTestConnection(), u""));
    EXPECT_EQ(CachedToken(), "old-token");
    EXPECT_EQ(service.CountOf("/ident/prod"), c.status == 0 ? 0u : 1u);
  }
}

}  // namespace
}  // namespace zorvcapsule
