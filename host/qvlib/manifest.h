// The manifest of a library ("library.json") or element ("element.json"): a small JSON object whose
// "name" member is the display name.
//
// A manifest is well-formed when it is a regular file of at most kMaxManifestBytes holding one JSON
// object whose "name" member, when present, is a string. Anything else (unreadable, not JSON, another
// kind of value, a "name" of another type) is malformed and counts as no manifest at all.
//
// Thread safety: any thread.

#ifndef ZORVCAPSULE_HOST_QVLIB_MANIFEST_H_
#define ZORVCAPSULE_HOST_QVLIB_MANIFEST_H_

#include <cstddef>
#include <optional>
#include <string>

namespace zorvqvlib {

// Far beyond any real manifest, small enough that a stray large file costs nothing.
inline constexpr size_t kMaxManifestBytes = 64 * 1024;

// The name a well-formed manifest gives, empty when it gives none; nullopt when there is no
// well-formed manifest at `resolvedPath`.
// REQUIRES: resolvedPath has no links (a link there counts as no manifest).
std::optional<std::string> ReadManifestName(const std::string& resolvedPath);

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_MANIFEST_H_
