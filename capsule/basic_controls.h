// The control kinds that are a value and little else: checkbox, slider, angle, colour, point,
// comment and scale (see capsule/client_control.h for what every control has).
//
// The constructors store what they are given without checking it: a slider's value outside its
// range is kept, as is a scale whose value has another number of factors than its dimensions.
//
// Thread safety: as ClientControl.

#ifndef ZORVCAPSULE_CAPSULE_BASIC_CONTROLS_H_
#define ZORVCAPSULE_CAPSULE_BASIC_CONTROLS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"

namespace zorvcapsule {

// Value: bool.
class ZORVCAPSULE_EXPORT CheckboxControl : public ClientControl {
 public:
  CheckboxControl(std::u16string id, UIString name, const ControlProperties& properties,
                  bool value);
  ~CheckboxControl() override;
};

// Value: double, nominally within [GetMin(), GetMax()].
class ZORVCAPSULE_EXPORT SliderControl : public ClientControl {
 public:
  SliderControl(std::u16string id, UIString name, const ControlProperties& properties, double min,
                double max, double value);
  ~SliderControl() override;

  double GetMin() const { return min_; }
  double GetMax() const { return max_; }

 private:
  double min_;
  double max_;
};

// Value: double, in degrees.
class ZORVCAPSULE_EXPORT AngleControl : public ClientControl {
 public:
  AngleControl(std::u16string id, UIString name, const ControlProperties& properties, double value);
  ~AngleControl() override;
};

// Value: zorvdrawing::ColorRGBA.
class ZORVCAPSULE_EXPORT ColorControl : public ClientControl {
 public:
  ColorControl(std::u16string id, UIString name, const ControlProperties& properties,
               zorvdrawing::ColorRGBA value);
  ~ColorControl() override;
};

// Value: ControlPoint.
class ZORVCAPSULE_EXPORT Point2DControl : public ClientControl {
 public:
  Point2DControl(std::u16string id, UIString name, const ControlProperties& properties,
                 ControlPoint value);
  ~Point2DControl() override;
};

// A text shown to the user, not edited by them. Value: UIString.
class ZORVCAPSULE_EXPORT CommentControl : public ClientControl {
 public:
  CommentControl(std::u16string id, UIString name, const ControlProperties& properties,
                 UIString value);
  ~CommentControl() override;
};

// Value: std::vector<double>, one factor per dimension.
class ZORVCAPSULE_EXPORT ScaleControl : public ClientControl {
 public:
  ScaleControl(std::u16string id, UIString name, const ControlProperties& properties, bool linked,
               int32_t dimensions, std::vector<double> value);
  ~ScaleControl() override;

  // Whether changing one factor changes the others in proportion.
  bool IsLinked() const { return linked_; }
  // The number of factors (2 for width and height, 3 with depth).
  int32_t GetDimensions() const { return dimensions_; }

 private:
  bool linked_;
  int32_t dimensions_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_BASIC_CONTROLS_H_
