#include "host/qvlib/library_layout.h"

#include "host/core/unicode.h"

namespace zorvqvlib {

bool IsLayoutName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  if (name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos) return false;
  // Ill-formed UTF-8 does not survive the round trip: each bad sequence becomes U+FFFD.
  return zorvcore::UTF16ToUTF8(zorvcore::UTF8ToUTF16(name)) == name;
}

}  // namespace zorvqvlib
