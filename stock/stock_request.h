// StockRequest: the synchronous request every stock operation is built on.
//
// The networking layer is asynchronous; stock operations block their caller for a bounded time
// instead. RunStockRequest starts a GET whose callback stores the response and opens a one-shot gate,
// then waits on the gate up to the operation's limit. When the limit runs out, or the operation's
// cancellation token is aborted, it asks the processor to cancel the request and then waits, without
// a limit, for the callback, which the processor promises for every started request. So no callback
// ever outlives the wait unseen, and a response that arrives is never dropped half-way.
//
// The user's token and the host's API key travel only over TLS: a request whose headers carry either
// is started only for an "https:" URL (and the networking layer never follows its redirects into clear
// text). Any other such request is refused before anything is sent, as a request not started.
//
// A cancellation token is checked before the wait starts (an aborted one means no wait at all) and
// polled every kStockCancelPollMs while waiting, so a cancelled search gives its thread back at once
// rather than at the end of its limit.
//
// Thread safety: may be called from any thread, by several at once. The request's callback runs on
// the processor's thread and touches only the response slot and the gate it shares with the waiter.

#ifndef ZORVCAPSULE_STOCK_STOCK_REQUEST_H_
#define ZORVCAPSULE_STOCK_STOCK_REQUEST_H_

#include <memory>

#include "catalogue/check_cancel.h"
#include "host/core/immutable_string.h"
#include "host/net/configuration.h"
#include "host/net/header_map.h"
#include "host/net/request_processor.h"
#include "host/net/response.h"

namespace zorvcapsule {

// The time limits of the stock operations.
inline constexpr int kStockRequestLimitMs = 5000;      // a plain request, licence and download
inline constexpr int kStockSearchLimitMs = 10000;      // a search
inline constexpr int kStockTokenFetchLimitMs = 50000;  // an identity token fetch
inline constexpr int kStockCancelPollMs = 20;

// The configuration of every stock request: no cookies, compressed transfer, redirects followed.
zorvnet::Configuration StockRequestConfiguration();
// The same with redirects handed back, for the request whose redirect the caller reads itself.
zorvnet::Configuration StockRedirectRequestConfiguration();

// True when `headers` hold the "Authorization" or "X-API-KEY" field.
bool CarriesStockCredentials(const zorvnet::HeaderMap& headers);

// Runs one GET of `url` with `headers` on `processor` and waits as described above. Returns the
// response as delivered (a failed or cancelled one included), or an empty pointer when the request
// was not started (an empty URL, credentials bound for a URL that is not "https:", or the processor
// refused it).
// REQUIRES: limitMs >= 0.
zorvnet::ResponsePtr RunStockRequest(zorvnet::RequestProcessor& processor,
                                     const zorvcore::ImmutableString& url,
                                     const zorvnet::HeaderMap& headers,
                                     const zorvnet::Configuration& configuration, int limitMs,
                                     const CheckCancelPtr& cancel = nullptr);

// The same on the process-wide request processor; an empty pointer when there is none.
zorvnet::ResponsePtr RunStockRequest(const zorvcore::ImmutableString& url,
                                     const zorvnet::HeaderMap& headers,
                                     const zorvnet::Configuration& configuration, int limitMs,
                                     const CheckCancelPtr& cancel = nullptr);

// True for a response that is present with a status in 200..299.
bool IsSuccessfulStockResponse(const zorvnet::ResponsePtr& response);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_REQUEST_H_
