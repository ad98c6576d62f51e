// ClientStockConnection: what the host tells the library about its account with the stock service.
//
// The host fills one record and shares it with the stock source and the licensing and download calls;
// the library only reads it. Every value that names the host to the service (product, API keys, the
// identity connection texts) comes from here: the library carries no key of its own. Each value that
// differs between the production and the stage service comes in both forms; the host setting
// "Graphics.UseStockStage" picks one at every request.
//
// Thread safety: a plain record. Fill it before sharing it; from then on any thread may read it, and
// nobody may change it.

#ifndef ZORVCAPSULE_STOCK_CLIENT_STOCK_CONNECTION_H_
#define ZORVCAPSULE_STOCK_CLIENT_STOCK_CONNECTION_H_

#include <cstdint>
#include <memory>
#include <string>

#include "host/core/immutable_string.h"

namespace zorvcapsule {

struct ClientStockConnection {
  // "X-PRODUCT" on every request; also names the product in a search without words.
  zorvcore::ImmutableString product;
  // "X-PRODUCT-LOCATION" on search requests.
  zorvcore::ImmutableString productLocation;
  // The two connection texts handed to the identity service's token fetch, passed through unchanged.
  zorvcore::ImmutableString tokenParamAProduction;
  zorvcore::ImmutableString tokenParamAStage;
  zorvcore::ImmutableString tokenParamBProduction;
  zorvcore::ImmutableString tokenParamBStage;
  // "X-API-KEY" on every request.
  zorvcore::ImmutableString apiKeyProduction;
  zorvcore::ImmutableString apiKeyStage;
  // The gallery a search without words lists.
  std::string galleryId;
  // The kind of template searched for; 7 asks for templates of the editing application only.
  int32_t templateTypeId = 0;
};

using ClientStockConnectionPtr = std::shared_ptr<ClientStockConnection>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_CLIENT_STOCK_CONNECTION_H_
