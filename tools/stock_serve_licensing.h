// The licensing endpoints of `capsule stock serve`, each in both trees:
//
// - member profile (GET "<tree>/Rest/Libraries/1/Member/Profile?content_id=ID"): what the account
//   may do with the asset; every asset can be licensed, free and without a checkout;
// - content licence (GET "<tree>/Rest/Libraries/1/Content/License?content_id=ID"): licenses the
//   asset and answers {"contents": {"ID": {..., "purchase_details": {"url": <download endpoint>}}}};
// - download (GET "<tree>/Rest/Libraries/Download/ID/1"): redirects (302) a licensed asset to its
//   package at an address that needs no credentials; an asset not yet licensed is refused (403).
// An unknown asset ID is answered 404.
//
// Thread safety: call from any request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENSING_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENSING_H_

#include <httplib.h>

#include <string>

#include "tools/stock_serve_state.h"

namespace capsuletool {

void HandleMemberProfile(ServedStock& stock, const httplib::Request& req, httplib::Response& res);
void HandleContentLicense(ServedStock& stock, bool stage, const httplib::Request& req, httplib::Response& res);
// `assetId` is the ID in the request's path.
void HandleDownloadRedirect(ServedStock& stock, const std::string& assetId, httplib::Response& res);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENSING_H_
