// The one way to make template controls: a function per control kind, each returning a new control
// of that kind as std::shared_ptr<ClientControl> (see capsule/client_control.h).
//
// Every factory takes the control's id, its name and its ControlProperties first, then the kind's
// own fields and value. The new control has an empty suffix and tool tip and is not hidden. Nothing
// is validated: values outside a range, an enum value beyond its items or a maximum row count below
// the minimum are stored as given.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_CONTROL_FACTORY_H_
#define ZORVCAPSULE_CAPSULE_CONTROL_FACTORY_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"
#include "capsule/enum_control.h"
#include "capsule/spreadsheet_column_info_loc.h"
#include "host/hostbridge/source_text_font_edit_info.h"
#include "host/hostbridge/spreadsheet_value.h"

namespace zorvcapsule::factory {

using ControlPtr = std::shared_ptr<ClientControl>;

ZORVCAPSULE_EXPORT ControlPtr CreateCheckboxControl(std::u16string id, UIString name,
                                                    const ControlProperties& properties,
                                                    bool value);

ZORVCAPSULE_EXPORT ControlPtr CreateSliderControl(std::u16string id, UIString name,
                                                  const ControlProperties& properties, double min,
                                                  double max, double value);

ZORVCAPSULE_EXPORT ControlPtr CreateAngleControl(std::u16string id, UIString name,
                                                 const ControlProperties& properties, double value);

ZORVCAPSULE_EXPORT ControlPtr CreateColorControl(std::u16string id, UIString name,
                                                 const ControlProperties& properties,
                                                 zorvdrawing::ColorRGBA value);

ZORVCAPSULE_EXPORT ControlPtr CreatePoint2DControl(std::u16string id, UIString name,
                                                   const ControlProperties& properties,
                                                   ControlPoint value);

ZORVCAPSULE_EXPORT ControlPtr
CreateStringControl(std::u16string id, UIString name, const ControlProperties& properties,
                    UIString value, hostbridge::SourceTextFontEditInfo font_edit_info);

ZORVCAPSULE_EXPORT ControlPtr CreateEnumControl(std::u16string id, UIString name,
                                                const ControlProperties& properties,
                                                EnumType enum_type, std::vector<UIString> items,
                                                int32_t value);

ZORVCAPSULE_EXPORT ControlPtr CreateCommentControl(std::u16string id, UIString name,
                                                   const ControlProperties& properties,
                                                   UIString value);

ZORVCAPSULE_EXPORT ControlPtr CreateScaleControl(std::u16string id, UIString name,
                                                 const ControlProperties& properties, bool linked,
                                                 int32_t dimensions, std::vector<double> value);

// children: the ids of the child controls, in display order.
ZORVCAPSULE_EXPORT ControlPtr CreateGroupControl(std::u16string id, UIString name,
                                                 const ControlProperties& properties,
                                                 ControlChildIDs children, bool expanded);

ZORVCAPSULE_EXPORT ControlPtr CreateGroupDropZoneControl(std::u16string id, UIString name,
                                                         const ControlProperties& properties,
                                                         ControlChildIDs children);

ZORVCAPSULE_EXPORT ControlPtr CreateSpreadsheetControl(
    std::u16string id, UIString name, const ControlProperties& properties, uint32_t min_rows,
    uint32_t max_rows, std::vector<SpreadsheetColumnInfoLoc> columns,
    hostbridge::SpreadsheetValue value);

}  // namespace zorvcapsule::factory

#endif  // ZORVCAPSULE_CAPSULE_CONTROL_FACTORY_H_
