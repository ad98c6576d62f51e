#include "host/net/curl_request_processor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
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

ImmutableString Text(const std::string& text) { return ImmutableString::CreateDynamic(text); }

class CurlRequestProcessorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::DebugDatabase::ClearEntry("Net.CAFile");
    processor_ = CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
  }

  // Starts a GET on the fixture's processor; the catcher sees its outcome.
  ResponseCatcher Get(const std::string& url, const Configuration& config = Configuration(),
                      const HeaderMap& headers = HeaderMap()) {
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->GET(Guid::CreateUnique(), catcher.Callback(), Text(url), headers,
                                config));
    return catcher;
  }

  // Destroys the processor, which returns only after every callback has been delivered: from then
  // on a catcher's call count is final.
  void ShutDown() { processor_.reset(); }

  TestHttpServer server_;
  std::shared_ptr<CurlRequestProcessor> processor_;
};

TEST_F(CurlRequestProcessorTest, GetDeliversStatusHeadersAndBodyOfSuccessesAndErrorsAndSendsRequestHeaders) {
  server_.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("X-Custom-Thing", "first");
    res.set_header("X-Custom-Thing", "second");
    res.set_content("hello, world", "text/plain");
  });
  server_.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("{\"error\":\"not here\"}", "application/json");
  });
  server_.Start();

  HeaderMap headers{{Text("X-API-KEY"), Text("key-123")}, {Text("X-PRODUCT"), Text("editor")}};
  const auto response = Get(server_.Url("/hello"), Configuration(), headers).Wait();

  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->Error(), RequestError::kNone);
  EXPECT_EQ(response->StatusCode(), 200);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "hello, world");
  EXPECT_EQ(response->GetHeader("x-custom-thing"), "first");
  EXPECT_EQ(response->Headers().count("X-CUSTOM-THING"), 2u);
  EXPECT_THAT(response->GetHeader("content-type").str(), HasSubstr("text/plain"));
  EXPECT_EQ(response->EffectiveURL(), server_.Url("/hello"));

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("X-API-KEY"), "key-123");
  EXPECT_EQ(requests[0].Header("X-PRODUCT"), "editor");
  EXPECT_THAT(requests[0].Header("User-Agent"), HasSubstr("/"));

  // An error status is a completed answer with its body.
  const auto missing = Get(server_.Url("/missing")).Wait();
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing->StatusCode(), 404);
  EXPECT_FALSE(missing->IsSuccess());
  EXPECT_EQ(missing->Error(), RequestError::kNone);
  EXPECT_EQ(missing->GetPayloadAsUTF8String(), "{\"error\":\"not here\"}");
}

TEST_F(CurlRequestProcessorTest, CancellingAnUnansweredRequestCallsBackOnceAndItsIdIsNotReusedMeanwhile) {
  server_.HoldGet("/silent");
  server_.Start();
  ResponseCatcher catcher;
  ResponseCatcher second;
  const Guid id = Guid::CreateUnique();
  const ImmutableString url = Text(server_.Url("/silent"));
  ASSERT_TRUE(processor_->GET(id, catcher.Callback(), url, HeaderMap(), Configuration()));
  EXPECT_FALSE(processor_->GET(id, second.Callback(), url, HeaderMap(), Configuration()));
  ASSERT_TRUE(server_.WaitUntilHeld(1));

  processor_->TryToCancelRequest(id);
  const auto response = catcher.Wait();
  processor_->TryToCancelRequest(id);  // finished by now: ignored
  ShutDown();

  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->Error(), RequestError::kCancelled);
  EXPECT_EQ(response->StatusCode(), 0);
  EXPECT_EQ(catcher.Id(), id);
  EXPECT_EQ(catcher.Calls(), 1);
  EXPECT_EQ(second.Calls(), 0);
}

TEST_F(CurlRequestProcessorTest, ShutdownWhileOthersHoldTheProcessorEndsItsWorkAndRefusesMore) {
  server_.HoldGet("/silent");
  server_.Start();
  const ResponseCatcher first = Get(server_.Url("/silent"));
  const ResponseCatcher second = Get(server_.Url("/silent"));
  ASSERT_TRUE(server_.WaitUntilHeld(2));
  const std::shared_ptr<CurlRequestProcessor> other = processor_;

  processor_->Shutdown();

  // Every request has been called back once by the time Shutdown returns.
  for (const ResponseCatcher* held : {&first, &second}) {
    EXPECT_EQ(held->Calls(), 1);
    ASSERT_NE(held->Wait(), nullptr);
    EXPECT_EQ(held->Wait()->Error(), RequestError::kShutdown);
  }
  ResponseCatcher refused;
  EXPECT_FALSE(other->GET(Guid::CreateUnique(), refused.Callback(), Text(server_.Url("/silent")), HeaderMap(),
                          Configuration()));
  processor_->Shutdown();  // a second call finds nothing left to do
  EXPECT_EQ(refused.Calls(), 0);
}

