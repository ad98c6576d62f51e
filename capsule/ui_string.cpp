#include "capsule/ui_string.h"

#include <utility>

namespace zorvcapsule {

UIString::UIString(std::u16string text) { strings_.emplace(kDefaultLocale, std::move(text)); }

const std::u16string* UIString::Find(std::u16string_view locale) const {
  auto found = strings_.find(locale);
  return found == strings_.end() ? nullptr : &found->second;
}

void UIString::SetString(std::u16string_view locale, std::u16string text) {
  auto found = strings_.find(locale);
  if (found != strings_.end()) {
    found->second = std::move(text);
  } else {
    strings_.emplace(std::u16string(locale), std::move(text));
  }
}

}  // namespace zorvcapsule
