// GroupControl: a folder of other controls of the same template. GroupDropZoneControl: a place the
// user may drop groups into. Value of both: ControlChildIDs, the ids of the child controls in
// display order.
//
// A group may name one excluded child id: a child that belongs to the group while the template is
// edited but is left out whenever the group is written to a description. It is empty when the group
// is made; an empty excluded id leaves out empty child ids.
//
// Thread safety: as ClientControl.

#ifndef ZORVCAPSULE_CAPSULE_GROUP_CONTROL_H_
#define ZORVCAPSULE_CAPSULE_GROUP_CONTROL_H_

#include <string>
#include <utility>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT GroupControl : public ClientControl {
 public:
  GroupControl(std::u16string id, UIString name, const ControlProperties& properties,
               ControlChildIDs children, bool expanded);
  ~GroupControl() override;

  // Whether the group shows its children (true) or only its own name.
  bool IsExpanded() const { return expanded_; }
  void SetExpanded(bool expanded) { expanded_ = expanded; }

  const std::u16string& GetExcludedChildID() const { return excludedChildID_; }
  void SetExcludedChildID(std::u16string id) { excludedChildID_ = std::move(id); }

 private:
  bool expanded_;
  std::u16string excludedChildID_;
};

class ZORVCAPSULE_EXPORT GroupDropZoneControl : public ClientControl {
 public:
  GroupDropZoneControl(std::u16string id, UIString name, const ControlProperties& properties,
                       ControlChildIDs children);
  ~GroupDropZoneControl() override;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_GROUP_CONTROL_H_
