// The JSON object of a template's parameter list, {"capParams": [parameter, ...]}, and of one
// parameter:
//
//   {"capPropMatchName": "title", "capPropUIName": "Title", "capPropAnimatable": false,
//    "capPropType": 0, ...members of the type}
//
// with, by type: text (0) "capPropDefault" string and "capPropFontEditInfo" font edit object;
// slider (1) "capPropDefault", "capPropMin", "capPropMax" numbers and "capPropDecimals"; checkbox
// (2) a bool; colour (3), point (6) arrays of numbers; string (4) a string; angle (5) a number;
// scale (7) an array of numbers, "capPropLinked", "capPropDimensions"; group (8) an array of child
// ids and "capPropGroupExpanded"; spreadsheet (9) a spreadsheet value, "capPropSpreadsheetMinRows",
// "capPropSpreadsheetMaxRows" and "capPropSpreadsheetColumnInfo" (capsule/spreadsheet_json.h).
// A parameter of any other type has only the four common members.
//
// Writing reads the properties hostbridge::CapsuleParam documents for the parameter's type; one
// that is missing throws std::out_of_range ("invalid map<K, T> key").
// REQUIRES: each property present holds the alternative documented for it.
//
// Reading sets every property the writer needs, taking a member's default when it is absent (empty
// texts and lists, 0, false, a group expanded), so that whatever was read can be written again. A
// text parameter also takes the flat "capPropFontEdit", "capPropFontSizeEdit" and
// "capPropFontFauxStyleEdit" flags of older descriptions; "capPropFontEditInfo", when present,
// is applied over them. A member of another JSON type throws
// zorvcore::serialization::BadCastError.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_CAPSULE_PARAM_JSON_H_
#define ZORVCAPSULE_CAPSULE_CAPSULE_PARAM_JSON_H_

#include "capsule/json_members.h"
#include "host/hostbridge/capsule_param.h"
#include "host/hostbridge/capsule_param_list.h"

namespace zorvcapsule::serialization {

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

JSONValuePtr CapsuleParamToJsonValue(const hostbridge::CapsuleParam& param);
hostbridge::CapsuleParam CapsuleParamFromJson(const JsonNode& value);
hostbridge::CapsuleParam CapsuleParamFromJsonValue(const JSONValuePtr& value);

JSONValuePtr CapsuleParamListToJsonValue(const hostbridge::CapsuleParamList& list);
hostbridge::CapsuleParamList CapsuleParamListFromJson(const JsonNode& value);
hostbridge::CapsuleParamList CapsuleParamListFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_CAPSULE_PARAM_JSON_H_
