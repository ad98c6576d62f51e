#include "tools/stock_serve_members.h"

#include <algorithm>
#include <cstring>

#include "host/core/file.h"
#include "host/storage/zip_file.h"
#include "package/package_names.h"

namespace capsuletool {
namespace {

struct MemberKind {
  ServedMember member;
  std::string_view stem;
  std::string_view extension;
  bool localized;  // whether "<stem>_<locale><extension>" is looked for first
  const char* type;
};

constexpr MemberKind kKinds[] = {
    {ServedMember::kDescription, zorvcapsule::kDescriptionMember, "", false, "application/json"},
    {ServedMember::kStillThumbnail, zorvcapsule::kThumbStem, zorvcapsule::kStillThumbExtension, true, "image/png"},
    {ServedMember::kVideoThumbnail, zorvcapsule::kThumbStem, zorvcapsule::kVideoThumbExtension, true, "video/mp4"},
};

std::string NameOf(const MemberKind& kind) { return zorvcapsule::PlainMemberName(kind.stem, kind.extension); }

const MemberKind& KindOf(ServedMember member) {
  for (const MemberKind& kind : kKinds) {
    if (kind.member == member) return kind;
  }
  return kKinds[0];
}

std::shared_ptr<const zorvstorage::RecycledMemory> NonEmpty(const zorvstorage::ZipFile& package,
                                                            const std::string& name) {
  auto bytes = package.UnzipItem(name);
  return bytes && bytes->Size() > 0 ? bytes : nullptr;
}

uint32_t BigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

}  // namespace

std::string ServedMemberName(ServedMember member) { return NameOf(KindOf(member)); }

std::optional<ServedMember> ServedMemberNamed(const std::string& name) {
  for (const MemberKind& kind : kKinds) {
    if (name == NameOf(kind)) return kind.member;
  }
  return std::nullopt;
}

const char* ServedMemberType(ServedMember member) { return KindOf(member).type; }

std::string SafeLocale(const std::string& text) {
  const bool safe = text.size() <= 16 && std::all_of(text.begin(), text.end(), [](char c) {
                      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                             c == '-';
                    });
  return safe ? text : std::string();
}

std::shared_ptr<const zorvstorage::RecycledMemory> ReadServedMember(const std::u16string& packagePath,
                                                                    ServedMember member, const std::string& locale) {
  const MemberKind& kind = KindOf(member);
  const zorvstorage::ZipFile package{zorvcore::File(packagePath), std::string()};
  if (kind.localized && !locale.empty()) {
    const std::string name = zorvcapsule::LocalizedMemberName(kind.stem, locale, kind.extension);
    if (auto localized = NonEmpty(package, name)) return localized;
  }
  return NonEmpty(package, NameOf(kind));
}

std::optional<std::pair<int32_t, int32_t>> PngSize(const zorvstorage::RecycledMemory& png) {
  // The signature, then the IHDR chunk: length, type, width, height.
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.Size() < 24 || std::memcmp(png.Buffer(), kSignature, sizeof(kSignature)) != 0 ||
      std::memcmp(png.Buffer() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  const uint32_t width = BigEndian32(png.Buffer() + 16);
  const uint32_t height = BigEndian32(png.Buffer() + 20);
  if (width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  return std::make_pair(static_cast<int32_t>(width), static_cast<int32_t>(height));
}

}  // namespace capsuletool
