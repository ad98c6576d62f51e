// STAND-IN: the JSON form of the controls list, kept in this one place until the real control
// reader and writer replace these two functions.
//
// What they do meanwhile, so that a description round-trips everything else:
// - ClientControlsFromJson checks that "clientControls" holds an array of objects (anything else
//   throws BadCastError, as the real reader will) and yields no controls.
// - ClientControlsToJson writes an empty array, whatever controls the record holds.
//
// Thread safety: both functions may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_PENDING_MEMBERS_JSON_H_
#define ZORVCAPSULE_CAPSULE_PENDING_MEMBERS_JSON_H_

#include "capsule/client_control_fwd.h"
#include "capsule/json_members.h"

namespace zorvcapsule::serialization {

// value: the "clientControls" member.
ClientControlList ClientControlsFromJson(const JSONValuePtr& value);
JSONValuePtr ClientControlsToJson(const ClientControlList& controls);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_PENDING_MEMBERS_JSON_H_
