// ControlValue: the value a template control holds, tagged with which of its kinds of value it is.
//
// The alternative is fixed by the control's kind:
//   checkbox                      bool
//   slider, angle                 double
//   colour                        zorvdrawing::ColorRGBA
//   point                         ControlPoint (x, y)
//   string, comment               UIString (the text in every language)
//   enum                          int32_t (index of the selected item)
//   scale                         std::vector<double> (one factor per dimension)
//   group, group drop zone        std::vector<std::u16string> (ids of the child controls)
//   spreadsheet                   hostbridge::SpreadsheetValue
// Reading a value as an alternative it does not hold (boost::get) throws boost::bad_get.
//
// Thread safety: a plain value. Any number of threads may read the same value at once; changing one
// needs exclusive access to it.

#ifndef ZORVCAPSULE_CAPSULE_CONTROL_VALUE_H_
#define ZORVCAPSULE_CAPSULE_CONTROL_VALUE_H_

#include <boost/variant.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "capsule/ui_string.h"
#include "host/drawing/color_rgba.h"
#include "host/drawing/point.h"
#include "host/hostbridge/spreadsheet_value.h"

namespace zorvcapsule {

using ControlPoint = zorvdrawing::geom::PointT<double>;
using ControlChildIDs = std::vector<std::u16string>;

using ControlValue =
    boost::variant<bool, double, zorvdrawing::ColorRGBA, ControlPoint, UIString, int32_t,
                   std::vector<double>, ControlChildIDs, hostbridge::SpreadsheetValue>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_CONTROL_VALUE_H_
