// The version gate of a description document, applied to its raw text before it is parsed.
//
// A document written for a newer format than this library knows is refused without being parsed, so
// that a newer template never half-loads. The check reads the raw bytes: after the first occurrence
// of "apiVersion" it skips one byte (the key's closing quote), finds the next double quote and
// takes up to three bytes after it as the version ("1.40" reads as "1.4"). Their leading number is
// compared with the current version "1.4", both as single-precision floats; a version without a
// leading number reads as 0 and passes. Numbers are always read with a '.' decimal point, whatever
// the process locale.
//
// Thread safety: may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_
#define ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_

#include <string_view>

namespace zorvcapsule::serialization {

// The description format version this library writes and the newest one it reads (UTF-8).
inline constexpr std::string_view kCurrentAPIVersion = "1.4";

// False when document has no "apiVersion" bytes or names a version newer than the current one.
bool HasReadableAPIVersion(std::string_view document);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_
