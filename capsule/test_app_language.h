// ScopedAppLanguage: runs a test in a chosen application language and returns to the environment's
// when it ends. Test code only.
//
// Thread safety: the language is process-wide; create and destroy on the test's thread while no
// other thread reads it.

#ifndef ZORVCAPSULE_CAPSULE_TEST_APP_LANGUAGE_H_
#define ZORVCAPSULE_CAPSULE_TEST_APP_LANGUAGE_H_

#include <string>

#include "host/core/locale.h"

namespace zorvcapsule {

class ScopedAppLanguage {
 public:
  explicit ScopedAppLanguage(const std::u16string& code) {
    zorvcore::Locale::SetApplicationLanguage(code);
  }
  ~ScopedAppLanguage() { zorvcore::Locale::SetApplicationLanguage(u""); }

  ScopedAppLanguage(const ScopedAppLanguage&) = delete;
  ScopedAppLanguage& operator=(const ScopedAppLanguage&) = delete;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_TEST_APP_LANGUAGE_H_
