#include "host/net/curl_request_processor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/core/test_report_capture.h"
#include "host/core/debug_database.h"
#include "host/core/test_temp_folder.h"
#include "host/net/global_request_processor.h"
#include "host/net/test_call_recorder.h"
#include "host/net/test_http_server.h"
#include "host/net/test_tls_certificate.h"

namespace zorvnet {
namespace {

using testing::TestHttpServer;
using ::testing::HasSubstr;
using zorvcore::Guid;
using zorvcore::ImmutableString;
using Req = httplib::Request;
using Res = httplib::Response;

constexpr const char* kCAFile = "Net.CAFile";  // the authority the client trusts

ImmutableString Text(const std::string& text) { return ImmutableString::CreateDynamic(text); }

// A request callback that keeps what it was given. Body, Status and Error wait for the first call, and
// fail the test when none came within the recorder's patience.
class ResponseCatcher : public testing::CallRecorder<Guid, std::shared_ptr<Response>> {
 public:
  RequestCallback Callback() const { return Function(); }
  std::shared_ptr<Response> Wait() const { return WaitForCall() ? Arg<1>() : nullptr; }
  Guid Id() const { return Arg<0>(); }
  std::string Body() const { return Came() ? Wait()->GetPayloadAsUTF8String() : ""; }
  int Status() const { return Came() ? Wait()->StatusCode() : -1; }
  RequestError Error() const { return Came() ? Wait()->Error() : RequestError::kNone; }

