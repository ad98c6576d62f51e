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
// The gate is defined in this header so that a program using the shared library (the command-line
// host) can tell a person why a description was refused by the very gate that refused it.
//
// Thread safety: may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_
#define ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_

#include <locale.h>
#include <stdlib.h>

#include <string>
#include <string_view>

#include "host/core/status.h"

namespace zorvcapsule::serialization {

// The description format version this library writes and the newest one it reads (UTF-8).
inline constexpr std::string_view kCurrentAPIVersion = "1.4";

namespace api_version_gate {

inline constexpr std::string_view kVersionKey = "apiVersion";
inline constexpr size_t kVersionBytes = 3;

// The leading number of text as strtod reads it in the "C" locale: a host running in a locale with
// a decimal comma must not read "1.5" as 1.
inline float LeadingNumber(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (c_locale == locale_t{}) return static_cast<float>(strtod(text.c_str(), nullptr));
  return static_cast<float>(strtod_l(text.c_str(), nullptr, c_locale));
}

}  // namespace api_version_gate

// The gate's verdict on document: OK when it may be read; NotFound when it has no "apiVersion"
// bytes; NotSupported, with the version as read for its message ("2.0"), when that is newer.
inline zorvcore::Status CheckAPIVersion(std::string_view document) {
  using namespace api_version_gate;
  const size_t key = document.find(kVersionKey);
  if (key == std::string_view::npos) return zorvcore::Status::NotFound("no apiVersion");
  std::string version;
  const size_t quote = document.find('"', key + kVersionKey.size() + 1);
  if (quote != std::string_view::npos) version = document.substr(quote + 1, kVersionBytes);
  if (LeadingNumber(version) > LeadingNumber(std::string(kCurrentAPIVersion))) {
    return zorvcore::Status::NotSupported(version);
  }
  return zorvcore::Status::OK();
}

// False when document has no "apiVersion" bytes or names a version newer than the current one.
inline bool HasReadableAPIVersion(std::string_view document) {
  return CheckAPIVersion(document).ok();
}

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_API_VERSION_CHECK_H_
