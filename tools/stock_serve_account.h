// ServedAccount: the one account `capsule stock serve` knows, made afresh at every start.
//
// The identity endpoint trades the credential, given with the client ID, for the access token; the
// stock endpoints accept that token as the bearer and the API key of their deployment (production or
// stage). Every secret is random, so nothing a host has from an earlier run or another service
// works by accident. The connection record is the JSON object `capsule stock ... --connection FILE`
// takes (tools/stock_identity.h), holding the API keys and plain values for the rest.
//
// Thread safety: the values are plain data, read-only once made.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCOUNT_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCOUNT_H_

#include <cstddef>
#include <string>

namespace capsuletool {

struct ServedAccount {
  std::string clientId;
  std::string credential;
  std::string accessToken;
  std::string apiKeyProduction;
  std::string apiKeyStage;

  const std::string& ApiKey(bool stage) const { return stage ? apiKeyStage : apiKeyProduction; }
};

// `bytes` random bytes from the system's secure generator, as lower-case hexadecimal text.
std::string RandomHex(size_t bytes);

ServedAccount MakeServedAccount();

// The connection record for `account`, as pretty JSON text.
std::string ConnectionRecordJSON(const ServedAccount& account);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_ACCOUNT_H_
