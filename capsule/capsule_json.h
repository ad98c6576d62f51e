// Reading and writing "definition.json", the JSON description a template package carries.
//
// The document is one object. Older descriptions carry the name, the source info and the used fonts
// in one language ("capsuleName", "sourceInfo", "usedFonts"); newer ones per locale
// ("capsuleNameLocalized", "sourceInfoLocalized", "usedFontsLocalized"). The reader accepts both
// and reconciles them: a non-empty per-locale form wins, otherwise the single value becomes the
// entry of the application's language. The writer always writes the current format version "1.4",
// the single-language name and the per-locale forms, and every member even when empty.
//
// Thread safety: both functions may be called from any thread. A Capsule being written must not
// change meanwhile. Long lists are converted on the worker pool, which the call waits for.

#ifndef ZORVCAPSULE_CAPSULE_CAPSULE_JSON_H_
#define ZORVCAPSULE_CAPSULE_CAPSULE_JSON_H_

#include <memory>
#include <string>
#include <string_view>

#include "capsule/capsule.h"
#include "capsule/capsule_export.h"
#include "host/core/json_value.h"

namespace zorvcapsule::serialization {

// The record described by text (UTF-8 JSON).
//
// Returns an empty pointer, without parsing, when text has no "apiVersion" or names a newer format
// than this library knows. Throws zorvcore::serialization::BadCastError ("bad cast") when text is
// not a JSON object or a member holds another JSON type than its own, and boost::bad_rational when
// a source info holds a time with a zero or too large scale; no partly read record escapes.
//
// The record is read straight from the parsed document, without a value tree. A bad-cast error
// names the value it failed on (BadCastError::Pointer(), a JSON Pointer such as
// "/clientControls/3/value"): the first one of the wrong type in the reader's order, except that
// of a list long enough to be converted on the worker pool any failing element may be named. Text
// that does not parse names none; a root that is not an object is "".
ZORVCAPSULE_EXPORT std::shared_ptr<Capsule> CapsuleFromJson(std::string_view text);

// The same reading from an already parsed description (a value tree), after the version check.
std::shared_ptr<Capsule> CapsuleFromJsonValue(const zorvcore::serialization::JSONValuePtr& root);

// CapsuleFromJson for callers that do not need the controls, such as a catalogue entry: the same
// record without its controls, which are checked but not built. It returns an empty pointer and
// throws (the same error) exactly when CapsuleFromJson does, at a fraction of the cost.
std::shared_ptr<Capsule> CapsuleWithoutControlsFromJson(std::string_view text);

// The compact UTF-8 JSON text of capsule; an empty text when capsule is empty.
ZORVCAPSULE_EXPORT std::string CapsuleToJson(const std::shared_ptr<Capsule>& capsule);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_CAPSULE_JSON_H_
