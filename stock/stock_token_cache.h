// The process-wide access-token cache.
//
// One token serves every connection and every stock operation. It is replaced by each successful
// token fetch and by each token the host hands in directly; nothing clears it. Two fetches that end
// at the same moment leave one of their two tokens.
//
// Thread safety: both functions may be called from any thread; the cache is one atomic shared
// pointer, so a reader sees either the old token or the new one, whole.

#ifndef ZORVCAPSULE_STOCK_STOCK_TOKEN_CACHE_H_
#define ZORVCAPSULE_STOCK_STOCK_TOKEN_CACHE_H_

#include "stock/access_token_data.h"

namespace zorvcapsule {

// The cached token; empty until the first one arrives.
AccessTokenDataPtr GetCachedAccessToken();

void SetCachedAccessToken(AccessTokenDataPtr token);

namespace internal {

// Empties the cache, so a test can watch a first fetch again.
void ClearCachedAccessTokenForTesting();

}  // namespace internal
}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_TOKEN_CACHE_H_
