// `capsule stock search [WORD]... [--filter all|true|false] [--thumbnails] [--previews] [--json]`
// with the connection and identity options of tools/stock_identity.h: the templates of the stock
// service, found as a host finds them (see tools/stock_search_session.h) and printed as a table or,
// with --json, as one object (tools/stock_search_output.h).
//
// Without words the service's default set is listed. --filter picks all templates (the default),
// premium ones ("true") or free ones ("false"). --thumbnails caches each template's description
// and still thumbnail and shows the thumbnail's path; --previews downloads each template's preview
// video and shows its path (videoPreviewPath).
//
// Before searching it makes sure an access token can be had (the token given, or one the identity
// service gives for the credential), and fails (status 1) at once when none can. The service is
// outside the host's control: a request that fails ends its page with no templates, as the library
// gives it. The command fails, after printing what it found, when the walk did not end, previews
// were still downloading at the time limit, or the library reported a reply it could not read.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SEARCH_COMMAND_H_
#define ZORVCAPSULE_TOOLS_STOCK_SEARCH_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

#include "tools/stock_identity.h"

namespace capsuletool {

struct StockSearchOptions {
  StockIdentityOptions identity;
  std::vector<std::string> words;  // UTF-8
  std::string filter = "all";      // "all", "true" or "false"
  bool thumbnails = false;
  bool previews = false;
  bool json = false;
};

// Returns the exit status.
int RunStockSearchCommand(const StockSearchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SEARCH_COMMAND_H_
