// TextEditInfo: an editable text together with what may be changed about its font.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_TEXT_EDIT_INFO_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_TEXT_EDIT_INFO_H_

#include <string>

#include "host/hostbridge/source_text_font_edit_info.h"

namespace hostbridge {

struct TextEditInfo {
  std::u16string text;
  SourceTextFontEditInfo font_edit_info;

  friend bool operator==(const TextEditInfo&, const TextEditInfo&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_TEXT_EDIT_INFO_H_
