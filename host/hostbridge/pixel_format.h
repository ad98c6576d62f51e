// PixelFormat: one pixel layout a source can deliver frames in: its four-character code and the
// host's property flags for it (both opaque codes of the host).
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_PIXEL_FORMAT_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_PIXEL_FORMAT_H_

#include <cstdint>

namespace hostbridge {

struct PixelFormat {
  uint32_t fourcc = 0;
  uint32_t properties = 0;

  friend constexpr bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_PIXEL_FORMAT_H_