TEST_F(CurlRequestProcessorTest, SilentOrUnreachableServersEndInTheirErrors) {
  std::string unreachable;
  {
    TestHttpServer gone;
    gone.Start();
    unreachable = gone.Url("/");
  }
  server_.HoldGet("/silent");
  server_.Start();
  Configuration limited;
  limited.timeoutMs = 100;

  const auto silent = Get(server_.Url("/silent"), limited).Wait();
  const auto refused = Get(unreachable).Wait();

  ASSERT_NE(silent, nullptr);
  EXPECT_EQ(silent->Error(), RequestError::kTimedOut);
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Error(), RequestError::kConnectFailed);
}

class RedirectTest : public CurlRequestProcessorTest {
 protected:
  void SetUp() override {
    CurlRequestProcessorTest::SetUp();
    server_.Get("/start", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/target", 302);
      res.set_content("moved away", "text/plain");  // must not leak into the final body
    });
    server_.Get("/target", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("arrived", "text/plain");
    });
    server_.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/loop", 302);
    });
    server_.Start();
  }
};

TEST_F(RedirectTest, RedirectIsFollowedByDefaultAndHandedBackWithTheThirdFlagOff) {
  const auto followed = Get(server_.Url("/start")).Wait();
  const auto handedBack = Get(server_.Url("/start"), Configuration{false, true, false}).Wait();

  ASSERT_NE(followed, nullptr);
  EXPECT_EQ(followed->StatusCode(), 200);
  EXPECT_EQ(followed->GetPayloadAsUTF8String(), "arrived");
  EXPECT_EQ(followed->EffectiveURL(), server_.Url("/target"));
  EXPECT_FALSE(followed->HasHeader("Location"));  // only the final answer's fields remain
  ASSERT_NE(handedBack, nullptr);
  EXPECT_EQ(handedBack->StatusCode(), 302);
  EXPECT_TRUE(handedBack->IsRedirect());
  EXPECT_EQ(handedBack->GetHeader("LOCATION"), "/target");
  EXPECT_EQ(handedBack->GetPayloadAsUTF8String(), "moved away");
  ShutDown();
  EXPECT_EQ(server_.CountOf("/target"), 1u);
}

TEST_F(RedirectTest, RedirectLoopEndsAfterTheRedirectLimit) {
  const auto response = Get(server_.Url("/loop")).Wait();

  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->Error(), RequestError::kTooManyRedirects);
  EXPECT_EQ(response->StatusCode(), 0);
  EXPECT_EQ(server_.CountOf("/loop"), static_cast<size_t>(kMaxRedirects + 1));
}

class BodyCapTest : public CurlRequestProcessorTest {
 protected:
  void SetUp() override {
    CurlRequestProcessorTest::SetUp();
    // Announces its length, so the client can refuse before reading.
    server_.Get("/sized/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(std::string(std::stoul(req.matches[1]), 'x'), "application/octet-stream");
    });
    // Announces nothing: the client only learns the size by reading.
    server_.Get("/chunked/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
      const size_t total = std::stoul(req.matches[1]);
      res.set_chunked_content_provider(
          "application/octet-stream", [total](size_t offset, httplib::DataSink& sink) {
            if (offset >= total) {
              sink.done();
              return true;
            }
            const std::string block(std::min<size_t>(total - offset, 256), 'y');
            return sink.write(block.data(), block.size());
          });
    });
    // Announces one byte more than the default cap; refused before the body would be read.
    server_.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(static_cast<size_t>(kMaxBodyBytes) + 1, "application/octet-stream",
                               [](size_t, size_t length, httplib::DataSink& sink) {
                                 const std::string block(std::min<size_t>(length, 65536), 'z');
                                 return sink.write(block.data(), block.size());
                               });
    });
    server_.Start();
  }

  static Configuration CappedAt(int64_t bytes) {
    Configuration config;
    config.maxBodyBytes = bytes;
    config.acceptCompressed = false;  // the cap counts decoded bytes; keep the wire size equal
    return config;
  }
};

