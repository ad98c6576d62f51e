// Typed reads of members of a parsed JSON value tree, for the service responses, and the typed list
// writes every writer of the description shares. (The description itself is read from the parsed
// text with json_node.h, which holds the same rules for every member kind.)
//
// A member that is absent reads as std::nullopt (or nullptr), leaving the caller's default in
// place. A member that is present with another JSON type than asked for (JSON null included) throws
// zorvcore::serialization::BadCastError ("bad cast"), so that one wrong member rejects the whole
// response instead of being silently dropped. An integer may be written as either 64-bit integer
// kind (never as a double); a bool as a JSON bool or the texts "true" and "false". Lists written go
// through ConvertList (capsule/list_conversion.h), so their order is kept and long ones are shared
// out over the worker pool.
//
// Thread safety: every function may be called from any thread; the values read must not change
// meanwhile.

#ifndef ZORVCAPSULE_CAPSULE_JSON_MEMBERS_H_
#define ZORVCAPSULE_CAPSULE_JSON_MEMBERS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/json_value.h"

namespace zorvcapsule::serialization {

using zorvcore::serialization::JSONArray;
using zorvcore::serialization::JSONObject;
using zorvcore::serialization::JSONValuePtr;

// ---- Single values ------------------------------------------------------------------------

// Both throw BadCastError unless value holds that kind.
const JSONObject& ObjectFromJson(const JSONValuePtr& value);
const JSONArray& ArrayFromJson(const JSONValuePtr& value);

// Either 64-bit integer kind.
int64_t Int64FromJson(const JSONValuePtr& value);
// A JSON bool, or exactly the text "true" or "false".
bool BoolFromJson(const JSONValuePtr& value);
// A string, as UTF-8 bytes.
std::string UTF8FromJson(const JSONValuePtr& value);

// ---- Members ------------------------------------------------------------------------------

// The member's value pointer, or nullptr when object has no member named key. A member holding JSON
// null is present: its value pointer is returned.
const JSONValuePtr* FindMember(const JSONObject& object, std::string_view key);

std::optional<std::string> ReadUTF8Member(const JSONObject& object, std::string_view key);
std::optional<bool> ReadBoolMember(const JSONObject& object, std::string_view key);

// Nested containers; nullptr when absent. The pointers live as long as object does.
const JSONObject* ReadObjectMember(const JSONObject& object, std::string_view key);
const JSONArray* ReadArrayMember(const JSONObject& object, std::string_view key);

// ---- Lists out ----------------------------------------------------------------------------

JSONValuePtr UTF8ListToJson(const std::vector<std::string>& list);
JSONValuePtr UTF16ListToJson(const std::vector<std::u16string>& list);
JSONValuePtr NumberListToJson(const std::vector<double>& list);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_JSON_MEMBERS_H_
