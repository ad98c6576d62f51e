#include "host/net/curl_request_processor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/core/debug.h"
#include "host/core/debug_database.h"
#include "host/net/test_http_server.h"
#include "host/net/test_response_catcher.h"

namespace zorvnet {
namespace {

using testing::ResponseCatcher;
using testing::TestHttpServer;
using ::testing::HasSubstr;
using zorvcore::Guid;
using zorvcore::ImmutableString;
using Req = httplib::Request;
using Res = httplib::Response;

ImmutableString Text(const std::string& text) { return ImmutableString::CreateDynamic(text); }

class CurlRequestProcessorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::DebugDatabase::ClearEntry("Net.CAFile");
    server_.Get("/hello", [](const Req&, Res& res) {
      res.set_header("X-Custom-Thing", "first");
      res.set_header("X-Custom-Thing", "second");
      res.set_content("hello, world", "text/plain");
    });
    server_.Get("/status/(\\d+)", [](const Req& req, Res& res) {
      res.status = std::stoi(req.matches[1]);
      res.set_content("{\"error\":\"not here\"}", "application/json");
    });
    server_.Get("/start", [](const Req&, Res& res) {
      res.set_redirect("/target", 302);
      res.set_content("moved away", "text/plain");  // must not leak into the final body
    });
    server_.Get("/target", [](const Req&, Res& res) { res.set_content("arrived", "text/plain"); });
    server_.Get("/loop", [](const Req&, Res& res) { res.set_redirect("/loop", 302); });
    // Announces its length, so the client can refuse before reading.
    server_.Get("/sized/(\\d+)", [](const Req& req, Res& res) {
      res.set_content(std::string(std::stoul(req.matches[1]), 'x'), "application/octet-stream");
    });
    // Announces nothing: the client only learns the size by reading.
    server_.Get("/chunked/(\\d+)", [](const Req& req, Res& res) {
      const size_t total = std::stoul(req.matches[1]);
      res.set_chunked_content_provider("application/octet-stream", [total](size_t offset, httplib::DataSink& sink) {
        if (offset >= total) sink.done();
        const std::string block(std::min<size_t>(total - offset, 256), 'y');
        return offset >= total || sink.write(block.data(), block.size());
      });
    });
    // Announces one byte more than the default cap; refused before the body would be read.
    server_.Get("/huge", [](const Req&, Res& res) {
      res.set_content_provider(static_cast<size_t>(kMaxBodyBytes) + 1, "application/octet-stream",
                               [](size_t, size_t length, httplib::DataSink& sink) {
                                 const std::string block(std::min<size_t>(length, 65536), 'z');
                                 return sink.write(block.data(), block.size());
                               });
    });
    server_.Get("/text", [](const Req&, Res& res) { res.set_content(std::string(20000, 'c'), "text/plain"); });
    server_.Post("/form", [](const Req& req, Res& res) { res.set_content(req.body, "text/plain"); });
    server_.Get("/login", [](const Req&, Res& res) {
      res.set_header("Set-Cookie", "session=abc; Path=/");
      res.set_redirect("/echo", 302);
    });
    server_.Get("/echo", [](const Req& req, Res& res) {
      res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    server_.Get("/n/(\\d+)", [](const Req& req, Res& res) { res.set_content(req.matches[1].str(), "text/plain"); });
    server_.HoldGet("/silent");
    server_.Start();
    processor_ = CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
  }

  // Starts a GET on the fixture's processor; the catcher sees its outcome.
  ResponseCatcher Get(const std::string& path, const Configuration& config = Configuration(),
                      const HeaderMap& headers = HeaderMap()) {
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->GET(Guid::CreateUnique(), catcher.Callback(), Text(Url(path)), headers, config));
    return catcher;
  }
  // A path of the fixture's server; a full address is kept as it is.
  std::string Url(const std::string& path) const { return path[0] == '/' ? server_.Url(path) : path; }

  // Destroys the processor, which returns only after every callback has been delivered: from then
  // on a catcher's call count is final.
  void ShutDown() { processor_.reset(); }

