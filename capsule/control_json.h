// The JSON object of a template control (capsule/client_control.h) inside the "clientControls"
// array of "definition.json".
//
// Common members, written for every control:
//   "type" (the kind's code, an unsigned integer), "id", "uiName", "uiSuffix", "uiToolTip" (the
//   UIString form of capsule/ui_string_json.h), "canAnimate", and "hidden": true only when hidden.
// Then the kind's own members:
//   1 checkbox     "value": bool
//   2 slider       "min", "max", "value": numbers
//   3 angle        "value": number
//   4 colour       "value": [red, green, blue, alpha]
//   5 point        "value": {"x": number, "y": number}
//   6 string       "fonteditinfo": font edit information (capsule/edit_info_json.h),
//                  "value": UIString
//   7 enum         "enumType": unsigned integer, "enumItmes": [UIString, ...],
//                  "value": signed integer
//   8 comment      "value": UIString
//   9 scale        "linked": bool, "dimensions": signed integer, "value": [number, ...]
//  10 group        "groupexpanded": bool, "value": [child id, ...] without the excluded child id
//  11 spreadsheet  "minRows", "maxRows": unsigned integers, "columnInfo": [column, ...], "value":
//                  the cells (capsule/spreadsheet_json.h)
//  12 drop zone    nothing more
//
// Reading: numbers are read from any JSON number kind; integers from either 64-bit integer kind,
// keeping the low 32 bits; bools from a JSON bool or the texts "true" and "false". An absent
// member keeps its default: 0, false, empty, except "groupexpanded" which defaults to true. Extra
// members are ignored.
//
// Decisions of this library:
// - An element whose "type" is absent, 0, 12 (a drop zone: it has nothing of its own to rebuild it
//   from) or a code this library does not know makes no control; ClientControlListFromJsonValue
//   drops it, so the controls list never holds an empty pointer. Such an element is still read as
//   far as its common members, so a common member of the wrong type rejects it all the same.
// - A colour "value" with fewer than four numbers gives 0 for each missing component (an absent
//   "value" is transparent black); numbers after the fourth are ignored. Nothing is read past the
//   array.
// - Writing skips empty pointers in the controls list.
//
// Errors: an element that is not an object, or a member of another JSON type than its form
// (a double where an integer belongs included), throws zorvcore::serialization::BadCastError. Lists
// go through ConvertList, so their order is kept and long ones are converted on the worker pool.
//
// Thread safety: every function may be called from any thread; the values and controls read must
// not change meanwhile.

#ifndef ZORVCAPSULE_CAPSULE_CONTROL_JSON_H_
#define ZORVCAPSULE_CAPSULE_CONTROL_JSON_H_

#include <memory>

#include "capsule/client_control.h"
#include "capsule/client_control_fwd.h"
#include "capsule/json_members.h"

namespace zorvcapsule::serialization {

JSONValuePtr ClientControlToJsonValue(const ClientControl& control);

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

// The control the object describes, or an empty pointer when it describes none (see above).
std::shared_ptr<ClientControl> ClientControlFromJson(const JsonNode& value);
std::shared_ptr<ClientControl> ClientControlFromJsonValue(const JSONValuePtr& value);

// The "clientControls" array, in list order.
JSONValuePtr ClientControlListToJsonValue(const ClientControlList& controls);
ClientControlList ClientControlListFromJson(const JsonNode& value);
// Reads the "clientControls" array as ClientControlListFromJson does, but keeps nothing: it throws
// exactly where reading would throw (a bad cast), at a fraction of the cost, for callers that need
// a description's validity and not its controls.
void CheckClientControlList(const JsonNode& value);
ClientControlList ClientControlListFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_CONTROL_JSON_H_
