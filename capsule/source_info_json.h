// The JSON object of a source info (hostbridge::SourceInfo): the media description of a template's
// source project, one per locale under "sourceInfoLocalized" and once under the older
// "sourceInfo" of a description.
//
// Every member is always written, in this order: "parentprojectfile", "name",
// "mediaproducerdescription", "id", "duration", "pixelaspectratio", "alphachanneltype",
// "framesize", "framerate", "pixelformatlist", "fieldtype", "nativefieldtype",
// "audiochannellayout", "audiosamplerate", "initialcontentstate", "hasaudio", "hasvideo",
// "currenttime", "workinpoint", "workoutpoint", "alphamattecolorr", "alphamattecolorg",
// "alphamattecolorb", "starttime", "isdropframe", "isxmpwritable", "inpoint", "outpoint",
// "ismedia", "supportsvideorenderingsessions", "appspecificsourceinfo", "capsuleparams",
// "farsideassetrequestinfo", "colorSpace", "hasFrozenUnstretchableRegions". The nested forms are
// in media_values_json.h, capsule_param_json.h, farside_request_json.h and color_space_json.h.
//
// Reading starts from a default SourceInfo. A missing "fieldtype" reads as 0 (progressive), while
// every other missing member keeps the record's default (a missing "nativefieldtype" stays
// unknown). "appspecificsourceinfo" is copied byte for byte, without any conversion; JSON text can
// only carry UTF-8, so bytes that are not well-formed UTF-8 come back as U+FFFD, as the JSON
// writer writes them.
//
// Errors: a value or member of another JSON type than its form throws
// zorvcore::serialization::BadCastError; a time with a zero or too large "scale" throws
// boost::bad_rational. Writing a capsule parameter that lacks a property of its type throws
// std::out_of_range (capsule_param_json.h); records the host makes always carry them.
//
// Thread safety: every function may be called from any thread; the values must not change
// meanwhile. Long lists are converted on the worker pool, which the call waits for.

#ifndef ZORVCAPSULE_CAPSULE_SOURCE_INFO_JSON_H_
#define ZORVCAPSULE_CAPSULE_SOURCE_INFO_JSON_H_

#include <functional>
#include <map>
#include <string>

#include "capsule/json_members.h"
#include "host/hostbridge/source_info.h"

namespace zorvcapsule::serialization {

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

JSONValuePtr SourceInfoToJsonValue(const hostbridge::SourceInfo& info);
hostbridge::SourceInfo SourceInfoFromJson(const JsonNode& value);
hostbridge::SourceInfo SourceInfoFromJsonValue(const JSONValuePtr& value);

// The per-locale form {"en_US": {source info}, "de_DE": {...}}: one member per entry, the locale
// as its key (UTF-16 in the map, UTF-8 in the text). Reading a locale twice keeps the later one.
using SourceInfoLocaleMap = std::map<std::u16string, hostbridge::SourceInfo, std::less<>>;
JSONValuePtr SourceInfoLocaleMapToJsonValue(const SourceInfoLocaleMap& infos);
SourceInfoLocaleMap SourceInfoLocaleMapFromJson(const JsonNode& value);
SourceInfoLocaleMap SourceInfoLocaleMapFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_SOURCE_INFO_JSON_H_
