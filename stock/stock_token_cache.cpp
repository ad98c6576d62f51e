#include "stock/stock_token_cache.h"

#include <atomic>
#include <utility>

namespace zorvcapsule {
namespace {

std::atomic<AccessTokenDataPtr>& CachedAccessToken() {
  static std::atomic<AccessTokenDataPtr> cached;
  return cached;
}

}  // namespace

AccessTokenDataPtr GetCachedAccessToken() { return CachedAccessToken().load(); }

void SetCachedAccessToken(AccessTokenDataPtr token) { CachedAccessToken().store(std::move(token)); }

namespace internal {

void ClearCachedAccessTokenForTesting() { CachedAccessToken().store(nullptr); }

}  // namespace internal
}  // namespace zorvcapsule
