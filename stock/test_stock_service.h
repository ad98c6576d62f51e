// TestStockService: the stock-content and identity services played on 127.0.0.1 over TLS, with a
// certificate made at run time, for the stock tests. Test code only.
//
// The fixture points every setting the stock client reads at the loopback server: the production
// and stage stock services live under "/prod" and "/stage", the identity services under
// "/ident/prod" and "/ident/stage". It trusts the server's certificate through "Net.CAFile", gives the
// run a temporary folder of its own ($TMPDIR, so "TslStock" lands there), fixes the application's
// language and version, empties the token cache and captures assertion reports. Everything is put
// back when the fixture ends.
//
// It is a TestHttpServer: handlers, held requests and the record of what was answered come from there.
//
// Thread safety: register handlers and Start on the test's thread; the recorders may be read from
// any thread while the server runs.

#ifndef ZORVCAPSULE_STOCK_TEST_STOCK_SERVICE_H_
#define ZORVCAPSULE_STOCK_TEST_STOCK_SERVICE_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/core/app_config.h"
#include "host/core/test_report_capture.h"
#include "host/core/debug_database.h"
#include "host/core/locale.h"
#include "host/core/test_temp_folder.h"
#include "host/net/test_http_server.h"
#include "host/net/test_tls_certificate.h"
#include "package/temp_directories_internal.h"
#include "stock/client_stock_connection.h"
#include "stock/stock_token_cache.h"

namespace zorvcapsule::testing {

using zorvnet::testing::TestHttpServer;

// One request as the server got it.
using SeenRequest = zorvnet::testing::RecordedRequest;

// The folder and certificate the server needs before it is made.
struct TestStockServiceFiles {
  zorvcore::TestTempFolder folder_;
  zorvnet::testing::TestCertificateFiles certificates_ =
      zorvnet::testing::MakeTestCertificates(folder_.path(), "stock", "IP:127.0.0.1");
};

class TestStockService : private TestStockServiceFiles, public TestHttpServer {
 public:
  static constexpr const char* kSearchPath = "/Rest/Media/1/Search/Files";

  TestStockService() : TestHttpServer(certificates_) {
    if (const char* old = ::getenv("TMPDIR")) savedTmpDir_ = old;
    std::filesystem::create_directories(Temp());
    ::setenv("TMPDIR", Temp().c_str(), 1);
    internal::ResetTempDirectoryChecksForTesting();
    internal::ClearCachedAccessTokenForTesting();
    zorvcore::DebugDatabase::ClearAllEntries();
    zorvcore::Locale::SetApplicationLanguage(u"en_US");
    zorvcore::config::SetApplicationName(u"Editor");
    zorvcore::config::SetClientVersion(u"24.1");
    reports_.emplace();
  }

  ~TestStockService() {
    reports_.reset();
    zorvcore::DebugDatabase::ClearAllEntries();
    internal::ClearCachedAccessTokenForTesting();
    internal::ResetTempDirectoryChecksForTesting();
    zorvcore::Locale::SetApplicationLanguage(u"");
    zorvcore::config::SetApplicationName(u"zorvhost");
    zorvcore::config::SetClientVersion(u"1.0");
    if (savedTmpDir_) {
      ::setenv("TMPDIR", savedTmpDir_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

  TestStockService(const TestStockService&) = delete;
  TestStockService& operator=(const TestStockService&) = delete;

  // The file search of both deployments.
  void OnSearch(Handler handler) {
    Get("/prod" + std::string(kSearchPath), handler);
    Get("/stage" + std::string(kSearchPath), handler);
  }
  // The token endpoints of both identity deployments; `json` is the answer with `status`.
  void OnTokenFetch(int status, const std::string& json) {
    for (const char* path : {"/ident/prod", "/ident/stage"}) Post(path, Answer(json, status));
  }
  // A handler answering every request with `body` and `status`.
  static Handler Answer(const std::string& body, int status = 200) {
    return [body, status](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "application/json");
    };
  }

  // Starts serving and points the settings at the server.
  void Start() {
    TestHttpServer::Start();
    for (const auto& [key, value] : Settings()) zorvcore::DebugDatabase::SetEntry(key, value);
  }
  // The settings that point a client at the server (after Start): for a client in another process.
  std::vector<std::pair<std::string, std::string>> Settings() const {
    return {{"Net.CAFile", certificates_.caPath},
            {"Stock.ServiceURL", Url("/prod")},
            {"Stock.StageServiceURL", Url("/stage/")},
            {"Identity.ServiceURL", Url("/ident/prod")},
            {"Identity.StageServiceURL", Url("/ident/stage")}};
  }

  std::vector<zorvcore::debug::AssertReport> Reports() const {
    return reports_->Reports();
  }
  // Expects `error` caught in `function` during `operation` as the one report, and no report when `error` is null.
  void ExpectOnlyReport(const std::string& function, const std::string& operation, const char* error) const {
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), error ? 1u : 0u);
    if (!error) return;
    EXPECT_EQ(reports[0].condition, "false");
    EXPECT_EQ(reports[0].source, "StockLicense");
    EXPECT_EQ(reports[0].function, "zorvcapsule::" + function);
    EXPECT_EQ(reports[0].message, "Exception caught in StockSource::" + operation + " with error " + error + "\r\n");
  }

  // TEMP as the library sees it, and an asset's cache folder below it.
  std::filesystem::path Temp() const { return folder_.path() / "temp"; }
  std::filesystem::path AssetFolder(const std::string& assetId) const {
    return Temp() / "TslStock" / "Editor" / "24.1" / assetId;
  }

 private:
  std::optional<std::string> savedTmpDir_;
  std::optional<zorvcore::ReportCapture> reports_;  // from the constructor to the destructor's start
};

// The bytes of the file at `path` (empty when it cannot be read).
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// Writes `content` to `path`, making missing folders on the way.
inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// One hit of a search reply: asset `id` titled "Template <id>", with `extra` members ("name": value, ...).
inline std::string SearchHit(int id, const std::string& extra = "") {
  return R"({"id": )" + std::to_string(id) + R"(, "title": "Template )" + std::to_string(id) + "\"" +
         (extra.empty() ? "" : ", " + extra) + "}";
}

// A search reply counting `total` hits and carrying `hits`.
inline std::string SearchReply(int total, const std::vector<std::string>& hits) {
  std::string files;
  for (const std::string& hit : hits) files += (files.empty() ? "" : ",") + hit;
  return R"({"nb_results": )" + std::to_string(total) + R"(, "files": [)" + files + "]}";
}

// A connection with distinct values in every field, so a test sees which one was sent.
inline std::shared_ptr<ClientStockConnection> MakeTestConnection(int32_t templateTypeId = 3) {
  const auto text = zorvcore::ImmutableString::CreateStatic;
  return std::make_shared<ClientStockConnection>(ClientStockConnection{
      text("Editor Pro"), text("Editor Pro/templates panel"), text("param-a-prod"), text("param-a-stage"),
      text("param-b-prod"), text("param-b-stage"), text("key-prod"), text("key-stage"), "gallery 9",
      templateTypeId});
}

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_STOCK_TEST_STOCK_SERVICE_H_
