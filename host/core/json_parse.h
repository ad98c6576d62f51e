// Parsing JSON text into the host's value model (host/core/json_value.h).
//
// Every overload returns the root value, or an empty pointer when the text is not one complete
// JSON value: a syntax error, trailing non-space text, invalid UTF-8, an invalid escape (a lone
// surrogate such as "\ud800" included), a number outside the 64-bit integer or double range,
// nesting deeper than 1024 levels (a value inside the innermost container counts as a level),
// or a document too large to hold. Any root kind is returned; callers that need an object check
// for one.
//
// Numbers: an integer that fits a signed 64-bit value is held as int64_t, a larger non-negative
// one as uint64_t, anything with a fraction or exponent as double. When a key occurs twice in an
// object, the later member wins.
//
// The values of one document are allocated together: a value kept after the rest of its document
// is released keeps the document's value records (about 64 bytes a value, not their strings or
// containers) allocated until it goes too.
//
// Thread safety: every overload may be called from any thread at any time.

#ifndef ZORVCAPSULE_HOST_CORE_JSON_PARSE_H_
#define ZORVCAPSULE_HOST_CORE_JSON_PARSE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "host/core/json_value.h"

namespace zorvcore::serialization {

// UTF-16 text. Unpaired surrogates in the text become U+FFFD before parsing.
JSONValuePtr JSONParse(std::u16string_view text);

// UTF-8 text.
JSONValuePtr JSONParse(std::string_view text);
JSONValuePtr JSONParse(const std::string& text);

// UTF-8 bytes. A null pointer reads as empty text (and so gives an empty pointer).
JSONValuePtr JSONParse(const char* bytes, size_t length);

// NUL-terminated UTF-8 bytes.
JSONValuePtr JSONParse(const char* text);

}  // namespace zorvcore::serialization

#endif  // ZORVCAPSULE_HOST_CORE_JSON_PARSE_H_
