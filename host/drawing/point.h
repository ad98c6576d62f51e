// PointT: a position in a two-dimensional plane, x growing to the right and y downwards, in
// whatever unit its user works in (pixels of a frame, for template controls).
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_DRAWING_POINT_H_
#define ZORVCAPSULE_HOST_DRAWING_POINT_H_

namespace zorvdrawing::geom {

template <typename T>
struct PointT {
  T x{};
  T y{};

  friend bool operator==(const PointT&, const PointT&) = default;
};

}  // namespace zorvdrawing::geom

#endif  // ZORVCAPSULE_HOST_DRAWING_POINT_H_
