// The synchronous request pattern: answers within the limit, time-outs and cancellation, each ending
// only once the request's callback has come. A scripted processor makes every ordering explicit; a
// loopback server checks the same against the real network layer, from several threads at once.
#include "stock/stock_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/core/gate.h"
#include "host/net/curl_request_processor.h"
#include "host/net/test_http_server.h"

namespace zorvcapsule {
namespace {

using zorvcore::Gate;
using zorvcore::Guid;
using zorvcore::ImmutableString;
using zorvnet::RequestError;
using zorvnet::Response;

// A limit no test reaches: a test that would depend on it hangs (and fails) instead of passing.
constexpr int kNoLimitReached = 600000;

ImmutableString Url(const std::string& text) { return ImmutableString::CreateDynamic(text); }

std::shared_ptr<Response> Answer200(const std::string& body) {
  auto payload = zorvstorage::RecycledMemory::Fill(body.size(), [&](uint8_t* bytes, size_t size) {
    std::copy(body.begin(), body.begin() + size, bytes);
    return true;
  });
  return Response::Completed(200, zorvnet::HeaderMap(), payload, Url("https://stock.test/"));
}

// A processor that answers only a cancel, on a thread of its own (never inside StartRequest, as the
// real processor does), once the test opens `letCancelAnswer`: with kCancelled, or with
// `answerToCancel` when set (the answer won the race).
class ScriptedProcessor final : public zorvnet::RequestProcessor {
 public:
  ~ScriptedProcessor() override {
    letCancelAnswer.Open();
    for (auto& thread : threads_) thread.join();
  }

  bool StartRequest(const Guid& id, zorvnet::Request, zorvnet::RequestCallback callback) override {
    if (refuse) return false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      id_ = id;
      callback_ = std::move(callback);
    }
    started.Open();
    return true;
  }

  void TryToCancelRequest(const Guid& cancelledId) override {
    ++cancels;
    cancelAsked.Open();
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back([this, cancelledId] {
      zorvnet::RequestCallback callback;
      Guid id;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        callback = std::move(callback_);
        id = id_;
      }
      if (!callback) return;  // answered already: exactly one callback per request
      EXPECT_EQ(cancelledId, id);
      letCancelAnswer.PassThrough(Gate::kWaitForever);
      callback(id, answerToCancel ? answerToCancel : Response::Failed(RequestError::kCancelled, "cancelled"));
    });
  }

  bool refuse = false;
  std::shared_ptr<Response> answerToCancel;
  std::atomic<int> cancels{0};
  Gate started, cancelAsked, letCancelAnswer;

 private:
  std::mutex mutex_;
  Guid id_;
  zorvnet::RequestCallback callback_;
  std::vector<std::thread> threads_;
};

// Runs a request to `url` on `processor` with the stock configuration.
std::shared_ptr<Response> RunOn(zorvnet::RequestProcessor& processor, const std::string& url,
                                int limitMs = kNoLimitReached, CheckCancelPtr cancel = nullptr) {
  return RunStockRequest(processor, Url(url), {}, StockRequestConfiguration(), limitMs, std::move(cancel));
}


// A request that cannot start has no response. (An answer within the limit is the result in every
// stock test.)
TEST(StockRequestTest, ARequestThatCannotStartHasNone) {
  ScriptedProcessor refusing;
  refusing.refuse = true;
  EXPECT_EQ(RunOn(refusing, "https://stock.test/a"), nullptr);
  EXPECT_EQ(RunStockRequest(refusing, ImmutableString(), {}, StockRequestConfiguration(), kNoLimitReached), nullptr);
  EXPECT_FALSE(refusing.started.IsOpen());
  EXPECT_FALSE(IsSuccessfulStockResponse(nullptr));
}

// The callback's answer is the result, also when it won the race with the cancel.
TEST(StockRequestTest, ATimeOutCancelsAndThenWaitsForTheCallback) {
  ScriptedProcessor processor;
  processor.answerToCancel = Answer200("won");
  std::atomic<bool> returned{false};
  std::shared_ptr<Response> response;
  std::thread caller([&] {
    response = RunOn(processor, "https://stock.test/slow", 0);
    returned = true;
  });
  processor.cancelAsked.PassThrough(Gate::kWaitForever);
  EXPECT_FALSE(returned.load());  // the callback is held back: the caller must still be waiting for it
  processor.letCancelAnswer.Open();
  caller.join();
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "won");
  EXPECT_EQ(processor.cancels.load(), 1);
}

// An abort, whether the token had it before the request started or gets it while the caller waits,
// cancels the request without waiting for the limit.
TEST(StockRequestTest, AnAbortCancelsWithoutWaitingForTheLimit) {
  for (const bool abortFirst : {true, false}) {
    SCOPED_TRACE(abortFirst ? "aborted before" : "aborted while waiting");
    ScriptedProcessor processor;
    processor.letCancelAnswer.Open();
    auto token = std::make_shared<CheckCancel>();
    if (abortFirst) token->Abort();
    std::thread host([&] {
      if (abortFirst) return;
      processor.started.PassThrough(Gate::kWaitForever);
      token->Abort();
    });
    const auto response = RunOn(processor, "https://stock.test/search", kNoLimitReached, token);
    host.join();
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->Error(), RequestError::kCancelled);
    EXPECT_EQ(processor.cancels.load(), 1);
  }
}


// (The real processor's cancel is pinned in the network layer's tests; an abort here in the scripted ones.)
TEST(StockRequestTest, RequestsFromManyThreadsEachGetTheirOwnAnswer) {
  zorvnet::testing::TestHttpServer server;
  server.Get("/fast/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content("answer " + req.matches[1].str(), "text/plain");
  });
  server.Start();
  const auto processor = zorvnet::CurlRequestProcessor::Create();
  ASSERT_NE(processor, nullptr);

  constexpr int kThreads = 6;
  std::vector<std::shared_ptr<Response>> answered(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] { answered[i] = RunOn(*processor, server.Url("/fast/" + std::to_string(i))); });
  }
  for (auto& thread : threads) thread.join();
  for (int i = 0; i < kThreads; ++i) {
    ASSERT_NE(answered[i], nullptr);
    EXPECT_TRUE(IsSuccessfulStockResponse(answered[i]));
    EXPECT_EQ(answered[i]->GetPayloadAsUTF8String(), "answer " + std::to_string(i));
  }
}

}  // namespace
}  // namespace zorvcapsule
