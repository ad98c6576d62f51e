// ServedStock: everything the request handlers of `capsule stock serve` share: the templates, the
// account, the addresses, the licences granted so far and the misbehaviour policy.
//
// Thread safety: the handlers run on the server's worker threads at once; each member is safe for
// that (see its header). The members outlive the server's workers.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_STATE_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_STATE_H_

#include "tools/stock_serve_account.h"
#include "tools/stock_serve_addresses.h"
#include "tools/stock_serve_catalogue.h"
#include "tools/stock_serve_licences.h"
#include "tools/stock_serve_policy.h"

namespace capsuletool {

struct ServedStock {
  const ServedCatalogue& catalogue;
  const ServedAccount& account;
  const ServedAddresses& addresses;
  ServePolicy& policy;
  ServedLicences licences;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_STATE_H_
