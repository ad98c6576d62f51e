#include "host/mediatypes/color_profile.h"

#include "host/core/mix_hash.h"

namespace zorvmediatypes {

zorvcore::Guid ColorProfile::ToGuid() const {
  if (name_.empty() && data_.empty()) return zorvcore::Guid();
  // The name's length goes in first so that moving bytes between name and data changes the hash.
  zorvcore::HashValue hash;
  const uint64_t name_units = name_.size();
  zorvcore::MixHash(hash, &name_units, sizeof name_units);
  for (char16_t unit : name_) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)};
    zorvcore::MixHash(hash, bytes, sizeof bytes);
  }
  zorvcore::MixHash(hash, data_.data(), data_.size());
  // A non-empty profile must never collide with the empty profile's all-zero identifier.
  const uint32_t tail = hash.n | 1u;
  return zorvcore::Guid(hash.h0, static_cast<uint16_t>(hash.h1 >> 16),
                        static_cast<uint16_t>(hash.h1 & 0xFFFF),
                        {static_cast<uint8_t>(hash.h2 >> 24), static_cast<uint8_t>(hash.h2 >> 16),
                         static_cast<uint8_t>(hash.h2 >> 8), static_cast<uint8_t>(hash.h2),
                         static_cast<uint8_t>(tail >> 24), static_cast<uint8_t>(tail >> 16),
                         static_cast<uint8_t>(tail >> 8), static_cast<uint8_t>(tail)});
}

}  // namespace zorvmediatypes
