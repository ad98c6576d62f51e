// NarrowToFloat: a JSON number (a double) as a single-precision float for the records that keep
// floats (colour components, font sizes).
//
// A double beyond the float range has no float value, and converting it would be undefined
// behaviour; it becomes the largest float of its sign instead, so that the record still writes a
// number that reads back. Within the range the nearest float is taken.
//
// Thread safety: a pure function; call it from any thread.

#ifndef ZORVCAPSULE_CAPSULE_NARROW_FLOAT_H_
#define ZORVCAPSULE_CAPSULE_NARROW_FLOAT_H_

#include <algorithm>
#include <limits>

namespace zorvcapsule::serialization {

inline float NarrowToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kMax, kMax));
}

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_NARROW_FLOAT_H_
