// ColorProfile: a colour profile as the host keeps it, a display name and the profile's bytes.
//
// Profiles are told apart by ToGuid, an identifier derived from the name and the bytes: two
// profiles with the same name and bytes have the same identifier in every run, and the
// default-constructed (empty) profile has the all-zero identifier.
//
// Thread safety: a plain value; distinct values may be used from any thread, and a value nobody
// changes may be read from several threads at once.

#ifndef ZORVCAPSULE_HOST_MEDIATYPES_COLOR_PROFILE_H_
#define ZORVCAPSULE_HOST_MEDIATYPES_COLOR_PROFILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/guid.h"

namespace zorvmediatypes {

class ColorProfile {
 public:
  ColorProfile() = default;
  ColorProfile(std::u16string name, std::vector<uint8_t> data)
      : name_(std::move(name)), data_(std::move(data)) {}

  const std::u16string& Name() const { return name_; }
  const std::vector<uint8_t>& Data() const { return data_; }

  zorvcore::Guid ToGuid() const;

  friend bool operator==(const ColorProfile&, const ColorProfile&) = default;

 private:
  std::u16string name_;
  std::vector<uint8_t> data_;
};

}  // namespace zorvmediatypes

#endif  // ZORVCAPSULE_HOST_MEDIATYPES_COLOR_PROFILE_H_
