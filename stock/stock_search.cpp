#include "stock/stock_search.h"

#include <string_view>
#include <utility>

#include "capsule/api_version_check.h"
#include "host/core/app_config.h"
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

// The template type whose searches are narrowed to templates of the editing application.
constexpr int32_t kEditorTemplateTypeId = 7;

// The columns a search asks for, in the order the service expects them.
constexpr std::string_view kResultColumns[] = {
    "nb_results",      "id",               "title",             "description",      "creator_name",
    "keywords",        "width",            "height",            "thumbnail_url",    "thumbnail_html_tag",
    "thumbnail_width", "thumbnail_height", "video_preview_url", "premium_level_id", "size_bytes",
    "tplx_metadata_url", "is_licensed",
};

class QueryWriter {
 public:
  void Add(std::string_view key, std::string_view value) {
    if (!query_.empty()) query_.push_back('&');
    query_.append(key).append("=").append(UrlEncode(value));
  }
  std::string Take() { return std::move(query_); }

 private:
  std::string query_;
};

std::string JoinWords(const std::vector<std::u16string>& words) {
  std::string joined;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) joined.push_back(' ');
    joined.append(zorvcore::UTF16ToUTF8(words[i]));
  }
  return joined;
}

void AddSubjectPairs(QueryWriter& query, const std::vector<std::u16string>& words,
                     const ClientStockConnection& connection) {
  if (words.empty()) {
    const std::string version = zorvcore::UTF16ToUTF8(zorvcore::config::GetClientVersion());
    query.Add("product", connection.product.str() + "/" + version);
    query.Add("search_parameters[gallery_id]", connection.galleryId);
  } else {
    query.Add("search_parameters[words]", JoinWords(words));
  }
}

void RequestSearch(const std::vector<std::u16string>& words, const std::u16string& filter,
                   const ClientStockConnection& connection, const AccessTokenData& token, int32_t offset,
                   int32_t limit, SearchResults& results, const CheckCancelPtr& cancel) {
  const bool stage = UseStockStage();
  const std::string url = BuildSearchURL(words, filter, connection, offset, limit, stage);
  const zorvnet::ResponsePtr response =
      RunStockRequest(zorvcore::ImmutableString::CreateDynamic(url),
                      BuildStockHeaders(connection, token, stage, StockRequestKind::kSearch),
                      StockRequestConfiguration(), kStockSearchLimitMs, cancel);
  if (!IsSuccessfulStockResponse(response)) return;
  ParseStockResponse(response->GetPayloadAsUTF8String(), results);
}

}  // namespace

std::string BuildSearchURL(const std::vector<std::u16string>& words, const std::u16string& filter,
                           const ClientStockConnection& connection, int32_t offset, int32_t limit,
                           bool stage) {
  std::string url = StockEndpointURL(StockEndpoint::kFileSearch, stage);
  if (url.empty()) return url;
  QueryWriter query;
  query.Add("locale", zorvcore::UTF16ToUTF8(zorvcore::Locale::ApplicationLangauge()));
  query.Add("search_parameters[limit]", std::to_string(limit));
  query.Add("search_parameters[offset]", std::to_string(offset));
  query.Add("search_parameters[filters][premium]", zorvcore::UTF16ToUTF8(filter));
  query.Add("search_parameters[filters][content_type:template]", "1");
  query.Add("search_parameters[filters][template_type_id][]", std::to_string(connection.templateTypeId));
  if (connection.templateTypeId == kEditorTemplateTypeId) {
    query.Add("search_parameters[filters][tplx_source][]", "tsgraphic");
  }
  query.Add("search_parameters[filters][tplx_api_version]", zorvcapsule::serialization::kCurrentAPIVersion);
  AddSubjectPairs(query, words, connection);
  for (const std::string_view column : kResultColumns) query.Add("result_columns[]", column);
  return url.append("?").append(query.Take());
}

void SearchOnStock(const std::vector<std::u16string>& words, const std::u16string& filter,
                   const std::string& clientId, const std::string& userCredential,
                   const ClientStockConnectionPtr& connection, int32_t offset, int32_t limit,
                   SearchResults& results, const CheckCancelPtr& cancel, const std::u16string& accessToken) {
  try {
    AccessTokenDataPtr token;
    if (!FetchStockAccessToken(clientId, userCredential, connection, token, accessToken, false)) return;
    if (!connection || (cancel && cancel->GetAbort())) return;
    RequestSearch(words, filter, *connection, *token, offset, limit, results, cancel);
  } catch (...) {
    ReportCurrentStockException(StockOperation::kSearch);
  }
}

}  // namespace zorvcapsule
