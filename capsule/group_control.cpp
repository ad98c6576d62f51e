#include "capsule/group_control.h"

#include <utility>

namespace zorvcapsule {

GroupControl::GroupControl(std::u16string id, UIString name, const ControlProperties& properties,
                           ControlChildIDs children, bool expanded)
    : ClientControl(kGroupControlType, std::move(id), std::move(name), properties,
                    std::move(children)),
      expanded_(expanded) {}

GroupControl::~GroupControl() = default;

GroupDropZoneControl::GroupDropZoneControl(std::u16string id, UIString name,
                                           const ControlProperties& properties,
                                           ControlChildIDs children)
    : ClientControl(kGroupDropZoneControlType, std::move(id), std::move(name), properties,
                    std::move(children)) {}

GroupDropZoneControl::~GroupDropZoneControl() = default;

}  // namespace zorvcapsule
