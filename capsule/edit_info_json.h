// The JSON forms of what a user may edit about a template's texts and spreadsheets, and the
// exported functions that hand them to the host as stand-alone JSON text.
//
// Font edit information, all nine members always written:
//   {"capPropFontEdit": true, "fontEditValue": "Serif", "capPropFontSizeEdit": true,
//    "fontSizeEditValue": 12.0, "capPropFontFauxStyleEdit": false, "fontFSBoldValue": false,
//    "fontFSItalicValue": false, "fontFSAllCapsValue": false, "fontFSSmallCapsValue": false}
// A reader starts from the default record and sets only the members present.
//
// Text edit information: {"textEditValue": "Hello", "fonteditinfo": {font edit information}}.
//
// The spreadsheet column forms are in capsule/spreadsheet_json.h.
//
// Errors: a reader given a value of another JSON type than its form (for the text functions: a text
// that does not parse to that type), or meeting a member of another JSON type, throws
// zorvcore::serialization::BadCastError ("bad cast").
//
// Thread safety: every function may be called from any thread; the values must not change
// meanwhile.

#ifndef ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_H_
#define ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_H_

#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/json_members.h"
#include "capsule/spreadsheet_column_info_loc.h"
#include "host/hostbridge/source_text_font_edit_info.h"
#include "host/hostbridge/text_edit_info.h"

namespace zorvcapsule::serialization {

// ---- Values inside a description ------------------------------------------------------------

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

JSONValuePtr SourceTextFontEditInfoToJsonValue(const hostbridge::SourceTextFontEditInfo& info);
hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJson(const JsonNode& value);
hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJsonValue(const JSONValuePtr& value);

// Sets the fields of info whose members object holds, leaving the others as they are.
// REQUIRES: object holds an object.
void ReadSourceTextFontEditMembers(const JsonNode& object,
                                   hostbridge::SourceTextFontEditInfo& info);

// Sets only the three "may edit" flags ("capPropFontEdit", "capPropFontSizeEdit",
// "capPropFontFauxStyleEdit") that object holds: the flat form older text parameters carry.
// REQUIRES: object holds an object.
void ReadSourceTextFontEditFlags(const JsonNode& object,
                                 hostbridge::SourceTextFontEditInfo& info);

JSONValuePtr TextEditInfoToJsonValue(const hostbridge::TextEditInfo& info);
hostbridge::TextEditInfo TextEditInfoFromJsonValue(const JSONValuePtr& value);

// ---- Stand-alone text for the host ----------------------------------------------------------
// The writers give compact UTF-16 JSON text; the readers parse UTF-16 JSON text.

ZORVCAPSULE_EXPORT std::u16string SourceTextFontEditInfoToJson(
    const hostbridge::SourceTextFontEditInfo& info);
ZORVCAPSULE_EXPORT hostbridge::SourceTextFontEditInfo SourceTextFontEditInfoFromJson(
    const std::u16string& text);

ZORVCAPSULE_EXPORT std::u16string TextEditInfoToJson(const hostbridge::TextEditInfo& info);
ZORVCAPSULE_EXPORT hostbridge::TextEditInfo TextEditInfoFromJson(const std::u16string& text);

// An array of column objects.
ZORVCAPSULE_EXPORT std::u16string SpreadsheetColInfoLocVecToJson(
    const std::vector<SpreadsheetColumnInfoLoc>& columns);
ZORVCAPSULE_EXPORT std::vector<SpreadsheetColumnInfoLoc> SpreadsheetColInfoLocVecFromJson(
    const std::u16string& text);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_H_
