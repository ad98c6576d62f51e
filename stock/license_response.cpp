#include "stock/license_response.h"

#include "capsule/json_members.h"
#include "stock/stock_response.h"

namespace zorvcapsule {

using zorvcore::serialization::JSONObject;

void PurchaseDetails::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "state", state);
  ReadStockText(object, "license", license);
  ReadStockText(object, "date", date);
  ReadStockText(object, "url", url);
  ReadStockText(object, "content_type", content_type);
  ReadStockInt32(object, "width", width);
  ReadStockInt32(object, "height", height);
  ReadStockInt32(object, "duration", duration);
}

void LicenseContent::ReadFrom(const JSONObject& object) {
  ReadStockText(object, "content_id", content_id);
  ReadStockText(object, "size", size);
  if (const JSONObject* details = serialization::ReadObjectMember(object, "purchase_details")) {
    purchase_details.ReadFrom(*details);
  }
}

void LicenseResponse::ReadFrom(const JSONObject& object) {
  const JSONObject* members = serialization::ReadObjectMember(object, "contents");
  if (members == nullptr) return;
  for (const auto& [name, value] : *members) contents[name] = StockRecordFromJson<LicenseContent>(value);
}

}  // namespace zorvcapsule
