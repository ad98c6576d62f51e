// StringControl: a text of the template the user may rewrite, with the font properties they may
// change along with it. Value: UIString, the text in every language of the template.
//
// Thread safety: as ClientControl.

#ifndef ZORVCAPSULE_CAPSULE_STRING_CONTROL_H_
#define ZORVCAPSULE_CAPSULE_STRING_CONTROL_H_

#include <string>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"
#include "host/hostbridge/source_text_font_edit_info.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT StringControl : public ClientControl {
 public:
  StringControl(std::u16string id, UIString name, const ControlProperties& properties,
                UIString value, hostbridge::SourceTextFontEditInfo font_edit_info);
  ~StringControl() override;

  const hostbridge::SourceTextFontEditInfo& GetFontEditInfo() const { return fontEditInfo_; }

 private:
  hostbridge::SourceTextFontEditInfo fontEditInfo_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_STRING_CONTROL_H_
