// `capsule stock download ID TARGET [--licensed]` with the connection and identity options of
// tools/stock_identity.h: downloads the template package of the stock asset ID to the file TARGET.
//
// An asset not yet licensed is licensed first, as the library does; --licensed says the account
// already holds the licence, and the package then comes straight from the download endpoint. While
// the transfer runs, a terminal shows its progress. The command succeeds (status 0) only when the
// complete package is at TARGET; otherwise it fails (status 1) and TARGET is as it was, whether
// missing or an older file.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_DOWNLOAD_COMMAND_H_
#define ZORVCAPSULE_TOOLS_STOCK_DOWNLOAD_COMMAND_H_

#include <ostream>
#include <string>

#include "tools/stock_identity.h"

namespace capsuletool {

struct StockDownloadOptions {
  StockIdentityOptions identity;
  std::string id;
  std::string target;
  bool licensed = false;
};

// Returns the exit status.
int RunStockDownloadCommand(const StockDownloadOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_DOWNLOAD_COMMAND_H_
