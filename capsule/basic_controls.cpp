#include "capsule/basic_controls.h"

#include <utility>

namespace zorvcapsule {

CheckboxControl::CheckboxControl(std::u16string id, UIString name,
                                 const ControlProperties& properties, bool value)
    : ClientControl(kCheckboxControlType, std::move(id), std::move(name), properties, value) {}
CheckboxControl::~CheckboxControl() = default;

SliderControl::SliderControl(std::u16string id, UIString name, const ControlProperties& properties,
                             double min, double max, double value)
    : ClientControl(kSliderControlType, std::move(id), std::move(name), properties, value),
      min_(min),
      max_(max) {}
SliderControl::~SliderControl() = default;

AngleControl::AngleControl(std::u16string id, UIString name, const ControlProperties& properties,
                           double value)
    : ClientControl(kAngleControlType, std::move(id), std::move(name), properties, value) {}
AngleControl::~AngleControl() = default;

ColorControl::ColorControl(std::u16string id, UIString name, const ControlProperties& properties,
                           zorvdrawing::ColorRGBA value)
    : ClientControl(kColorControlType, std::move(id), std::move(name), properties, value) {}
ColorControl::~ColorControl() = default;

Point2DControl::Point2DControl(std::u16string id, UIString name,
                               const ControlProperties& properties, ControlPoint value)
    : ClientControl(kPoint2DControlType, std::move(id), std::move(name), properties, value) {}
Point2DControl::~Point2DControl() = default;

CommentControl::CommentControl(std::u16string id, UIString name,
                               const ControlProperties& properties, UIString value)
    : ClientControl(kCommentControlType, std::move(id), std::move(name), properties,
                    std::move(value)) {}
CommentControl::~CommentControl() = default;

ScaleControl::ScaleControl(std::u16string id, UIString name, const ControlProperties& properties,
                           bool linked, int32_t dimensions, std::vector<double> value)
    : ClientControl(kScaleControlType, std::move(id), std::move(name), properties,
                    std::move(value)),
      linked_(linked),
      dimensions_(dimensions) {}
ScaleControl::~ScaleControl() = default;

}  // namespace zorvcapsule
