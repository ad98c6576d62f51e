// MemberProfile: the service's answer to "what may this member do with this asset".
//
// Read with ParseStockResponse. "available_entitlement" gives the account's entitlement (all zero or
// false when absent); "purchase_options" gives the purchase state, message and URL. A present
// "purchase_options" without "requires_checkout" requires a checkout; an absent "purchase_options"
// does not.
//
// Thread safety: plain records.

#ifndef ZORVCAPSULE_STOCK_MEMBER_PROFILE_H_
#define ZORVCAPSULE_STOCK_MEMBER_PROFILE_H_

#include <cstdint>
#include <string>

#include "host/core/json_value.h"

namespace zorvcapsule {

struct AvailableEntitlement {
  int32_t quota = 0;              // "quota"
  bool has_credit_model = false;  // "has_credit_model"
  bool has_agency_model = false;  // "has_agency_model"
  bool is_cce = false;            // "is_cce"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct PurchaseOptions {
  std::string state;               // "state"
  bool requires_checkout = false;  // "requires_checkout"; true when absent from a present object
  std::string message;             // "message"
  std::string url;                 // "url"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct MemberProfile {
  AvailableEntitlement entitlement;  // "available_entitlement"
  PurchaseOptions options;           // "purchase_options"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_MEMBER_PROFILE_H_
