// How `capsule info` describes a template's controls: each kind's name and its value in words.
//
// Thread safety: pure functions over controls nobody changes meanwhile; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_CONTROL_TEXT_H_
#define ZORVCAPSULE_TOOLS_CONTROL_TEXT_H_

#include <cstdint>
#include <string>

#include "capsule/client_control.h"

namespace capsuletool {

// "checkbox", "slider", ...; "kind 42" for a type code no kind has.
std::string ControlKindName(int32_t type);

// The value as a person reads it: "on", "80 % (0 to 100)", "rgba(1, 0.5, 0, 1)", "Fade (2 of 3)",
// the text of a text control in the application's language, ...
std::string ControlValueText(const zorvcapsule::ClientControl& control);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CONTROL_TEXT_H_
