#include "stock/stock_shared_functions.h"

#include <atomic>

namespace zorvcapsule {
namespace {

std::atomic<DownloadStockAssetFxnPtr>& DownloadSlot() {
  static std::atomic<DownloadStockAssetFxnPtr> slot;
  return slot;
}

std::atomic<GetStockAssetLicenseInfoFxnPtr>& LicenseInfoSlot() {
  static std::atomic<GetStockAssetLicenseInfoFxnPtr> slot;
  return slot;
}

}  // namespace

void SetDownloadStockAssetSharedFxn(const DownloadStockAssetFxnPtr& function) { DownloadSlot().store(function); }

DownloadStockAssetFxnPtr GetDownloadStockAssetSharedFxn() { return DownloadSlot().load(); }

void SetGetStockAssetLicenseInfoSharedFxn(const GetStockAssetLicenseInfoFxnPtr& function) {
  LicenseInfoSlot().store(function);
}

GetStockAssetLicenseInfoFxnPtr GetGetStockAssetLicenseInfoSharedFxn() { return LicenseInfoSlot().load(); }

}  // namespace zorvcapsule