TEST_F(BodyCapTest, BodyOverTheCapFailsWhetherAnnouncedOrNot) {
  const struct {
    const char* path;
    RequestError error;
  } cases[] = {
      {"/sized/1000", RequestError::kNone},
      {"/chunked/1000", RequestError::kNone},
      {"/sized/1001", RequestError::kBodyTooLarge},
      {"/chunked/4096", RequestError::kBodyTooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto response = Get(server_.Url(c.path), CappedAt(1000)).Wait();
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->Error(), c.error);
    const bool kept = c.error == RequestError::kNone;
    EXPECT_EQ(response->StatusCode(), kept ? 200 : 0);
    EXPECT_EQ(response->Payload()->Size(), kept ? 1000u : 0u);
  }
}

TEST_F(BodyCapTest, DefaultCapIsSixtyFourMebibytes) {
  EXPECT_EQ(Configuration().EffectiveMaxBodyBytes(), 64 * 1024 * 1024);
  Configuration above;
  above.maxBodyBytes = kMaxBodyBytes * 2;
  EXPECT_EQ(above.EffectiveMaxBodyBytes(), kMaxBodyBytes);

  const auto response = Get(server_.Url("/huge"), above).Wait();

  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->Error(), RequestError::kBodyTooLarge);
}

TEST_F(CurlRequestProcessorTest, BodySinkTakesSuccessfulBodiesOnly) {
  server_.Get("/file", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(5000, 'f'), "application/octet-stream");
  });
  server_.Get("/gone", [](const httplib::Request&, httplib::Response& res) {
    res.status = 410;
    res.set_content("gone", "text/plain");
  });
  server_.Start();
  auto received = std::make_shared<std::string>();
  auto announced = std::make_shared<int64_t>(0);
  auto start = [&](const std::string& path, BodySink sink) {
    Request request;
    request.url = Text(server_.Url(path));
    request.configuration.acceptCompressed = false;
    request.bodySink = std::move(sink);
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->StartRequest(Guid::CreateUnique(), request, catcher.Callback()));
    return catcher.Wait();
  };
  const BodySink keep = [received, announced](const uint8_t* data, size_t size, int64_t total) {
    received->append(reinterpret_cast<const char*>(data), size);
    *announced = total;
    return true;
  };

  const auto file = start("/file", keep);
  const auto gone = start("/gone", keep);
  const auto refused = start("/file", [](const uint8_t*, size_t, int64_t) { return false; });

  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->StatusCode(), 200);
  EXPECT_EQ(file->Payload()->Size(), 0u);
  EXPECT_EQ(*received, std::string(5000, 'f'));
  EXPECT_EQ(*announced, 5000);
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(gone->StatusCode(), 410);
  EXPECT_EQ(gone->GetPayloadAsUTF8String(), "gone");
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Error(), RequestError::kSinkRefused);
}

TEST_F(CurlRequestProcessorTest, PostSendsItsBody) {
  server_.Post("/form", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.body, "text/plain");
  });
  server_.Start();
  Request request;
  request.method = ImmutableString::CreateStatic("POST");
  request.url = Text(server_.Url("/form"));
  request.headers.emplace(Text("Content-Type"), Text("application/x-www-form-urlencoded"));
  request.body = "a=1&b=two";
  ResponseCatcher catcher;
  ASSERT_TRUE(processor_->StartRequest(Guid::CreateUnique(), request, catcher.Callback()));

  const auto response = catcher.Wait();

  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetPayloadAsUTF8String(), "a=1&b=two");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].Param("b"), "two");
}

TEST_F(CurlRequestProcessorTest, SecondFlagOffersCompressionAndDecodesIt) {
  const std::string text(20000, 'c');
  server_.Get("/text", [&text](const httplib::Request&, httplib::Response& res) {
    res.set_content(text, "text/plain");
  });
  server_.Start();

  const auto compressed = Get(server_.Url("/text")).Wait();
  const auto plain = Get(server_.Url("/text"), Configuration{false, false, true}).Wait();

  ASSERT_NE(compressed, nullptr);
  EXPECT_EQ(compressed->GetPayloadAsUTF8String(), text);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->GetPayloadAsUTF8String(), text);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(requests[0].Header("Accept-Encoding"), HasSubstr("gzip"));
  EXPECT_EQ(requests[1].Header("Accept-Encoding"), "");
}

