// StockService: where the stock-content service lives, and which of its two deployments to use.
//
// The service runs as production and as stage. The host setting "Graphics.UseStockStage" ("true"
// selects stage) is read afresh for every operation; an operation reads it once and uses the same
// answer for its endpoint, its API key and its token parameters, so a setting changed half-way never
// mixes the two deployments in one request.
//
// Each deployment's base URL is a host setting ("Stock.ServiceURL", "Stock.StageServiceURL"), with
// the defaults below; the endpoint paths are appended to it. Requests carry the user's access token,
// so a base URL that is not "https:" is refused: the endpoint then comes back empty and no request
// is sent.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_STOCK_STOCK_SERVICE_H_
#define ZORVCAPSULE_STOCK_STOCK_SERVICE_H_

#include <string>
#include <string_view>

#include "host/core/immutable_string.h"
#include "stock/client_stock_connection.h"

namespace zorvcapsule {

inline constexpr const char* kUseStockStageSetting = "Graphics.UseStockStage";
inline constexpr const char* kStockServiceURLSetting = "Stock.ServiceURL";
inline constexpr const char* kStockStageServiceURLSetting = "Stock.StageServiceURL";

// Placeholders under the reserved ".example" domain: a host points the settings at its service.
inline constexpr std::string_view kDefaultStockServiceURL = "https://stock-api.zorvcapsule.example";
inline constexpr std::string_view kDefaultStockStageServiceURL =
    "https://stock-api-stage.zorvcapsule.example";

// The scopes every token fetch asks the identity service for.
inline constexpr std::string_view kStockIdentityScopes =
    "openid,profile,email,offline_access,stock.search,stock.licensing,stock.download";
static_assert(kStockIdentityScopes.size() == 79);

enum class StockEndpoint {
  kFileSearch,     // "/Rest/Media/1/Search/Files"
  kMemberProfile,  // "/Rest/Libraries/1/Member/Profile"
  kContentLicense, // "/Rest/Libraries/1/Content/License"
  kDownload,       // "/Rest/Libraries/Download"
};

// True when "Graphics.UseStockStage" is "true".
bool UseStockStage();

// The deployment's base URL without a trailing "/"; empty when the setting is not an "https:" URL.
std::string StockServiceBaseURL(bool stage);

std::string_view StockEndpointPath(StockEndpoint endpoint);

// The base URL followed by the endpoint's path; empty when the base URL is.
std::string StockEndpointURL(StockEndpoint endpoint, bool stage);

// The connection's values for the chosen deployment.
const zorvcore::ImmutableString& StockApiKey(const ClientStockConnection& connection, bool stage);
const zorvcore::ImmutableString& StockTokenParamA(const ClientStockConnection& connection, bool stage);
const zorvcore::ImmutableString& StockTokenParamB(const ClientStockConnection& connection, bool stage);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_SERVICE_H_