  TestHttpServer server_;
  std::shared_ptr<CurlRequestProcessor> processor_;
};

TEST_F(CurlRequestProcessorTest, ExchangesDeliverStatusHeadersAndBodyAndSendTheRequestsHeadersAndBody) {
  HeaderMap headers{{Text("X-API-KEY"), Text("key-123")}, {Text("X-PRODUCT"), Text("editor")}};
  const auto response = Get("/hello", Configuration(), headers).Wait();
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->Error(), RequestError::kNone);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "hello, world");
  EXPECT_EQ(response->GetHeader("x-custom-thing"), "first");
  EXPECT_EQ(response->Headers().count("X-CUSTOM-THING"), 2u);
  EXPECT_THAT(response->GetHeader("content-type").str(), HasSubstr("text/plain"));
  EXPECT_EQ(response->EffectiveURL(), server_.Url("/hello"));
  const auto requests = server_.RequestsTo("/hello");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("X-API-KEY"), "key-123");
  EXPECT_EQ(requests[0].Header("X-PRODUCT"), "editor");
  EXPECT_THAT(requests[0].Header("User-Agent"), HasSubstr("/"));

  // An error status is a completed answer with its body.
  const ResponseCatcher missing = Get("/status/404");
  EXPECT_EQ(missing.Status(), 404);
  EXPECT_EQ(missing.Error(), RequestError::kNone);
  EXPECT_EQ(missing.Body(), "{\"error\":\"not here\"}");

  Request post;
  post.method = ImmutableString::CreateStatic("POST");
  post.url = Text(server_.Url("/form"));
  post.headers.emplace(Text("Content-Type"), Text("application/x-www-form-urlencoded"));
  post.body = "a=1&b=two";
  ResponseCatcher posted;
  ASSERT_TRUE(processor_->StartRequest(Guid::CreateUnique(), post, posted.Callback()));
  EXPECT_EQ(posted.Body(), "a=1&b=two");
  const auto form = server_.RequestsTo("/form");
  ASSERT_EQ(form.size(), 1u);
  EXPECT_EQ(form[0].method, "POST");
  EXPECT_EQ(form[0].Param("b"), "two");
}

// The three flags of a configuration: cookies along redirects, compression, following redirects.
TEST_F(CurlRequestProcessorTest, TheConfigurationFlagsGovernCookiesCompressionAndRedirects) {
  const ResponseCatcher followed = Get("/start");
  EXPECT_EQ(followed.Body(), "arrived");
  EXPECT_EQ(followed.Wait()->EffectiveURL(), server_.Url("/target"));
  EXPECT_FALSE(followed.Wait()->HasHeader("Location"));  // only the final answer's fields remain
  const ResponseCatcher handedBack = Get("/start", Configuration{false, true, false});
  EXPECT_EQ(handedBack.Status(), 302);
  EXPECT_EQ(handedBack.Wait()->GetHeader("LOCATION"), "/target");
  EXPECT_EQ(handedBack.Body(), "moved away");
  EXPECT_EQ(server_.CountOf("/target"), 1u);

  EXPECT_EQ(Get("/text").Body(), std::string(20000, 'c'));
  EXPECT_EQ(Get("/text", Configuration{false, false, true}).Body(), std::string(20000, 'c'));
  const auto requests = server_.RequestsTo("/text");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(requests[0].Header("Accept-Encoding"), HasSubstr("gzip"));
  EXPECT_EQ(requests[1].Header("Accept-Encoding"), "");

  EXPECT_EQ(Get("/login", Configuration{true, true, true}).Body(), "session=abc");
  EXPECT_EQ(Get("/login", Configuration{false, true, true}).Body(), "");
}

