// Typed reads of object members and typed list writes, shared by every reader and writer of the
// description document and of the service responses.
//
// A member that is absent reads as std::nullopt (or nullptr), leaving the caller's default in
// place. A member that is present with another JSON type than asked for (JSON null included) throws
// zorvcore::serialization::BadCastError ("bad cast"), so that one wrong member rejects the whole
// document instead of being silently dropped. Lists go through ConvertList
// (capsule/list_conversion.h), so their order is kept and long ones are shared out over the worker
// pool.
//
// The value encodings are the document's: a number may be written as any JSON number kind; an
// integer as either 64-bit integer kind (never as a double); a bool as a JSON bool or the texts
// "true" and "false".
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

// Any number kind as a double.
double NumberFromJson(const JSONValuePtr& value);
// Either 64-bit integer kind; the 32-bit forms keep the low 32 bits.
int64_t Int64FromJson(const JSONValuePtr& value);
uint64_t UInt64FromJson(const JSONValuePtr& value);
int32_t Int32FromJson(const JSONValuePtr& value);
uint32_t UInt32FromJson(const JSONValuePtr& value);
// A JSON bool, or exactly the text "true" or "false".
bool BoolFromJson(const JSONValuePtr& value);
// A string, as UTF-8 bytes or as UTF-16.
std::string UTF8FromJson(const JSONValuePtr& value);
std::u16string UTF16FromJson(const JSONValuePtr& value);

// ---- Members ------------------------------------------------------------------------------

// The member's value pointer, or nullptr when object has no member named key. A member holding JSON
// null is present: its value pointer is returned.
const JSONValuePtr* FindMember(const JSONObject& object, std::string_view key);

std::optional<std::string> ReadUTF8Member(const JSONObject& object, std::string_view key);
std::optional<std::u16string> ReadUTF16Member(const JSONObject& object, std::string_view key);
std::optional<double> ReadNumberMember(const JSONObject& object, std::string_view key);
std::optional<int64_t> ReadInt64Member(const JSONObject& object, std::string_view key);
std::optional<uint64_t> ReadUInt64Member(const JSONObject& object, std::string_view key);
std::optional<int32_t> ReadInt32Member(const JSONObject& object, std::string_view key);
std::optional<uint32_t> ReadUInt32Member(const JSONObject& object, std::string_view key);
std::optional<bool> ReadBoolMember(const JSONObject& object, std::string_view key);

// Nested containers; nullptr when absent. The pointers live as long as object does.
const JSONObject* ReadObjectMember(const JSONObject& object, std::string_view key);
const JSONArray* ReadArrayMember(const JSONObject& object, std::string_view key);

// Lists of strings (narrow text, copied byte for byte, or wide text) and of numbers.
std::optional<std::vector<std::string>> ReadUTF8ListMember(const JSONObject& object,
                                                           std::string_view key);
std::optional<std::vector<std::u16string>> ReadUTF16ListMember(const JSONObject& object,
                                                               std::string_view key);
std::optional<std::vector<double>> ReadNumberListMember(const JSONObject& object,
                                                        std::string_view key);

// ---- Lists out ----------------------------------------------------------------------------

JSONValuePtr UTF8ListToJson(const std::vector<std::string>& list);
JSONValuePtr UTF16ListToJson(const std::vector<std::u16string>& list);
JSONValuePtr NumberListToJson(const std::vector<double>& list);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_JSON_MEMBERS_H_
