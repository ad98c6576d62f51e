#include "package/cache_file_name.h"

#include <array>
#include <cstdint>

#include "host/core/file_utils.h"
#include "host/core/guid.h"
#include "host/core/mix_hash.h"

namespace zorvcapsule {
namespace {

void PutBigEndian(uint32_t word, uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(word >> (8 * (3 - i)));
}

zorvcore::Guid GuidFromHash(const zorvcore::HashValue& hash) {
  std::array<uint8_t, 8> data4;
  PutBigEndian(hash.h2, data4.data());
  PutBigEndian(hash.n, data4.data() + 4);
  return zorvcore::Guid(hash.h0, static_cast<uint16_t>(hash.h1 >> 16),
                        static_cast<uint16_t>(hash.h1 & 0xFFFF), data4);
}

}  // namespace

std::u16string MakeCacheFileName(std::string_view tag, std::string_view sourceID,
                                 std::u16string_view templatePath, zorvcore::DateTime modified,
                                 std::u16string_view extension, std::u16string_view folder) {
  zorvcore::HashValue hash;
  zorvcore::MixHash(hash, tag.data(), tag.size());
  zorvcore::MixHash(hash, sourceID.data(), sourceID.size());
  zorvcore::MixHash(hash, templatePath.data(), templatePath.size() * sizeof(char16_t));
  zorvcore::MixHash(hash, &modified, sizeof(modified));
  return zorvcore::FileUtils::AddTrailingSlash(folder) + GuidFromHash(hash).AsString() +
         std::u16string(extension);
}

}  // namespace zorvcapsule
