// The members of a template package that `capsule stock serve` hands out as the service's files:
// the description, the still thumbnail and the video thumbnail (the stock preview video). The
// thumbnails are chosen as the library chooses them (package/capsule_zip.h): "thumb_<locale>" before
// the plain "thumb", a member of zero bytes counting as missing.
//
// Thread safety: every call opens the package anew; calls may run on any threads at once.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_MEMBERS_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_MEMBERS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "host/storage/recycled_memory.h"

namespace capsuletool {

enum class ServedMember {
  kDescription,     // "definition.json"
  kStillThumbnail,  // "thumb_<locale>.png", "thumb.png"
  kVideoThumbnail,  // "thumb_<locale>.mp4", "thumb.mp4"
};

// The member's name in served addresses ("definition.json", "thumb.png", "thumb.mp4").
std::string ServedMemberName(ServedMember member);
// The member a served name stands for; nullopt for any other name.
std::optional<ServedMember> ServedMemberNamed(const std::string& name);
// Its content type.
const char* ServedMemberType(ServedMember member);

// `text` when it may be a language code in a member name and an address ("en_US": letters, digits,
// "_" and "-", at most 16), else empty.
std::string SafeLocale(const std::string& text);

// The member's bytes from the package at `packagePath`; null when the package has no such member.
// `locale` ("en_US", possibly empty) picks a localized thumbnail.
std::shared_ptr<const zorvstorage::RecycledMemory> ReadServedMember(const std::u16string& packagePath,
                                                                    ServedMember member, const std::string& locale);

// The width and height a PNG image declares; nullopt for bytes that are no PNG.
std::optional<std::pair<int32_t, int32_t>> PngSize(const zorvstorage::RecycledMemory& png);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_MEMBERS_H_
