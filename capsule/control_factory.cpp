#include "capsule/control_factory.h"

#include <utility>

#include "capsule/basic_controls.h"
#include "capsule/group_control.h"
#include "capsule/spreadsheet_control.h"
#include "capsule/string_control.h"

namespace zorvcapsule::factory {

ControlPtr CreateCheckboxControl(std::u16string id, UIString name,
                                 const ControlProperties& properties, bool value) {
  return std::make_shared<CheckboxControl>(std::move(id), std::move(name), properties, value);
}

ControlPtr CreateSliderControl(std::u16string id, UIString name,
                               const ControlProperties& properties, double min, double max,
                               double value) {
  return std::make_shared<SliderControl>(std::move(id), std::move(name), properties, min, max,
                                         value);
}

ControlPtr CreateAngleControl(std::u16string id, UIString name, const ControlProperties& properties,
                              double value) {
  return std::make_shared<AngleControl>(std::move(id), std::move(name), properties, value);
}

ControlPtr CreateColorControl(std::u16string id, UIString name, const ControlProperties& properties,
                              zorvdrawing::ColorRGBA value) {
  return std::make_shared<ColorControl>(std::move(id), std::move(name), properties, value);
}

ControlPtr CreatePoint2DControl(std::u16string id, UIString name,
                                const ControlProperties& properties, ControlPoint value) {
  return std::make_shared<Point2DControl>(std::move(id), std::move(name), properties, value);
}

ControlPtr CreateStringControl(std::u16string id, UIString name,
                               const ControlProperties& properties, UIString value,
                               hostbridge::SourceTextFontEditInfo font_edit_info) {
  return std::make_shared<StringControl>(std::move(id), std::move(name), properties,
                                         std::move(value), std::move(font_edit_info));
}

ControlPtr CreateEnumControl(std::u16string id, UIString name, const ControlProperties& properties,
                             EnumType enum_type, std::vector<UIString> items, int32_t value) {
  return std::make_shared<EnumControl>(std::move(id), std::move(name), properties, enum_type,
                                       std::move(items), value);
}

ControlPtr CreateCommentControl(std::u16string id, UIString name,
                                const ControlProperties& properties, UIString value) {
  return std::make_shared<CommentControl>(std::move(id), std::move(name), properties,
                                          std::move(value));
}

ControlPtr CreateScaleControl(std::u16string id, UIString name, const ControlProperties& properties,
                              bool linked, int32_t dimensions, std::vector<double> value) {
  return std::make_shared<ScaleControl>(std::move(id), std::move(name), properties, linked,
                                        dimensions, std::move(value));
}

ControlPtr CreateGroupControl(std::u16string id, UIString name, const ControlProperties& properties,
                              ControlChildIDs children, bool expanded) {
  return std::make_shared<GroupControl>(std::move(id), std::move(name), properties,
                                        std::move(children), expanded);
}

ControlPtr CreateGroupDropZoneControl(std::u16string id, UIString name,
                                      const ControlProperties& properties,
                                      ControlChildIDs children) {
  return std::make_shared<GroupDropZoneControl>(std::move(id), std::move(name), properties,
                                                std::move(children));
}

ControlPtr CreateSpreadsheetControl(std::u16string id, UIString name,
                                    const ControlProperties& properties, uint32_t min_rows,
                                    uint32_t max_rows,
                                    std::vector<SpreadsheetColumnInfoLoc> columns,
                                    hostbridge::SpreadsheetValue value) {
  return std::make_shared<SpreadsheetControl>(std::move(id), std::move(name), properties, min_rows,
                                              max_rows, std::move(columns), std::move(value));
}

}  // namespace zorvcapsule::factory
