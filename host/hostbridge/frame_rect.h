// FrameRect: the rectangle a source's frames occupy, in whole pixels: its top-left corner and its
// size (width as x, height as y).
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_FRAME_RECT_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_FRAME_RECT_H_

#include <cstdint>

namespace hostbridge {

struct FramePoint {
  int32_t x = 0;
  int32_t y = 0;

  friend constexpr bool operator==(const FramePoint&, const FramePoint&) = default;
};

struct FrameRect {
  FramePoint top_left;
  FramePoint size;

  friend constexpr bool operator==(const FrameRect&, const FrameRect&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_FRAME_RECT_H_
