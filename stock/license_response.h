// LicenseResponse: the service's answer to a licence purchase.
//
// Read with ParseStockResponse. The object member "contents" holds one member per licensed content,
// kept in byte order of their names; the download takes the first one's purchase URL. Absent texts
// are empty and absent numbers 0.
//
// Thread safety: plain records.

#ifndef ZORVCAPSULE_STOCK_LICENSE_RESPONSE_H_
#define ZORVCAPSULE_STOCK_LICENSE_RESPONSE_H_

#include <cstdint>
#include <map>
#include <string>

#include "host/core/immutable_string.h"
#include "host/core/json_value.h"

namespace zorvcapsule {

struct PurchaseDetails {
  std::string state;                      // "state"
  std::string license;                    // "license"
  std::string date;                       // "date"
  zorvcore::ImmutableString url;          // "url"
  zorvcore::ImmutableString content_type; // "content_type"
  int32_t width = 0;                      // "width"
  int32_t height = 0;                     // "height"
  int32_t duration = 0;                   // "duration"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct LicenseContent {
  std::string content_id;            // "content_id"
  std::string size;                  // "size"
  PurchaseDetails purchase_details;  // "purchase_details"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct LicenseResponse {
  std::map<std::string, LicenseContent> contents;  // "contents", by member name

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_LICENSE_RESPONSE_H_
