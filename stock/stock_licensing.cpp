#include "stock/stock_licensing.h"

#include "host/core/locale.h"
#include "host/core/unicode.h"
#include "stock/stock_access_token.h"
#include "stock/stock_failure_report.h"
#include "stock/stock_headers.h"
#include "stock/stock_request.h"
#include "stock/stock_response.h"
#include "stock/stock_service.h"
#include "stock/url_encode.h"

namespace zorvcapsule {
namespace {

constexpr const char* kNotPossibleState = "not_possible";

// GETs `url` with the headers of `kind` and reads a 2xx answer into `record`.
template <typename Record>
bool RequestRecord(const std::string& url, const ClientStockConnection& connection, const AccessTokenData& token,
                   bool stage, StockRequestKind kind, Record& record) {
  const zorvnet::ResponsePtr response = RunStockRequest(
      zorvcore::ImmutableString::CreateDynamic(url), BuildStockHeaders(connection, token, stage, kind),
      StockRequestConfiguration(), kStockRequestLimitMs);
  if (!IsSuccessfulStockResponse(response)) return false;
  ParseStockResponse(response->GetPayloadAsUTF8String(), record);
  return true;
}

std::string ContentQuery(const std::u16string& contentId) {
  return "?content_id=" + UrlEncode(zorvcore::UTF16ToUTF8(contentId));
}

void FillInfo(const MemberProfile& profile, StockAssetLicenseInfo& info) {
  info.canPurchase = profile.options.state != kNotPossibleState;
  info.needsCheckout = profile.entitlement.is_cce && profile.options.requires_checkout;
  info.message = zorvcore::UTF8ToUTF16(profile.options.message);
  info.purchaseURL = zorvcore::UTF8ToUTF16(profile.options.url);
}

}  // namespace

bool GetLicenseInfo(const std::u16string& contentId, const AccessTokenData& token,
                    const ClientStockConnectionPtr& connection, MemberProfile& profile) {
  if (!connection) return false;
  try {
    const bool stage = UseStockStage();
    const std::string base = StockEndpointURL(StockEndpoint::kMemberProfile, stage);
    if (base.empty()) return false;
    const std::string url = base + ContentQuery(contentId) + "&locale=" +
                            UrlEncode(zorvcore::UTF16ToUTF8(zorvcore::Locale::ApplicationLangauge()));
    return RequestRecord(url, *connection, token, stage, StockRequestKind::kMemberProfile, profile);
  } catch (...) {
    ReportCurrentStockException(StockOperation::kLicenseInfo);
    return false;
  }
}

bool PurchaseLicense(const std::u16string& contentId, const AccessTokenData& token,
                     const ClientStockConnectionPtr& connection, LicenseResponse& contents) {
  if (!connection) return false;
  try {
    const bool stage = UseStockStage();
    const std::string base = StockEndpointURL(StockEndpoint::kContentLicense, stage);
    if (base.empty()) return false;
    return RequestRecord(base + ContentQuery(contentId), *connection, token, stage,
                         StockRequestKind::kContentLicense, contents);
  } catch (...) {
    ReportCurrentStockException(StockOperation::kPurchase);
    return false;
  }
}

void GetLicesneInfo(const std::u16string& contentId, const std::string& clientId,
                    const std::string& userCredential, const std::shared_ptr<ClientStockConnection>& connection,
                    StockAssetLicenseInfo& info, const std::u16string& accessToken) {
  try {
    AccessTokenDataPtr token;
    if (!FetchStockAccessToken(clientId, userCredential, connection, token, accessToken, false)) return;
    MemberProfile profile;
    if (!GetLicenseInfo(contentId, *token, connection, profile)) return;
    FillInfo(profile, info);
  } catch (...) {
    ReportCurrentStockException(StockOperation::kLicenseInfo);
  }
}

}  // namespace zorvcapsule
