// The JSON object of a source's colour space. Only what differs from the default colour space is
// written, so the working space is {}:
//
//   {"baseColorProfile": {"colorProfileName": "Wide", "colorProfileData": "<base64 bytes>"},
//    "baseProfileType": 2, "colorSpaceLinearized": true}
//
// "baseColorProfile" appears when the profile's identifier (ColorProfile::ToGuid) differs from the
// empty profile's, and holds only the parts that are not empty; "baseProfileType" when it is not
// 0; "colorSpaceLinearized" when true. The reader sets what is present over the default.
//
// Errors: a member of another JSON type, or profile data that is not base64 text, throws
// zorvcore::serialization::BadCastError; a damaged profile is refused rather than read as none.
//
// Thread safety: both functions may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_COLOR_SPACE_JSON_H_
#define ZORVCAPSULE_CAPSULE_COLOR_SPACE_JSON_H_

#include "capsule/json_members.h"
#include "host/mediatypes/color_space.h"

namespace zorvcapsule::serialization {

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

JSONValuePtr ColorSpaceToJsonValue(const zorvmediatypes::ColorSpace& space);
zorvmediatypes::ColorSpace ColorSpaceFromJson(const JsonNode& value);
zorvmediatypes::ColorSpace ColorSpaceFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_COLOR_SPACE_JSON_H_
