// SearchOnStock: one request to the stock service's file search, and the URL it asks for.
//
// BuildSearchURL writes the query pairs in the service's fixed order: "locale",
// "search_parameters[limit]", "search_parameters[offset]", "search_parameters[filters][premium]",
// "search_parameters[filters][content_type:template]" (1), "search_parameters[filters][template_type_id][]",
// "search_parameters[filters][tplx_source][]" ("tsgraphic", only for template type 7),
// "search_parameters[filters][tplx_api_version]" ("1.4"); then, without words, "product" (the
// connection's product, "/", the host's client version) and "search_parameters[gallery_id]", or,
// with words, "search_parameters[words]" (the words joined by single spaces); and last one
// "result_columns[]" pair per column the search reads. Values are percent-encoded (UrlEncode), keys
// are not.
//
// Thread safety: both functions may be called from any thread. SearchOnStock blocks its caller for
// the token fetch and the request (see stock_request.h).

#ifndef ZORVCAPSULE_STOCK_STOCK_SEARCH_H_
#define ZORVCAPSULE_STOCK_STOCK_SEARCH_H_

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/check_cancel.h"
#include "stock/client_stock_connection.h"
#include "stock/search_results.h"

namespace zorvcapsule {

// The file-search URL of the chosen deployment with the query above; empty when the deployment's base
// URL is unusable (see stock_service.h).
std::string BuildSearchURL(const std::vector<std::u16string>& words, const std::u16string& filter,
                           const ClientStockConnection& connection, int32_t offset, int32_t limit,
                           bool stage);

// Fetches a token (the cached one when there is one), then asks for the page (`offset`, `limit`) of
// the hits for `words` under the premium filter `filter`, waiting up to kStockSearchLimitMs, or not
// at all once `cancel` is aborted. On a 2xx reply `results` is the reply; on every failure it is left
// as it was. An exception (a reply that is not JSON or holds a member of the wrong type) is
// reported as the search's failure (stock_failure_report.h) and not passed on.
void SearchOnStock(const std::vector<std::u16string>& words, const std::u16string& filter,
                   const std::string& clientId, const std::string& userCredential,
                   const ClientStockConnectionPtr& connection, int32_t offset, int32_t limit,
                   SearchResults& results, const CheckCancelPtr& cancel, const std::u16string& accessToken);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_SEARCH_H_
