#include "host/appsupport/ident_connection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/core/debug_database.h"
#include "host/net/curl_request_processor.h"
#include "host/net/test_call_recorder.h"
#include "host/net/test_http_server.h"

namespace zorvappsupport {
namespace {

using zorvcore::DebugDatabase;
using zorvnet::testing::TestHttpServer;
using FetchOutcome = zorvnet::testing::CallRecorder<IDENT_STATUS, std::string>;

constexpr const char* kScopes = "openid,profile,stock";

class IdentConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    processor_ = zorvnet::CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
    const auto answer = [](int status, const char* body) {
      return [=](const httplib::Request&, httplib::Response& res) {
        res.status = status;
        res.set_content(body, "application/json");
      };
    };
    server_.Post("/token", answer(200, R"({"access_token":"tok-1","email":"a@b.test"})"));
    server_.Post("/refused", answer(401, R"({"error":"invalid_grant"})"));
    server_.Post("/failing", answer(503, "maintenance"));
    server_.HoldPost("/held");
    server_.Start();
  }
  void TearDown() override { ClearSettings(); }

  static void ClearSettings() {
    DebugDatabase::ClearEntry(IdentConnection::kServiceURLSetting);
    DebugDatabase::ClearEntry(IdentConnection::kStageServiceURLSetting);
  }
  static void UseProduction(const std::string& url) {
    DebugDatabase::SetEntry(IdentConnection::kServiceURLSetting, url);
  }

  // Starts a fetch with fixed values on the fixture's processor.
  FetchOutcome Fetch() {
    IdentConnection connection("client-7", processor_);
    FetchOutcome outcome;
    EXPECT_TRUE(connection.AsyncFetchAccessToken(true, "cred a&b=c+d é", "conn A", "conn/B", kScopes,
                                                 outcome.Function()));
    return outcome;
  }

  // Destroys the processor, which returns once every callback has been called.
  void ShutDown() { processor_.reset(); }

  TestHttpServer server_;
  std::shared_ptr<zorvnet::CurlRequestProcessor> processor_;
};

// Each outcome gives its status and the reply as it came. The stage endpoint and the connection texts
// a stock connection sends are pinned by the stock access-token and source tests.
TEST_F(IdentConnectionTest, PostsTheFormAndEachOutcomeGivesItsStatusAndReply) {
  std::string unreachable;
  {
    TestHttpServer gone;
    gone.Start();
    unreachable = gone.Url("/token");
  }
  const struct {
    std::string url;
    IDENT_STATUS status;
    std::string reply;
  } cases[] = {
      {server_.Url("/token"), kIdentStatusOK, R"({"access_token":"tok-1","email":"a@b.test"})"},
      {server_.Url("/refused"), kIdentStatusRejected, R"({"error":"invalid_grant"})"},
      {server_.Url("/failing"), kIdentStatusServerError, "maintenance"},
      {unreachable, kIdentStatusNetworkError, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    UseProduction(c.url);
    const FetchOutcome outcome = Fetch();
    ASSERT_TRUE(outcome.WaitForCall());
    EXPECT_EQ(outcome.Arg<0>(), c.status);
    EXPECT_EQ(outcome.Arg<1>(), c.reply);
  }
  const auto requests = server_.RequestsTo("/token");
  ASSERT_EQ(requests.size(), 1u);
  const auto& request = requests[0];
  EXPECT_EQ(request.Header("Accept"), "application/json");
  EXPECT_EQ(request.Param("grant_type"), "user_credential");
  EXPECT_EQ(request.Param("client_id"), "client-7");
  EXPECT_EQ(request.Param("user_credential"), "cred a&b=c+d é");  // every form-special character survives
}

TEST_F(IdentConnectionTest, FetchIsNotStartedWithoutEndpointClientOrCredential) {
  FetchOutcome outcome;
  IdentConnection connection("client-7", processor_);
  IdentConnection anonymous("", processor_);
  const auto fetch = [&](IdentConnection& from, bool production, const char* credential) {
    return from.AsyncFetchAccessToken(production, credential, "a", "b", kScopes, outcome.Function());
  };
  EXPECT_FALSE(fetch(connection, true, "cred"));  // no setting yet
  UseProduction(server_.Url("/token"));
  EXPECT_FALSE(fetch(connection, false, "cred"));  // no stage setting
  EXPECT_FALSE(fetch(connection, true, ""));
  EXPECT_FALSE(fetch(anonymous, true, "cred"));
  ShutDown();
  EXPECT_EQ(outcome.Calls(), 0);
  EXPECT_TRUE(server_.Requests().empty());
}

// The processor's shutdown cancels what is in flight; the connection may go before its answer comes.
TEST_F(IdentConnectionTest, CallbackComesOnceAfterTheConnectionIsGoneOrAsCancelledAtShutdown) {
  UseProduction(server_.Url("/held"));
  const FetchOutcome cancelled = Fetch();
  ASSERT_TRUE(server_.WaitUntilHeld(1));
  ShutDown();
  EXPECT_EQ(cancelled.Calls(), 1);
  EXPECT_EQ(cancelled.Arg<0>(), kIdentStatusCancelled);
  EXPECT_EQ(cancelled.Arg<1>(), "");

  processor_ = zorvnet::CurlRequestProcessor::Create();
  const FetchOutcome late = Fetch();  // the connection is gone when Fetch returns
  ASSERT_TRUE(server_.WaitUntilHeld(2));
  server_.Release();
  ASSERT_TRUE(late.WaitForCall());
  ShutDown();
  EXPECT_EQ(late.Calls(), 1);
  EXPECT_EQ(late.Arg<0>(), kIdentStatusOK);
  EXPECT_EQ(late.Arg<1>(), "late");
}

}  // namespace
}  // namespace zorvappsupport
