// `capsule stock licence ID [--json]` with the connection and identity options of
// tools/stock_identity.h: what the user's account allows for the stock asset ID.
//
// Prints whether the licence can be bought, whether buying it needs a checkout, the service's
// message and its purchase address; --json prints one object,
// {"canPurchase": b, "needsCheckout": b, "message": "...", "purchaseURL": "..."}. When the service
// gave no answer that could be read the command prints nothing on standard output and fails
// (status 1).
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_LICENCE_COMMAND_H_
#define ZORVCAPSULE_TOOLS_STOCK_LICENCE_COMMAND_H_

#include <ostream>
#include <string>

#include "tools/stock_identity.h"

namespace capsuletool {

struct StockLicenceOptions {
  StockIdentityOptions identity;
  std::string id;
  bool json = false;
};

// Returns the exit status.
int RunStockLicenceCommand(const StockLicenceOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_LICENCE_COMMAND_H_
