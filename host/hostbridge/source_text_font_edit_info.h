// SourceTextFontEditInfo: which font properties of a template's text a user may change, and the
// values the text starts with.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_TEXT_FONT_EDIT_INFO_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_TEXT_FONT_EDIT_INFO_H_

#include <string>

namespace hostbridge {

struct SourceTextFontEditInfo {
  bool font_editable = false;
  std::u16string font_name;
  bool font_size_editable = false;
  float font_size = 0.0f;
  bool faux_styles_editable = false;
  bool bold = false;
  bool italic = false;
  bool all_caps = false;
  bool small_caps = false;

  friend bool operator==(const SourceTextFontEditInfo&, const SourceTextFontEditInfo&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_TEXT_FONT_EDIT_INFO_H_
