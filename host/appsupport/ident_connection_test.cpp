#include "host/appsupport/ident_connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "host/core/debug_database.h"
#include "host/core/gate.h"
#include "host/net/curl_request_processor.h"
#include "host/net/test_http_server.h"

namespace zorvappsupport {
namespace {

using zorvcore::DebugDatabase;
using zorvnet::testing::TestHttpServer;

constexpr const char* kScopes = "openid,profile,stock";

// What a fetch's callback was given, and how often it was called.
class FetchOutcome {
 public:
  FetchOutcome() : state_(std::make_shared<State>()) {}

  IdentConnection::FetchCallback Callback() const {
    return [state = state_](IDENT_STATUS status, const char* reply) {
      {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->status = status;
        state->reply = reply;
      }
      ++state->calls;
      state->called.Open();
    };
  }
  // False when no call came within a minute.
  bool Wait() const { return state_->called.PassThrough(60000); }
  IDENT_STATUS Status() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->status;
  }
  std::string Reply() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->reply;
  }
  int Calls() const { return state_->calls.load(); }

 private:
  struct State {
    std::mutex mutex;
    IDENT_STATUS status = kIdentStatusNetworkError;
    std::string reply = "(not called)";
    std::atomic<int> calls{0};
    zorvcore::Gate called;
  };
  std::shared_ptr<State> state_;
};

class IdentConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    processor_ = zorvnet::CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
    server_.Post("/token", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(R"({"access_token":"tok-1","email":"a@b.test"})", "application/json");
    });
    server_.Post("/stage/token", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(R"({"access_token":"stage-tok"})", "application/json");
    });
    server_.Post("/refused", [](const httplib::Request&, httplib::Response& res) {
      res.status = 401;
      res.set_content(R"({"error":"invalid_grant","jump":"https://sign-in.test/"})",
                      "application/json");
    });
    server_.Post("/failing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 503;
      res.set_content("maintenance", "text/plain");
    });
  }
  void TearDown() override { ClearSettings(); }

  static void ClearSettings() {
    DebugDatabase::ClearEntry(IdentConnection::kServiceURLSetting);
    DebugDatabase::ClearEntry(IdentConnection::kStageServiceURLSetting);
  }

  void UseProduction(const std::string& url) {
    DebugDatabase::SetEntry(IdentConnection::kServiceURLSetting, url);
  }

  // Starts a production fetch with fixed values on the fixture's processor.
  FetchOutcome Fetch(bool production = true) {
    IdentConnection connection("client-7", processor_);
    FetchOutcome outcome;
    EXPECT_TRUE(connection.AsyncFetchAccessToken(production, "cred a&b=c+d é", "conn A",
                                                 "conn/B", kScopes, outcome.Callback()));
    return outcome;
  }

  // Destroys the processor, which returns once every callback has been called.
  void ShutDown() { processor_.reset(); }

  // Declared before the server, whose handlers wait on them until it stops.
  zorvcore::Gate slowArrived_;
  zorvcore::Gate slowRelease_;
  TestHttpServer server_;
  std::shared_ptr<zorvnet::CurlRequestProcessor> processor_;
};

TEST_F(IdentConnectionTest, PostsTheFormToTheProductionEndpointAndHandsOnTheReply) {
  server_.Start();
  UseProduction(server_.Url("/token"));

  const FetchOutcome outcome = Fetch();

  ASSERT_TRUE(outcome.Wait());
  EXPECT_EQ(outcome.Status(), kIdentStatusOK);
  EXPECT_EQ(outcome.Reply(), R"({"access_token":"tok-1","email":"a@b.test"})");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const auto& request = requests[0];
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, "/token");
  EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(request.Header("Accept"), "application/json");
  EXPECT_EQ(request.Param("grant_type"), "user_credential");
  EXPECT_EQ(request.Param("client_id"), "client-7");
  EXPECT_EQ(request.Param("user_credential"), "cred a&b=c+d é");
  EXPECT_EQ(request.Param("connection_param_a"), "conn A");
  EXPECT_EQ(request.Param("connection_param_b"), "conn/B");
  EXPECT_EQ(request.Param("scope"), kScopes);
  EXPECT_EQ(request.body.find("grant_type="), 0u);
}

