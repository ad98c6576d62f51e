// Localizer: turns localization keys into display text.
//
// User-visible texts are written in code as "$$$/Area/Key=Default text". Localize gives the loaded
// translation of "$$$/Area/Key" when there is one, else the default after the first "=". A text
// that is not a key is returned unchanged; a key without "=" and without a translation gives the key.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_LOCALIZER_H_
#define ZORVCAPSULE_HOST_CORE_LOCALIZER_H_

#include <map>
#include <string>

namespace zorvcore {

class Localizer {
 public:
  Localizer() = delete;

  static std::u16string Localize(const std::u16string& text);

  // Replaces the translations: key ("$$$/Area/Key", without "=") to text.
  static void LoadTranslations(std::map<std::u16string, std::u16string> translations);
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_LOCALIZER_H_
