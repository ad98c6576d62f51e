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
  size_t IdentityRequests() const {
    return service_.CountOf("/ident/prod") + service_.CountOf("/ident/stage");
  }
  std::string CachedToken() const {
    const AccessTokenDataPtr cached = GetCachedAccessToken();
    return cached ? cached->profile->access_token.str() : "(none)";
  }

  TestStockService service_;
};

TEST_F(StockAccessTokenTest, AHostTokenIsUsedAndCachedWithoutAskingTheIdentityService) {
  service_.OnTokenFetch(200, kProfile);
  service_.Start();
  EXPECT_TRUE(CanConnectWithStock("client", "", MakeTestConnection(), u"host-token"));
  EXPECT_EQ(CachedToken(), "host-token");

  // Even without a connection, and even when a fetch would be forced.
  AccessTokenDataPtr token;
  EXPECT_TRUE(FetchStockAccessToken("client", "credential", nullptr, token, u"second-token", true));
  EXPECT_EQ(token->profile->access_token, "second-token");
  EXPECT_EQ(CachedToken(), "second-token");
  EXPECT_EQ(IdentityRequests(), 0u);
}

TEST_F(StockAccessTokenTest, WithoutCredentialOrTokenThereIsNoToken) {
  service_.OnTokenFetch(200, kProfile);
  service_.Start();
  EXPECT_FALSE(CanConnectWithStock("client", "", MakeTestConnection(), u""));
  AccessTokenDataPtr token;
  EXPECT_FALSE(FetchStockAccessToken("client", "credential", nullptr, token, u"", false));
  EXPECT_EQ(token, nullptr);
  EXPECT_EQ(GetCachedAccessToken(), nullptr);
  EXPECT_EQ(IdentityRequests(), 0u);
}

TEST_F(StockAccessTokenTest, AFetchPostsTheConnectionTextsAndScopesAndCachesTheToken) {
  service_.OnTokenFetch(200, kProfile);
  service_.Start();
  EXPECT_TRUE(CanConnectWithStock("client-7", "secret credential", MakeTestConnection(), u""));
  EXPECT_EQ(CachedToken(), "fetched-token");

  const auto posts = service_.RequestsTo("/ident/prod");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Param("client_id"), "client-7");
  EXPECT_EQ(posts[0].Param("user_credential"), "secret credential");
  EXPECT_EQ(posts[0].Param("connection_param_a"), "param-a-prod");
  EXPECT_EQ(posts[0].Param("connection_param_b"), "param-b-prod");
  EXPECT_EQ(posts[0].Param("scope"), std::string(kStockIdentityScopes));
  EXPECT_EQ(posts[0].Param("scope").size(), 79u);
}

TEST_F(StockAccessTokenTest, ACachedTokenServesUnforcedFetchesAndAForcedOneReplacesIt) {
  service_.OnTokenFetch(200, kProfile);
  service_.Start();
  SetCachedAccessToken(AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic("old-token")));

  AccessTokenDataPtr token;
  EXPECT_TRUE(FetchStockAccessToken("client", "credential", MakeTestConnection(), token, u"", false));
  EXPECT_EQ(token->profile->access_token, "old-token");
  EXPECT_EQ(IdentityRequests(), 0u);

  EXPECT_TRUE(FetchStockAccessToken("client", "credential", MakeTestConnection(), token, u"", true));
  EXPECT_EQ(token->profile->access_token, "fetched-token");
  EXPECT_EQ(CachedToken(), "fetched-token");
  EXPECT_EQ(IdentityRequests(), 1u);
}

TEST_F(StockAccessTokenTest, AFailedFetchKeepsTheCachedToken) {
  struct Case {
    int status;
    const char* body;
  } cases[] = {
      {401, R"({"error": "invalid_credential"})"},  // refused
      {500, "oops"},                                 // broken service
      {200, "not json"},                             // unreadable success
      {200, R"({"access_token": 17})"},              // a member of the wrong type
      {200, R"({"access_token": ""})"},              // no token in the reply
      {200, R"([])"},                                // not an object
  };
  for (const Case& c : cases) {
    TestStockService service;
    service.OnTokenFetch(c.status, c.body);
    service.Start();
    SetCachedAccessToken(AccessTokenData::FromToken(zorvcore::ImmutableString::CreateStatic("old-token")));
    EXPECT_FALSE(CanConnectWithStock("client", "credential", MakeTestConnection(), u"")) << c.body;
    const AccessTokenDataPtr cached = GetCachedAccessToken();
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->profile->access_token, "old-token") << c.body;
    EXPECT_EQ(service.CountOf("/ident/prod"), 1u) << c.body;
  }
}

TEST_F(StockAccessTokenTest, AnUnreachableIdentityServiceGivesNoToken) {
  service_.Start();
  zorvcore::DebugDatabase::SetEntry("Identity.ServiceURL", service_.PlainUrl("/ident/prod"));
  EXPECT_FALSE(CanConnectWithStock("client", "credential", MakeTestConnection(), u""));
  zorvcore::DebugDatabase::SetEntry("Identity.ServiceURL", "");
  EXPECT_FALSE(CanConnectWithStock("client", "credential", MakeTestConnection(), u""));
  EXPECT_EQ(GetCachedAccessToken(), nullptr);
}

}  // namespace
}  // namespace zorvcapsule
