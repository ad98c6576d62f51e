// StockAssetLicenseInfo: what the user's account allows for one stock asset.
//
// GetLicesneInfo fills it from the service's member profile. When no answer is obtained the record
// keeps the values the caller gave it, so a caller that wants to tell "no answer" apart presets it.
//
// Thread safety: a plain record.

#ifndef ZORVCAPSULE_STOCK_STOCK_ASSET_LICENSE_INFO_H_
#define ZORVCAPSULE_STOCK_STOCK_ASSET_LICENSE_INFO_H_

#include <string>

namespace zorvcapsule {

struct StockAssetLicenseInfo {
  bool canPurchase = false;    // the purchase state is not "not_possible"
  bool needsCheckout = false;  // the account has the "is_cce" entitlement and the purchase needs a checkout
  std::u16string message;      // the service's purchase message
  std::u16string purchaseURL;  // the service's purchase URL; empty when none was given
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_ASSET_LICENSE_INFO_H_
