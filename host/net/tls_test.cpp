// TLS verification against servers whose certificates the tests make at run time.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/core/debug_database.h"
#include "host/core/test_temp_folder.h"
#include "host/net/curl_request_processor.h"
#include "host/net/test_http_server.h"
#include "host/net/test_response_catcher.h"
#include "host/net/test_tls_certificate.h"

namespace zorvnet {
namespace {

using testing::MakeTestCertificates;
using testing::ResponseCatcher;
using testing::TestCertificateFiles;
using testing::TestHttpServer;
using zorvcore::DebugDatabase;
using zorvcore::Guid;
using zorvcore::ImmutableString;

constexpr const char* kCAFile = "Net.CAFile";

class TlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DebugDatabase::ClearEntry(kCAFile);
    processor_ = CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
  }
  void TearDown() override { DebugDatabase::ClearEntry(kCAFile); }

  TestCertificateFiles Certificates(const std::string& prefix, const std::string& altNames) {
    return MakeTestCertificates(folder_.path(), prefix, altNames);
  }

  // A TLS server answering "/" with "secret", started.
  std::unique_ptr<TestHttpServer> Serve(const TestCertificateFiles& files) {
    auto server = std::make_unique<TestHttpServer>(files);
    EXPECT_TRUE(server->IsValid());
    server->Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("secret", "text/plain"); });
    server->Start();
    return server;
  }

  ResponseCatcher Fetch(const std::string& url) {
    ResponseCatcher catcher;
    EXPECT_TRUE(processor_->GET(Guid::CreateUnique(), catcher.Callback(), ImmutableString::CreateDynamic(url),
                                HeaderMap(), Configuration()));
    return catcher;
  }

  zorvcore::TestTempFolder folder_;
  std::shared_ptr<CurlRequestProcessor> processor_;
};

// Only a server the configured authority vouches for, for this host, is trusted.
TEST_F(TlsTest, OnlyAServerTheConfiguredAuthorityVouchesForIsTrusted) {
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
    const auto files = Certificates(c.name, c.altNames);
    const auto server = Serve(files);
    DebugDatabase::ClearEntry(kCAFile);
    if (c.authority == Authority::kOwn) DebugDatabase::SetEntry(kCAFile, files.caPath);
    if (c.authority == Authority::kOther) {
      DebugDatabase::SetEntry(kCAFile, Certificates("another", "IP:127.0.0.1").caPath);
    }
    if (c.authority == Authority::kMissingFile) {
      DebugDatabase::SetEntry(kCAFile, (folder_.path() / "missing.pem").string());
    }

    const ResponseCatcher response = Fetch(server->Url("/"));
    const bool trusted = c.name == std::string("good");
    EXPECT_EQ(response.Error(), trusted ? RequestError::kNone : RequestError::kTlsFailed);
    EXPECT_EQ(response.Status(), trusted ? 200 : 0);
    EXPECT_EQ(response.Body(), trusted ? "secret" : "");
  }
}

// Headers given to a TLS request may hold credentials; a redirect must not carry them into clear text.
TEST_F(TlsTest, ARedirectFromTLSIntoClearTextIsNotFollowed) {
  TestHttpServer cleartext;
  cleartext.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("open", "text/plain"); });
  cleartext.Start();
  const auto files = Certificates("good", "IP:127.0.0.1");
  TestHttpServer secure(files);
  secure.Get("/", [&](const httplib::Request&, httplib::Response& res) { res.set_redirect(cleartext.Url("/"), 302); });
  secure.Start();
  DebugDatabase::SetEntry(kCAFile, files.caPath);

  EXPECT_NE(Fetch(secure.Url("/")).Status(), 200);
  EXPECT_TRUE(cleartext.Requests().empty());
}

}  // namespace
}  // namespace zorvnet
