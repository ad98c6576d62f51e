// The JSON form of a UIString, shared by the template name and by the names and texts of controls:
//
//   {"strDB": [{"localeString": "en_US", "str": "Title"}, ...]}
//
// one LocStrPair object per locale, in ascending locale order. Reading puts the pairs into the map
// in array order, so of two pairs with the same locale the later one wins; a pair without
// "localeString" belongs to "en_US", one without "str" has an empty text, and an object without
// "strDB" is a UIString without any locale. A UIString or pair that is not a JSON object, or a
// member of another JSON type, throws zorvcore::serialization::BadCastError.
//
// The readers take a JsonNode (json_node.h), of a value tree or of a simdjson document; the forms
// taking a tree value read it through one.
//
// Thread safety: every function may be called from any thread; the values read must not change
// meanwhile.

#ifndef ZORVCAPSULE_CAPSULE_UI_STRING_JSON_H_
#define ZORVCAPSULE_CAPSULE_UI_STRING_JSON_H_

#include <optional>
#include <string_view>

#include "capsule/json_members.h"
#include "capsule/ui_string.h"

namespace zorvcapsule::serialization {

class JsonNode;

LocStrPair LocStrPairFromJson(const JsonNode& value);
LocStrPair LocStrPairFromJson(const JSONValuePtr& value);
JSONValuePtr LocStrPairToJson(const LocStrPair& pair);

UIString UIStringFromJson(const JsonNode& value);
UIString UIStringFromJson(const JSONValuePtr& value);
JSONValuePtr UIStringToJson(const UIString& text);

// The member named key in UIString form, or std::nullopt when absent.
std::optional<UIString> ReadUIStringMember(const JsonNode& object, std::string_view key);
std::optional<UIString> ReadUIStringMember(const JSONObject& object, std::string_view key);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_UI_STRING_JSON_H_
