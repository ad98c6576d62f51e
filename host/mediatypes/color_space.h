// ColorSpace: the colour space media is authored in: a base colour profile, the kind of that
// profile, and whether values are linearized.
//
// The default (empty profile, profile type 0, not linearized) means "the host's working colour
// space"; descriptions record only what differs from it.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_MEDIATYPES_COLOR_SPACE_H_
#define ZORVCAPSULE_HOST_MEDIATYPES_COLOR_SPACE_H_

#include <cstdint>

#include "host/mediatypes/color_profile.h"

namespace zorvmediatypes {

struct ColorSpace {
  ColorProfile base_color_profile;
  uint32_t base_profile_type = 0;  // the host's profile-kind code; 0 is "unspecified"
  bool linearized = false;

  friend bool operator==(const ColorSpace&, const ColorSpace&) = default;
};

}  // namespace zorvmediatypes

#endif  // ZORVCAPSULE_HOST_MEDIATYPES_COLOR_SPACE_H_
