// Locale: the language the host application runs in.
//
// The library picks localized names and thumbnails with it. A host sets it from its own preferences;
// until then it is taken from the environment (LC_ALL, then LC_MESSAGES, then LANG), reduced to
// language and region ("de_DE.UTF-8" gives "de_DE"), and "en_US" when the environment names none or
// only the "C"/"POSIX" locale.
//
// Thread safety: both functions may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_LOCALE_H_
#define ZORVCAPSULE_HOST_CORE_LOCALE_H_

#include <string>

namespace zorvcore {

class Locale {
 public:
  Locale() = delete;

  // The application's language code, such as "en_US".
  static std::u16string ApplicationLangauge();

  // Sets the language code; an empty code returns to the environment's.
  static void SetApplicationLanguage(const std::u16string& code);
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_LOCALE_H_
