#include "stock/stock_service.h"

#include "host/core/debug_database.h"

namespace zorvcapsule {
namespace {

constexpr std::string_view kSecureScheme = "https://";

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const char lower = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (lower != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool UseStockStage() {
  return zorvcore::DebugDatabase::GetEntry(kUseStockStageSetting, "false") == "true";
}

std::string StockServiceBaseURL(bool stage) {
  using zorvcore::DebugDatabase;
  std::string url = stage ? DebugDatabase::GetEntry(kStockStageServiceURLSetting, kDefaultStockStageServiceURL)
                          : DebugDatabase::GetEntry(kStockServiceURLSetting, kDefaultStockServiceURL);
  while (!url.empty() && url.back() == '/') url.pop_back();
  if (!StartsWithNoCase(url, kSecureScheme) || url.size() == kSecureScheme.size()) return std::string();
  return url;
}

std::string_view StockEndpointPath(StockEndpoint endpoint) {
  switch (endpoint) {
    case StockEndpoint::kFileSearch:
      return "/Rest/Media/1/Search/Files";
    case StockEndpoint::kMemberProfile:
      return "/Rest/Libraries/1/Member/Profile";
    case StockEndpoint::kContentLicense:
      return "/Rest/Libraries/1/Content/License";
    case StockEndpoint::kDownload:
      return "/Rest/Libraries/Download";
  }
  return std::string_view();
}

std::string StockEndpointURL(StockEndpoint endpoint, bool stage) {
  std::string base = StockServiceBaseURL(stage);
  if (base.empty()) return base;
  return base.append(StockEndpointPath(endpoint));
}

const zorvcore::ImmutableString& StockApiKey(const ClientStockConnection& connection, bool stage) {
  return stage ? connection.apiKeyStage : connection.apiKeyProduction;
}

const zorvcore::ImmutableString& StockTokenParamA(const ClientStockConnection& connection, bool stage) {
  return stage ? connection.tokenParamAStage : connection.tokenParamAProduction;
}

const zorvcore::ImmutableString& StockTokenParamB(const ClientStockConnection& connection, bool stage) {
  return stage ? connection.tokenParamBStage : connection.tokenParamBProduction;
}

}  // namespace zorvcapsule
