#include "stock/stock_download.h"

#include <atomic>
#include <utility>

#include "host/core/file.h"
#include "host/core/unicode.h"
#include "host/net/request_check.h"
#include "stock/license_response.h"
#include "stock/shared_download_manager.h"
#include "stock/stock_access_token.h"
#include "stock/stock_failure_report.h"
#include "stock/stock_headers.h"
#include "stock/stock_licensing.h"
#include "stock/stock_request.h"
#include "stock/stock_service.h"
#include "stock/url_encode.h"

namespace zorvcapsule {
namespace {

constexpr const char* kLocationHeader = "LOCATION";

// Calls `done` at most once, whichever road gets there first.
class DoneOnce {
 public:
  explicit DoneOnce(StockDownloadDoneFxnPtr done) : done_(std::move(done)) {}
  void Call(bool succeeded) {
    if (called_.exchange(true)) return;
    if (done_ && *done_) (*done_)(succeeded);
  }

 private:
  const StockDownloadDoneFxnPtr done_;
  std::atomic<bool> called_{false};
};

// The package address the redirect request goes to; empty when there is none.
std::string PackageAddress(const std::u16string& contentId, const AccessTokenData& token,
                           const ClientStockConnectionPtr& connection, bool isLicensed, bool stage) {
  if (isLicensed) {
    const std::string base = StockEndpointURL(StockEndpoint::kDownload, stage);
    if (base.empty()) return base;
    return base + "/" + UrlEncode(zorvcore::UTF16ToUTF8(contentId)) + "/1";
  }
  LicenseResponse licensed;
  if (!PurchaseLicense(contentId, token, connection, licensed) || licensed.contents.empty()) return std::string();
  return licensed.contents.begin()->second.purchase_details.url.str();
}

// The redirect's target, or empty when the address did not answer with a redirect.
std::string RedirectTarget(const std::string& address, const ClientStockConnection& connection,
                           const AccessTokenData& token, bool stage) {
  const zorvnet::ResponsePtr response = RunStockRequest(
      zorvcore::ImmutableString::CreateDynamic(address),
      BuildStockHeaders(connection, token, stage, StockRequestKind::kDownload),
      StockRedirectRequestConfiguration(), kStockRequestLimitMs);
  if (!response || !response->IsRedirect()) return std::string();
  return ResolveRedirectTarget(address, response->GetHeader(kLocationHeader).str());
}

// Runs the download's steps; true once the background download has been handed `done`.
bool StartDownload(const std::u16string& contentId, const std::u16string& targetPath, const std::string& clientId,
                   const std::string& userCredential, const ClientStockConnectionPtr& connection, bool isLicensed,
                   const std::shared_ptr<DoneOnce>& done, const std::u16string& accessToken) {
  AccessTokenDataPtr token;
  if (!FetchStockAccessToken(clientId, userCredential, connection, token, accessToken, true)) return false;
  if (!connection) return false;
  const bool stage = UseStockStage();
  const std::string address = PackageAddress(contentId, *token, connection, isLicensed, stage);
  if (address.empty()) return false;
  const zorvcore::ImmutableString target =
      zorvcore::ImmutableString::CreateDynamic(RedirectTarget(address, *connection, *token, stage));
  // The package address comes from the service's answer; a clear-text one is refused like a missing one.
  if (!zorvnet::IsSecureURL(target.view())) return false;
  const auto stream =
      GetSharedDownloadManager()->NewDownload(target, zorvcore::File(targetPath), zorvnet::HeaderMap(), true);
  stream->ConnectCompleted([done](zorvappsupport::http::HTTPDownloadManager*,
                                  std::shared_ptr<zorvappsupport::http::HTTPDownloadStream> finished) {
    done->Call(finished && finished->Succeeded());
  });
  return true;
}

}  // namespace

std::string ResolveRedirectTarget(const std::string& requestUrl, const std::string& location) {
  if (location.empty() || location.find("://") != std::string::npos) return location;
  const size_t hostStart = requestUrl.find("://");
  if (hostStart == std::string::npos) return location;
  if (location.compare(0, 2, "//") == 0) return requestUrl.substr(0, hostStart + 1) + location;
  const size_t pathStart = requestUrl.find('/', hostStart + 3);
  const std::string origin = requestUrl.substr(0, pathStart);
  if (location.front() == '/') return origin + location;
  const std::string path = pathStart == std::string::npos ? "/" : requestUrl.substr(pathStart);
  const std::string folder = path.substr(0, path.find_first_of("?#"));
  return origin + folder.substr(0, folder.rfind('/') + 1) + location;
}

void DownloadStockTplx(const std::u16string& contentId, const std::u16string& targetPath, const std::string& clientId,
                       const std::string& userCredential, const std::shared_ptr<ClientStockConnection>& connection,
                       bool isLicensed, const StockDownloadDoneFxnPtr& done, const std::u16string& accessToken) {
  const auto once = std::make_shared<DoneOnce>(done);
  bool started = false;
  try {
    started = StartDownload(contentId, targetPath, clientId, userCredential, connection, isLicensed, once,
                            accessToken);
  } catch (...) {
    ReportCurrentStockException(StockOperation::kDownload);
  }
  if (!started) once->Call(false);
}

}  // namespace zorvcapsule