TEST_F(CurlRequestProcessorTest, FirstFlagCarriesCookiesAlongRedirects) {
  server_.Get("/login", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "session=abc; Path=/");
    res.set_redirect("/echo", 302);
  });
  server_.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_header_value("Cookie"), "text/plain");
  });
  server_.Start();

  const auto withCookies = Get(server_.Url("/login"), Configuration{true, true, true}).Wait();
  const auto without = Get(server_.Url("/login"), Configuration{false, true, true}).Wait();

  ASSERT_NE(withCookies, nullptr);
  EXPECT_EQ(withCookies->GetPayloadAsUTF8String(), "session=abc");
  ASSERT_NE(without, nullptr);
  EXPECT_EQ(without->GetPayloadAsUTF8String(), "");
}

TEST_F(CurlRequestProcessorTest, MalformedRequestsAreRefusedWithoutCallback) {
  server_.Start();
  ResponseCatcher catcher;
  auto start = [&](Request request) {
    return processor_->StartRequest(Guid::CreateUnique(), std::move(request), catcher.Callback());
  };
  auto withUrl = [&](const std::string& url) {
    Request request;
    request.url = Text(url);
    return request;
  };
  Request put = withUrl(server_.Url("/"));
  put.method = ImmutableString::CreateStatic("PUT");
  Request forgedValue = withUrl(server_.Url("/"));
  forgedValue.headers.emplace(Text("X-A"), Text("1\r\nX-Forged: yes"));
  Request badName = withUrl(server_.Url("/"));
  badName.headers.emplace(Text("Bad Name"), Text("1"));

  EXPECT_FALSE(start(withUrl("")));
  EXPECT_FALSE(start(withUrl("/relative/path")));
  EXPECT_FALSE(start(withUrl("ftp://127.0.0.1/file")));
  EXPECT_FALSE(start(withUrl("file:///etc/passwd")));
  EXPECT_FALSE(start(withUrl("http://")));
  EXPECT_FALSE(start(put));
  EXPECT_FALSE(start(forgedValue));
  EXPECT_FALSE(start(badName));
  ShutDown();
  EXPECT_EQ(catcher.Calls(), 0);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(CurlRequestProcessorTest, CallbackExceptionIsReportedAndProcessingGoesOn) {
  server_.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok", "text/plain");
  });
  server_.Start();
  std::mutex mutex;
  std::vector<std::string> reports;
  const auto previous = zorvcore::debug::SetAssertReporter([&](const auto& report) {
    std::lock_guard<std::mutex> lock(mutex);
    reports.push_back(report.message);
    return zorvcore::debug::AssertAction::kContinue;
  });

  ASSERT_TRUE(processor_->GET(
      Guid::CreateUnique(),
      [](const Guid&, std::shared_ptr<Response>) { throw std::runtime_error("callback broke"); },
      Text(server_.Url("/ok")), HeaderMap(), Configuration()));
  const auto after = Get(server_.Url("/ok")).Wait();
  ShutDown();
  zorvcore::debug::SetAssertReporter(previous);

  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->StatusCode(), 200);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_THAT(reports[0], HasSubstr("callback broke"));
}

TEST_F(CurlRequestProcessorTest, RequestsFromManyThreadsEachCallBackOnce) {
  server_.Get("/n/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.matches[1].str(), "text/plain");
  });
  server_.Start();
  constexpr int kThreads = 3;
  constexpr int kPerThread = 4;
  std::vector<std::vector<ResponseCatcher>> catchers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        catchers[t].push_back(Get(server_.Url("/n/" + std::to_string(t * 100 + i))));
      }
    });
  }
  for (auto& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kPerThread; ++i) {
      const auto response = catchers[t][i].Wait();
      ASSERT_NE(response, nullptr);
      EXPECT_EQ(response->GetPayloadAsUTF8String(), std::to_string(t * 100 + i));
    }
  }
  ShutDown();
  for (const auto& perThread : catchers) {
    for (const auto& catcher : perThread) EXPECT_EQ(catcher.Calls(), 1);
  }
}

TEST_F(CurlRequestProcessorTest, DroppingTheLastReferenceInsideACallbackStillEndsEveryRequest) {
  server_.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok", "text/plain");
  });
  server_.HoldGet("/silent");
  server_.Start();
  const ResponseCatcher held = Get(server_.Url("/silent"));
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
      Text(server_.Url("/ok")), HeaderMap(), Configuration()));

  ASSERT_NE(dropped.Wait(), nullptr);
  EXPECT_EQ(dropped.Wait()->StatusCode(), 200);
  ASSERT_NE(held.Wait(), nullptr);
  EXPECT_EQ(held.Wait()->Error(), RequestError::kShutdown);
}

}  // namespace
}  // namespace zorvnet
