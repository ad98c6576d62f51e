// The account values every `capsule stock` command sends to the stock service.
//
// --connection FILE names a JSON object whose members are the fields of the connection record the
// host gives the library: "product", "productLocation", "tokenParamAProduction",
// "tokenParamAStage", "tokenParamBProduction", "tokenParamBStage", "apiKeyProduction",
// "apiKeyStage", "galleryId" (texts) and "templateTypeId" (an integer). A member left out is empty
// (or 0); a member of the wrong type, or one of another name (a misspelt key would otherwise go
// unnoticed and send an empty value), makes the file unreadable.
//
// The identity values: --client-id, and --token (an access token the host already has) and
// --credential (the user credential the identity service exchanges for a token), each taken from
// ZORVCAPSULE_STOCK_TOKEN or ZORVCAPSULE_STOCK_CREDENTIAL when not given, so that a secret need not
// appear on a command line. The service cannot be asked anything without one of the two.
//
// Thread safety: call from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_IDENTITY_H_
#define ZORVCAPSULE_TOOLS_STOCK_IDENTITY_H_

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "host/core/status.h"
#include "stock/client_stock_connection.h"

namespace capsuletool {

inline constexpr const char* kStockTokenVariable = "ZORVCAPSULE_STOCK_TOKEN";
inline constexpr const char* kStockCredentialVariable = "ZORVCAPSULE_STOCK_CREDENTIAL";

struct StockIdentityOptions {
  std::string connectionFile;  // empty: no file, every connection value empty
  std::string clientId;
  std::optional<std::string> token;
  std::optional<std::string> credential;
};

struct StockIdentity {
  std::shared_ptr<zorvcapsule::ClientStockConnection> connection;
  std::string clientId;
  std::string credential;  // UTF-8
  std::u16string token;
};

// Fills `identity` from the options and the environment. On failure prints the error and returns
// the failure status.
std::optional<int> LoadStockIdentity(const StockIdentityOptions& options, StockIdentity& identity,
                                     std::ostream& err);

// Reads a connection file's text into `*connection`; InvalidArgument saying why when it is not one.
zorvcore::Status ParseStockConnection(const std::string& text,
                                      std::shared_ptr<zorvcapsule::ClientStockConnection>* connection);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_IDENTITY_H_
