#include "stock/member_profile.h"

#include <optional>
#include <string_view>

#include "capsule/json_members.h"
#include "stock/stock_response.h"

namespace zorvcapsule {

using zorvcore::serialization::JSONObject;

namespace {

void ReadFlag(const JSONObject& object, std::string_view key, bool& flag) {
  if (std::optional<bool> value = serialization::ReadBoolMember(object, key)) flag = *value;
}

}  // namespace

void AvailableEntitlement::ReadFrom(const JSONObject& object) {
  ReadStockInt32(object, "quota", quota);
  ReadFlag(object, "has_credit_model", has_credit_model);
  ReadFlag(object, "has_agency_model", has_agency_model);
  ReadFlag(object, "is_cce", is_cce);
}

void PurchaseOptions::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "state", state);
  requires_checkout = true;
  ReadFlag(object, "requires_checkout", requires_checkout);
  ReadStockText(object, "message", message);
  ReadStockText(object, "url", url);
}

void MemberProfile::ReadFrom(const JSONObject& object) {
  if (const JSONObject* entitlementObject = serialization::ReadObjectMember(object, "available_entitlement")) {
    entitlement.ReadFrom(*entitlementObject);
  }
  if (const JSONObject* optionsObject = serialization::ReadObjectMember(object, "purchase_options")) {
    options.ReadFrom(*optionsObject);
  }
}

}  // namespace zorvcapsule
