// ColorRGBA: a colour with straight (not premultiplied) alpha, each component a single-precision
// float, nominally 0 to 1. Values outside that range are kept as they are: over-bright and
// wide-gamut colours are legitimate in compositing.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_DRAWING_COLOR_RGBA_H_
#define ZORVCAPSULE_HOST_DRAWING_COLOR_RGBA_H_

namespace zorvdrawing {

struct ColorRGBA {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float alpha = 0.0f;

  friend bool operator==(const ColorRGBA&, const ColorRGBA&) = default;
};

}  // namespace zorvdrawing

#endif  // ZORVCAPSULE_HOST_DRAWING_COLOR_RGBA_H_
