#include "host/core/localizer.h"

#include <mutex>

namespace zorvcore {
namespace {

struct Translations {
  std::mutex mutex;
  std::map<std::u16string, std::u16string> texts;
};

Translations& TheTranslations() {
  static Translations translations;
  return translations;
}

constexpr std::u16string_view kKeyPrefix = u"$$$/";

}  // namespace

std::u16string Localizer::Localize(const std::u16string& text) {
  if (text.rfind(kKeyPrefix, 0) != 0) return text;
  const size_t equals = text.find(u'=');
  const std::u16string key = text.substr(0, equals);
  {
    std::lock_guard<std::mutex> lock(TheTranslations().mutex);
    auto it = TheTranslations().texts.find(key);
    if (it != TheTranslations().texts.end()) return it->second;
  }
  return equals == std::u16string::npos ? key : text.substr(equals + 1);
}

void Localizer::LoadTranslations(std::map<std::u16string, std::u16string> translations) {
  std::lock_guard<std::mutex> lock(TheTranslations().mutex);
  TheTranslations().texts = std::move(translations);
}

}  // namespace zorvcore
