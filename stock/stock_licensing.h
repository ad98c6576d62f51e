// Licence information and licence purchase for one stock asset.
//
// GetLicesneInfo (the exported name is spelled so) tells the host what the user's account allows:
// it fetches a token (the cached one when there is one), asks the member-profile endpoint for the
// asset and fills the caller's StockAssetLicenseInfo; without an answer the record is left as it
// was. PurchaseLicense buys the licence through the content-licence endpoint; the template download
// uses it for an asset that is not licensed yet.
//
// The content identifier is percent-encoded into the query (identifiers are digits, which encoding
// leaves alone; anything else cannot add parameters of its own). Each request waits up to
// kStockRequestLimitMs. A reply that cannot be read is reported (stock_failure_report.h) and counts
// as no answer.
//
// Thread safety: may be called from any thread; each call blocks its caller for the token fetch and
// the request.

#ifndef ZORVCAPSULE_STOCK_STOCK_LICENSING_H_
#define ZORVCAPSULE_STOCK_STOCK_LICENSING_H_

#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "stock/access_token_data.h"
#include "stock/client_stock_connection.h"
#include "stock/license_response.h"
#include "stock/member_profile.h"
#include "stock/stock_asset_license_info.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT void GetLicesneInfo(const std::u16string& contentId, const std::string& clientId,
                                       const std::string& userCredential,
                                       const std::shared_ptr<ClientStockConnection>& connection,
                                       StockAssetLicenseInfo& info, const std::u16string& accessToken);

// Internal to the library (not exported): the two requests.

// The member profile for `contentId`; false (profile untouched) without a connection, a 2xx answer
// or a readable one.
bool GetLicenseInfo(const std::u16string& contentId, const AccessTokenData& token,
                    const ClientStockConnectionPtr& connection, MemberProfile& profile);

// Buys the licence of `contentId`; false (contents untouched) without a connection, a 2xx answer or
// a readable one.
bool PurchaseLicense(const std::u16string& contentId, const AccessTokenData& token,
                     const ClientStockConnectionPtr& connection, LicenseResponse& contents);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_LICENSING_H_