// A cancel calls back once and the id is not reused meanwhile; a shutdown while others hold the
// processor ends its work, every request called back once, and refuses more.
TEST_F(CurlRequestProcessorTest, CancelAndShutdownEndUnansweredRequestsWithOneCallbackEach) {
  ResponseCatcher catcher, second;
  const Guid id = Guid::CreateUnique();
  const ImmutableString url = Text(server_.Url("/silent"));
  ASSERT_TRUE(processor_->GET(id, catcher.Callback(), url, HeaderMap(), Configuration()));
  EXPECT_FALSE(processor_->GET(id, second.Callback(), url, HeaderMap(), Configuration()));
  ASSERT_TRUE(server_.WaitUntilHeld(1));
  processor_->TryToCancelRequest(id);
  EXPECT_EQ(catcher.Error(), RequestError::kCancelled);
  EXPECT_EQ(catcher.Status(), 0);
  EXPECT_EQ(catcher.Id(), id);
  processor_->TryToCancelRequest(id);  // finished by now: ignored

  const ResponseCatcher first = Get("/silent"), third = Get("/silent");
  ASSERT_TRUE(server_.WaitUntilHeld(3));
  const std::shared_ptr<CurlRequestProcessor> other = processor_;
  processor_->Shutdown();
  for (const ResponseCatcher* held : {&first, &third}) {
    EXPECT_EQ(held->Calls(), 1);
    EXPECT_EQ(held->Error(), RequestError::kShutdown);
  }
  ResponseCatcher refused;
  EXPECT_FALSE(other->GET(Guid::CreateUnique(), refused.Callback(), url, HeaderMap(), Configuration()));
  processor_->Shutdown();  // a second call finds nothing left to do
  EXPECT_EQ(refused.Calls(), 0);
  EXPECT_EQ(catcher.Calls(), 1);
  EXPECT_EQ(second.Calls(), 0);
}

// A body over the cap fails whether its length was announced or not; the cap counts decoded bytes,
// so compression is off to keep the wire size equal.
TEST_F(CurlRequestProcessorTest, ExchangesThatCannotCompleteEndInTheirErrors) {
  std::string unreachable;
  {
    TestHttpServer gone;
    gone.Start();
    unreachable = gone.Url("/");
  }
  Configuration capped{false, false, true};
  capped.maxBodyBytes = 1000;
  Configuration limited;
  limited.timeoutMs = 100;
  Configuration above;
  above.maxBodyBytes = kMaxBodyBytes * 2;
  EXPECT_EQ(Configuration().EffectiveMaxBodyBytes(), 64 * 1024 * 1024);
  EXPECT_EQ(above.EffectiveMaxBodyBytes(), kMaxBodyBytes);
  const struct {
    std::string path;
    Configuration config;
    RequestError error;
  } cases[] = {
      {"/sized/1000", capped, RequestError::kNone},
      {"/chunked/1000", capped, RequestError::kNone},
      {"/sized/1001", capped, RequestError::kBodyTooLarge},
      {"/chunked/4096", capped, RequestError::kBodyTooLarge},
      {"/huge", above, RequestError::kBodyTooLarge},
      {"/silent", limited, RequestError::kTimedOut},
      {unreachable, Configuration(), RequestError::kConnectFailed},
      {"/loop", Configuration(), RequestError::kTooManyRedirects},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const ResponseCatcher response = Get(c.path, c.config);
    EXPECT_EQ(response.Error(), c.error);
    const bool kept = c.error == RequestError::kNone;
    EXPECT_EQ(response.Status(), kept ? 200 : 0);
    EXPECT_EQ(response.Body().size(), kept ? 1000u : 0u);
  }
  EXPECT_EQ(server_.CountOf("/loop"), static_cast<size_t>(kMaxRedirects + 1));
}

TEST_F(CurlRequestProcessorTest, BodySinkTakesSuccessfulBodiesOnly) {
  auto received = std::make_shared<std::string>();
  auto announced = std::make_shared<int64_t>(0);
  auto start = [&](const std::string& path, BodySink sink) {
    Request request;
    request.url = Text(server_.Url(path));
    request.configuration.acceptCompressed = false;
    request.bodySink = std::move(sink);
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->StartRequest(Guid::CreateUnique(), request, catcher.Callback()));
    return catcher;
  };
  const BodySink keep = [received, announced](const uint8_t* data, size_t size, int64_t total) {
    received->append(reinterpret_cast<const char*>(data), size);
    *announced = total;
    return true;
  };

  const auto file = start("/sized/5000", keep);
  const auto gone = start("/status/410", keep);
  const auto refused = start("/sized/5000", [](const uint8_t*, size_t, int64_t) { return false; });

  EXPECT_EQ(file.Status(), 200);
  EXPECT_EQ(file.Body(), "");
  EXPECT_EQ(*received, std::string(5000, 'x'));
  EXPECT_EQ(*announced, 5000);
  EXPECT_EQ(gone.Status(), 410);
  EXPECT_EQ(gone.Body(), "{\"error\":\"not here\"}");
  EXPECT_EQ(refused.Error(), RequestError::kSinkRefused);
}

