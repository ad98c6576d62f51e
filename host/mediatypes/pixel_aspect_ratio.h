// PixelAspectRatio: the width of one pixel relative to its height, as a fraction.
//
// The fraction is kept as given (6/4 stays 6/4): media files record it in their own terms and the
// host writes it back unchanged. The default is square pixels, 1/1.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_MEDIATYPES_PIXEL_ASPECT_RATIO_H_
#define ZORVCAPSULE_HOST_MEDIATYPES_PIXEL_ASPECT_RATIO_H_

#include <cstdint>

namespace zorvmediatypes {

struct PixelAspectRatio {
  uint32_t numerator = 1;
  uint32_t denominator = 1;

  friend constexpr bool operator==(const PixelAspectRatio&, const PixelAspectRatio&) = default;
};

}  // namespace zorvmediatypes

#endif  // ZORVCAPSULE_HOST_MEDIATYPES_PIXEL_ASPECT_RATIO_H_
