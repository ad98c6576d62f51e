// The two process-wide function slots through which host components share stock operations.
//
// One host component installs its own function for downloading a stock asset and its own function
// for an asset's licence information; other components retrieve them. The functions take the
// parameters of DownloadStockTplx and GetLicesneInfo without the identity and connection values.
// The library itself never calls them.
//
// Thread safety: every function may be called from any thread; a slot is replaced and read whole
// (an atomic shared pointer). A getter's copy stays usable after the slot is replaced.

#ifndef ZORVCAPSULE_STOCK_STOCK_SHARED_FUNCTIONS_H_
#define ZORVCAPSULE_STOCK_STOCK_SHARED_FUNCTIONS_H_

#include <functional>
#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "stock/stock_asset_license_info.h"

namespace zorvcapsule {

using StockDownloadDoneFxn = std::function<void(bool succeeded)>;
using StockDownloadDoneFxnPtr = std::shared_ptr<StockDownloadDoneFxn>;

// (asset identifier, target path, licensed, completion)
using DownloadStockAssetFxn = std::function<void(const std::u16string& assetId, const std::u16string& targetPath,
                                                 bool isLicensed, StockDownloadDoneFxnPtr done)>;
// (asset identifier, licence record to fill)
using GetStockAssetLicenseInfoFxn =
    std::function<void(const std::u16string& assetId, StockAssetLicenseInfo& info)>;

using DownloadStockAssetFxnPtr = std::shared_ptr<DownloadStockAssetFxn>;
using GetStockAssetLicenseInfoFxnPtr = std::shared_ptr<GetStockAssetLicenseInfoFxn>;

// Each setter replaces its slot (releasing the old function); each getter returns the slot's
// function, empty until one is set.
ZORVCAPSULE_EXPORT void SetDownloadStockAssetSharedFxn(const DownloadStockAssetFxnPtr& function);
ZORVCAPSULE_EXPORT DownloadStockAssetFxnPtr GetDownloadStockAssetSharedFxn();
ZORVCAPSULE_EXPORT void SetGetStockAssetLicenseInfoSharedFxn(const GetStockAssetLicenseInfoFxnPtr& function);
ZORVCAPSULE_EXPORT GetStockAssetLicenseInfoFxnPtr GetGetStockAssetLicenseInfoSharedFxn();

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_SHARED_FUNCTIONS_H_