TEST_F(CurlRequestProcessorTest, MalformedRequestsAreRefusedWithoutCallback) {
  ResponseCatcher catcher;
  const auto request = [&](const std::string& url, const char* method = "GET", const char* name = "X-A",
                           const char* value = "1") {
    Request made;
    made.url = Text(url);
    made.method = ImmutableString::CreateStatic(method);
    made.headers.emplace(Text(name), Text(value));
    return made;
  };
  const std::string ok = server_.Url("/hello");
  for (const Request& bad : {request(""), request("/relative/path"), request("ftp://127.0.0.1/file"),
                             request("file:///etc/passwd"), request("http://"), request(ok, "PUT"),
                             request(ok, "GET", "X-A", "1\r\nX-Forged: yes"), request(ok, "GET", "Bad Name")}) {
    EXPECT_FALSE(processor_->StartRequest(Guid::CreateUnique(), bad, catcher.Callback())) << bad.url.str();
  }
  ShutDown();
  EXPECT_EQ(catcher.Calls(), 0);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(CurlRequestProcessorTest, CallbackExceptionIsReportedAndProcessingGoesOn) {
  std::mutex mutex;
  std::vector<std::string> reports;
  const auto previous = zorvcore::debug::SetAssertReporter([&](const auto& report) {
    std::lock_guard<std::mutex> lock(mutex);
    reports.push_back(report.message);
    return zorvcore::debug::AssertAction::kContinue;
  });

  ASSERT_TRUE(processor_->GET(
      Guid::CreateUnique(), [](const Guid&, std::shared_ptr<Response>) { throw std::runtime_error("callback broke"); },
      Text(server_.Url("/hello")), HeaderMap(), Configuration()));
  EXPECT_EQ(Get("/hello").Status(), 200);
  ShutDown();
  zorvcore::debug::SetAssertReporter(previous);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_THAT(reports[0], HasSubstr("callback broke"));
}

TEST_F(CurlRequestProcessorTest, RequestsFromManyThreadsEachCallBackOnce) {
  constexpr int kThreads = 3;
  constexpr int kPerThread = 4;
  std::vector<std::vector<ResponseCatcher>> catchers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) catchers[t].push_back(Get("/n/" + std::to_string(t * 100 + i)));
    });
  }
  for (auto& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kPerThread; ++i) EXPECT_EQ(catchers[t][i].Body(), std::to_string(t * 100 + i));
  }
  ShutDown();
  for (const auto& perThread : catchers) {
    for (const auto& catcher : perThread) EXPECT_EQ(catcher.Calls(), 1);
  }
}

TEST_F(CurlRequestProcessorTest, DroppingTheLastReferenceInsideACallbackStillEndsEveryRequest) {
  const ResponseCatcher held = Get("/silent");
  ASSERT_TRUE(server_.WaitUntilHeld(1));
  auto holder = std::make_shared<std::shared_ptr<CurlRequestProcessor>>(std::move(processor_));
  const ResponseCatcher dropped;
  const RequestCallback report = dropped.Callback();

  ASSERT_TRUE((*holder)->GET(
      Guid::CreateUnique(),
      [holder, report](const Guid& id, std::shared_ptr<Response> response) {
        holder->reset();  // the processor goes while its own thread runs this
        report(id, std::move(response));
      },
      Text(server_.Url("/hello")), HeaderMap(), Configuration()));

  EXPECT_EQ(dropped.Status(), 200);
  EXPECT_EQ(held.Error(), RequestError::kShutdown);
}

}  // namespace
}  // namespace zorvnet
