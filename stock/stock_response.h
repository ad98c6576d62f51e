// ParseStockResponse: the one reader of every JSON reply the stock and identity services send.
//
// The payload is parsed as UTF-8 JSON. A root object with a member "SerializerWrappedObject" stands
// for that member's value (some service fronts wrap their replies so). The root is then read into
// the caller's record by the record's own reader, `void ReadFrom(const JSONObject&)`, which takes
// what is present and leaves absent members at the record's defaults; arrays of records go through
// serialization::ConvertList, so their order is kept.
//
// Errors are exceptions, for the operation's boundary to catch and report:
// - std::runtime_error("JSON not well-formed") when the payload is not one JSON value (an empty
//   payload included);
// - zorvcore::serialization::BadCastError when the root, or any value read as a record, is not a
//   JSON object, or a member holds another JSON type than its record expects (JSON null included).
// A record's reader fills a fresh record and assigns it only once the whole read succeeded, so the
// caller's record is never left half-filled.
//
// Thread safety: reentrant; a record being read must not be used by another thread meanwhile.

#ifndef ZORVCAPSULE_STOCK_STOCK_RESPONSE_H_
#define ZORVCAPSULE_STOCK_STOCK_RESPONSE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "capsule/json_members.h"
#include "capsule/list_conversion.h"
#include "host/core/immutable_string.h"
#include "host/core/json_value.h"

namespace zorvcapsule {

inline constexpr const char* kStockWrappedObjectMember = "SerializerWrappedObject";
inline constexpr const char* kStockMalformedJSONText = "JSON not well-formed";

// The unwrapped root value; see above.
zorvcore::serialization::JSONValuePtr ParseStockResponseRoot(std::string_view payload);

// REQUIRES: Record is default-constructible and has ReadFrom(const JSONObject&).
template <typename Record>
void ParseStockResponse(std::string_view payload, Record& record) {
  const zorvcore::serialization::JSONValuePtr root = ParseStockResponseRoot(payload);
  Record fresh;
  fresh.ReadFrom(serialization::ObjectFromJson(root));
  record = std::move(fresh);
}

// Member readers for the records' ReadFrom: each leaves its output alone when the member is absent
// and throws BadCastError when it holds another JSON type.
void ReadStockText(const zorvcore::serialization::JSONObject& object, std::string_view key,
                   std::string& text);
void ReadStockText(const zorvcore::serialization::JSONObject& object, std::string_view key,
                   zorvcore::ImmutableString& text);
// An integer as 32 bits; a value beyond that range is clamped to it rather than wrapped, so a huge
// count stays huge and a huge size never turns negative.
void ReadStockInt32(const zorvcore::serialization::JSONObject& object, std::string_view key,
                    int32_t& number);

// Reads `value` as a record of type Record: the element reader of a list of records.
template <typename Record>
Record StockRecordFromJson(const zorvcore::serialization::JSONValuePtr& value) {
  Record record;
  record.ReadFrom(serialization::ObjectFromJson(value));
  return record;
}

// An array of records, in order.
template <typename Record>
void ReadStockRecords(const zorvcore::serialization::JSONObject& object, std::string_view key,
                      std::vector<Record>& records) {
  if (const auto* array = serialization::ReadArrayMember(object, key)) {
    records = serialization::ConvertList<Record>(*array, StockRecordFromJson<Record>);
  }
}

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_RESPONSE_H_
