#include "host/core/locale.h"

#include <cstdlib>
#include <mutex>
#include <string_view>

#include "host/core/unicode.h"

namespace zorvcore {
namespace {

std::mutex& LocaleMutex() {
  static std::mutex mutex;
  return mutex;
}

std::u16string& HostLanguage() {
  static std::u16string language;
  return language;
}

// "de_DE.UTF-8@euro" -> "de_DE"; "C", "POSIX" and empty give nothing.
std::string LanguageOfLocaleName(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return {};
  return std::string(name);
}

std::u16string EnvironmentLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    std::string language = LanguageOfLocaleName(value);
    if (!language.empty()) return UTF8ToUTF16(language);
    // A set but plain "C" locale stops the search, as it does for the C library.
    return u"en_US";
  }
  return u"en_US";
}

}  // namespace

std::u16string Locale::ApplicationLangauge() {
  {
    std::lock_guard<std::mutex> lock(LocaleMutex());
    if (!HostLanguage().empty()) return HostLanguage();
  }
  return EnvironmentLanguage();
}

void Locale::SetApplicationLanguage(const std::u16string& code) {
  std::lock_guard<std::mutex> lock(LocaleMutex());
  HostLanguage() = code;
}

}  // namespace zorvcore
