#include "capsule/string_control.h"

#include <utility>

namespace zorvcapsule {

StringControl::StringControl(std::u16string id, UIString name, const ControlProperties& properties,
                             UIString value, hostbridge::SourceTextFontEditInfo font_edit_info)
    : ClientControl(kStringControlType, std::move(id), std::move(name), properties,
                    std::move(value)),
      fontEditInfo_(std::move(font_edit_info)) {}

StringControl::~StringControl() = default;

}  // namespace zorvcapsule
