// StockSource: the template source that lists templates of the stock-content service.
//
// The source manager calls Search on its worker with the user's words and a page window; the source
// asks the host for the identity values (client identifier, user credential, access token) through
// the user-data callback, sends one request to the service's file search, and turns every hit into a
// StockCapsuleEntry, filled further from the description and preview video already in the stock
// cache. The total it reports is the service's hit count, at most kMaxStockResults. A search reads
// only cached files; a hit's description and still thumbnail are downloaded into the cache when its
// thumbnail is asked for (GetThumbnailPath), each at most once while they stay there.
//
// Failures end quietly with no entries: no callback or no token, a request that fails, times out
// (kStockSearchLimitMs) or is cancelled; a reply that cannot be read is also reported through the
// host's assertion reporter (stock_failure_report.h). A cancelled search leaves the results and the
// total untouched; one that ran to its end without cancellation always sets the total (0 on failure).
//
// Thread safety: Search runs on the manager's worker and GetThumbnailPath on the thread that asks the
// manager for a thumbnail, both under the manager's mutex (one at a time), and both block for their
// requests. SetFilterType and SetUserDataCallback are called on the host's thread; the source guards
// both values with its own lock, so a setter never races a search that reads them.

#ifndef ZORVCAPSULE_STOCK_STOCK_SOURCE_H_
#define ZORVCAPSULE_STOCK_STOCK_SOURCE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/graphic_source.h"
#include "stock/client_stock_connection.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT StockSource : public IGraphicSource {
 public:
  // Fills the client identifier, the user credential (UTF-8) and the access token (may stay empty).
  using UserDataCallback =
      std::function<void(std::string& clientId, std::string& userCredential, std::u16string& accessToken)>;
  using UserDataCallbackPtr = std::shared_ptr<UserDataCallback>;

  // The largest total a search reports, whatever the service counts.
  static constexpr int32_t kMaxStockResults = 1000;

  explicit StockSource(const std::shared_ptr<ClientStockConnection>& connection);
  ~StockSource() override;

  // Makes sure the stock cache exists (checking its size once per process).
  void Initialize() override;
  void Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results, int start,
              int count, int& total, const CheckCancelPtr& cancel) override;
  std::string GetSourceID() override;
  // The localized source name, the source ID and no sub-filters.
  void GetFilter(GraphicFilterID& filter) override;
  // The cached still thumbnail, downloaded (after the description) when missing; empty when none
  // could be had or `cancel` was aborted.
  std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& cancel) override;
  // The premium filter (kStockFilterAll, kStockFilterPremium or kStockFilterFree); empty text is
  // ignored.
  void SetFilterType(const std::u16string& filterType) override;

  std::shared_ptr<ClientStockConnection> GetClientStockConnectionPtr() const { return connection; }
  void SetUserDataCallback(const UserDataCallbackPtr& callback);

  std::u16string GetFilterType() const;

 private:
  UserDataCallbackPtr GetUserDataCallback() const;

  const std::shared_ptr<ClientStockConnection> connection;
  mutable std::mutex settingsMutex;
  std::u16string filterType;             // guarded by settingsMutex
  UserDataCallbackPtr userDataCallback;  // guarded by settingsMutex
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_SOURCE_H_
