// DownloadStockTplx: downloads a stock template's ".tplx" package to a path of the host's choosing.
//
// A fresh token is fetched (or the host's own used). An asset the user has not licensed yet is
// licensed first (PurchaseLicense) and its package address taken from the first licensed content,
// in name order; a licensed asset is asked of the download endpoint, at "/<content id>/1". Either
// address answers with a redirect (3xx, its target in the "Location" header), which is not followed
// here: the target is handed to the shared download manager, which fetches it into `targetPath`
// in the background. A relative target is resolved against the address that gave it.
//
// `done` (may be empty) is called exactly once on every road: with false at once, on the calling
// thread, when the download could not be started (no token, the purchase refused or naming no
// content, no redirect); otherwise later, on the download manager's thread, with whether the
// complete package is at `targetPath`. A failed download never leaves a partial file there and never
// replaces a file that was there. An exception is reported (stock_failure_report.h) and ends the call
// with done(false).
//
// Thread safety: may be called from any thread; it blocks its caller for the token fetch and the
// requests (up to kStockRequestLimitMs each).

#ifndef ZORVCAPSULE_STOCK_STOCK_DOWNLOAD_H_
#define ZORVCAPSULE_STOCK_STOCK_DOWNLOAD_H_

#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "stock/client_stock_connection.h"
#include "stock/stock_shared_functions.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT void DownloadStockTplx(const std::u16string& contentId, const std::u16string& targetPath,
                                          const std::string& clientId, const std::string& userCredential,
                                          const std::shared_ptr<ClientStockConnection>& connection,
                                          bool isLicensed, const StockDownloadDoneFxnPtr& done,
                                          const std::u16string& accessToken);

// The absolute address of a redirect target: `location` itself when it names a scheme, else
// resolved against `requestUrl` ("/path" against its origin; any other relative text against its
// folder). Empty when `location` is.
std::string ResolveRedirectTarget(const std::string& requestUrl, const std::string& location);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_DOWNLOAD_H_