TEST_F(IdentConnectionTest, EachOutcomeGivesItsStatusAndReply) {
  std::string unreachable;
  {
    TestHttpServer gone;
    gone.Start();
    unreachable = gone.Url("/token");
  }
  server_.Start();
  DebugDatabase::SetEntry(IdentConnection::kStageServiceURLSetting, server_.Url("/stage/token"));
  const struct {
    std::string url;
    bool production;
    IDENT_STATUS status;
    std::string reply;
  } cases[] = {
      {server_.Url("/token"), false, kIdentStatusOK, R"({"access_token":"stage-tok"})"},
      {server_.Url("/refused"), true, kIdentStatusRejected,
       R"({"error":"invalid_grant","jump":"https://sign-in.test/"})"},
      {server_.Url("/failing"), true, kIdentStatusServerError, "maintenance"},
      {unreachable, true, kIdentStatusNetworkError, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    UseProduction(c.url);
    const FetchOutcome outcome = Fetch(c.production);
    ASSERT_TRUE(outcome.Wait());
    EXPECT_EQ(outcome.Status(), c.status);
    EXPECT_EQ(outcome.Reply(), c.reply);
  }
  EXPECT_EQ(server_.CountOf("/token"), 0u);  // the stage fetch went to the stage endpoint
}

TEST_F(IdentConnectionTest, FetchIsNotStartedWithoutEndpointClientOrCredential) {
  server_.Start();
  FetchOutcome outcome;
  IdentConnection connection("client-7", processor_);
  IdentConnection anonymous("", processor_);

  EXPECT_FALSE(connection.AsyncFetchAccessToken(true, "cred", "a", "b", kScopes,
                                                outcome.Callback()));  // no setting yet
  UseProduction("not a url");
  EXPECT_FALSE(connection.AsyncFetchAccessToken(true, "cred", "a", "b", kScopes,
                                                outcome.Callback()));
  UseProduction(server_.Url("/token"));
  EXPECT_FALSE(connection.AsyncFetchAccessToken(false, "cred", "a", "b", kScopes,
                                                outcome.Callback()));  // no stage setting
  EXPECT_FALSE(connection.AsyncFetchAccessToken(true, "", "a", "b", kScopes, outcome.Callback()));
  EXPECT_FALSE(anonymous.AsyncFetchAccessToken(true, "cred", "a", "b", kScopes,
                                               outcome.Callback()));
  ShutDown();

  EXPECT_EQ(outcome.Calls(), 0);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(IdentConnectionTest, CallbackComesOnceAfterTheConnectionIsGone) {
  server_.Post("/slow", [this](const httplib::Request&, httplib::Response& res) {
    slowArrived_.Open();
    slowRelease_.PassThrough(zorvcore::Gate::kWaitForever);
    res.set_content(R"({"access_token":"late"})", "application/json");
  });
  server_.Start();
  UseProduction(server_.Url("/slow"));
  FetchOutcome outcome;
  {
    IdentConnection connection("client-7", processor_);
    ASSERT_TRUE(connection.AsyncFetchAccessToken(true, "cred", "a", "b", kScopes,
                                                 outcome.Callback()));
  }
  ASSERT_TRUE(slowArrived_.PassThrough(60000));
  slowRelease_.Open();

  ASSERT_TRUE(outcome.Wait());
  ShutDown();
  EXPECT_EQ(outcome.Status(), kIdentStatusOK);
  EXPECT_EQ(outcome.Reply(), R"({"access_token":"late"})");
  EXPECT_EQ(outcome.Calls(), 1);
}

TEST_F(IdentConnectionTest, ShutdownDuringAFetchCallsBackOnceAsCancelled) {
  server_.Post("/held", [this](const httplib::Request&, httplib::Response& res) {
    slowArrived_.Open();
    slowRelease_.PassThrough(zorvcore::Gate::kWaitForever);
    res.status = 200;
  });
  server_.Start();
  UseProduction(server_.Url("/held"));
  const FetchOutcome outcome = Fetch();
  ASSERT_TRUE(slowArrived_.PassThrough(60000));

  ShutDown();
  slowRelease_.Open();

  EXPECT_EQ(outcome.Calls(), 1);
  EXPECT_EQ(outcome.Status(), kIdentStatusCancelled);
  EXPECT_EQ(outcome.Reply(), "");
}

}  // namespace
}  // namespace zorvappsupport