 private:
  bool Came() const {
    if (Wait()) return true;
    ADD_FAILURE() << "no response came";
    return false;
  }
};

class CurlRequestProcessorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zorvcore::DebugDatabase::ClearEntry(kCAFile);
    server_.Get("/hello", [](const Req&, Res& res) { res.set_content("hello, world", "text/plain"); });
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
    server_.Get("/login", [](const Req&, Res& res) {
      res.set_header("Set-Cookie", "session=abc; Path=/");
      res.set_redirect("/echo", 302);
    });
    server_.Get("/echo", [](const Req& req, Res& res) {
      res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    server_.HoldGet("/silent");
    server_.Start();
    processor_ = CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
  }

  void TearDown() override { zorvcore::DebugDatabase::ClearEntry(kCAFile); }

  // Starts a GET on the fixture's processor; the catcher sees its outcome.
  ResponseCatcher Get(const std::string& path, const Configuration& config = Configuration()) {
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->GET(Guid::CreateUnique(), catcher.Callback(), Text(Url(path)), HeaderMap(), config));
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

// The three flags of a configuration: cookies along redirects, compression, following redirects.
TEST_F(CurlRequestProcessorTest, TheConfigurationFlagsGovernCookiesCompressionAndRedirects) {
  const ResponseCatcher followed = Get("/start");
  EXPECT_EQ(followed.Body(), "arrived");
  EXPECT_EQ(followed.Wait()->EffectiveURL(), server_.Url("/target"));
  const ResponseCatcher handedBack = Get("/start", Configuration{false, true, false});
  EXPECT_EQ(handedBack.Status(), 302);
  EXPECT_EQ(handedBack.Wait()->GetHeader("LOCATION"), "/target");
  EXPECT_EQ(handedBack.Body(), "moved away");

  EXPECT_EQ(Get("/text").Body(), std::string(20000, 'c'));
  EXPECT_EQ(Get("/text", Configuration{false, false, true}).Body(), std::string(20000, 'c'));
  const auto requests = server_.RequestsTo("/text");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(requests[0].Header("Accept-Encoding"), HasSubstr("gzip"));
  EXPECT_EQ(requests[1].Header("Accept-Encoding"), "");
  EXPECT_THAT(requests[0].Header("User-Agent"), HasSubstr("/"));  // the application's name and version

  EXPECT_EQ(Get("/login", Configuration{true, true, true}).Body(), "session=abc");
  EXPECT_EQ(Get("/login", Configuration{false, true, true}).Body(), "");
}

// A cancel calls back once and the id is not reused meanwhile (shown through the free functions, which
// reach the one process-wide processor: another would not know the id); a shutdown while others hold
// the processor ends its work, every request called back once, and refuses more.
TEST_F(CurlRequestProcessorTest, CancelAndShutdownEndUnansweredRequestsWithOneCallbackEach) {
  ResponseCatcher catcher, second;
  const Guid id = Guid::CreateUnique();
  const ImmutableString url = Text(server_.Url("/silent"));
  ASSERT_TRUE(GET(id, catcher.Callback(), url, HeaderMap(), Configuration()));
  EXPECT_FALSE(GET(id, second.Callback(), url, HeaderMap(), Configuration()));
  ASSERT_TRUE(server_.WaitUntilHeld(1));
  TryToCancelRequest(id);
  EXPECT_EQ(catcher.Error(), RequestError::kCancelled);
  EXPECT_EQ(catcher.Id(), id);
  TryToCancelRequest(id);  // finished by now: ignored

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
  EXPECT_EQ(Configuration().EffectiveMaxBodyBytes(), 64 * 1024 * 1024);  // "/huge" shows a larger cap is clamped
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

// A sunk body is not also kept in the response; an error answer's body never reaches the sink (a
// refusing sink would fail it); a sink that refuses ends the transfer.
TEST_F(CurlRequestProcessorTest, BodySinkTakesSuccessfulBodiesOnly) {
  auto announced = std::make_shared<int64_t>(0);
  auto start = [&](const std::string& path, bool accept) {
    Request request;
    request.url = Text(server_.Url(path));
    request.configuration.acceptCompressed = false;
    request.bodySink = [announced, accept](const uint8_t*, size_t, int64_t total) {
      *announced = total;
      return accept;
    };
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->StartRequest(Guid::CreateUnique(), request, catcher.Callback()));
    return catcher;
  };
  const ResponseCatcher file = start("/sized/5000", true);
  EXPECT_EQ(file.Status(), 200);
  EXPECT_EQ(file.Body(), "");
  EXPECT_EQ(*announced, 5000);
  const ResponseCatcher gone = start("/status/410", false);
  EXPECT_EQ(gone.Status(), 410);
  EXPECT_EQ(gone.Body(), "{\"error\":\"not here\"}");
  EXPECT_EQ(start("/sized/5000", false).Error(), RequestError::kSinkRefused);
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
  // One of each refusal of the check (request_check_test has the full tables): the method, the address,
  // a field's name and its value.
  for (const Request& bad : {request(ok, "PUT"), request("file:///etc/passwd"), request(ok, "GET", "Bad Name"),
                             request(ok, "GET", "X-A", "1\r\nX-Forged: yes")}) {
    EXPECT_FALSE(processor_->StartRequest(Guid::CreateUnique(), bad, catcher.Callback())) << bad.url.str();
  }
  ShutDown();
  EXPECT_EQ(catcher.Calls(), 0);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(CurlRequestProcessorTest, CallbackExceptionIsReportedAndProcessingGoesOn) {
  const zorvcore::ReportCapture capture;
  ASSERT_TRUE(processor_->GET(
      Guid::CreateUnique(), [](const Guid&, std::shared_ptr<Response>) { throw std::runtime_error("callback broke"); },
      Text(server_.Url("/hello")), HeaderMap(), Configuration()));
  EXPECT_EQ(Get("/hello").Status(), 200);
  ShutDown();
  const std::vector<std::string> reports = capture.Messages();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_THAT(reports[0], HasSubstr("callback broke"));
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

// TLS against certificates made at run time: only a server the configured authority vouches for, for
// this host, is trusted.
TEST_F(CurlRequestProcessorTest, OnlyAServerTheConfiguredAuthorityVouchesForIsTrusted) {
  zorvcore::TestTempFolder folder;
  enum class Authority { kNone, kOwn, kOther, kMissingFile };
  const struct {
    const char* name;
    const char* altNames;
    Authority authority;
  } cases[] = {
      {"good", "IP:127.0.0.1,DNS:localhost", Authority::kOwn},
      {"untrusted", "IP:127.0.0.1", Authority::kNone},  // not trusted by the system either
      {"other", "IP:127.0.0.1", Authority::kOther},
      {"elsewhere", "DNS:elsewhere.invalid", Authority::kOwn},  // issued for another host
      {"nofile", "IP:127.0.0.1", Authority::kMissingFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto files = testing::MakeTestCertificates(folder.path(), c.name, c.altNames);
    TestHttpServer server(files);
    server.Get("/", [](const Req&, Res& res) { res.set_content("secret", "text/plain"); });
    server.Start();
    zorvcore::DebugDatabase::ClearEntry(kCAFile);
    const auto trust = [](const std::string& path) { zorvcore::DebugDatabase::SetEntry(kCAFile, path); };
    if (c.authority == Authority::kOwn) trust(files.caPath);
    if (c.authority == Authority::kOther) {
      trust(testing::MakeTestCertificates(folder.path(), "other-ca", "IP:127.0.0.1").caPath);
    }
    if (c.authority == Authority::kMissingFile) trust((folder.path() / "missing.pem").string());

    const ResponseCatcher response = Get(server.Url("/"));
    const bool trusted = c.name == std::string("good");
    EXPECT_EQ(response.Error(), trusted ? RequestError::kNone : RequestError::kTlsFailed);
    EXPECT_EQ(response.Status(), trusted ? 200 : 0);
    EXPECT_EQ(response.Body(), trusted ? "secret" : "");
  }
}

// Headers given to a TLS request may hold credentials; a redirect must not carry them into clear text.
TEST_F(CurlRequestProcessorTest, ARedirectFromTLSIntoClearTextIsNotFollowed) {
  zorvcore::TestTempFolder folder;
  const auto files = testing::MakeTestCertificates(folder.path(), "good", "IP:127.0.0.1");
  TestHttpServer secure(files);
  secure.Get("/", [&](const Req&, Res& res) { res.set_redirect(server_.Url("/hello"), 302); });
  secure.Start();
  zorvcore::DebugDatabase::SetEntry(kCAFile, files.caPath);

  EXPECT_NE(Get(secure.Url("/")).Status(), 200);
  EXPECT_EQ(server_.CountOf("/hello"), 0u);
}

}  // namespace
}  // namespace zorvnet
