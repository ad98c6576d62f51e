#include "capsule/api_version_check.h"

#include <locale.h>
#include <stdlib.h>

#include <string>

namespace zorvcapsule::serialization {

namespace {

constexpr std::string_view kVersionKey = "apiVersion";
constexpr size_t kVersionBytes = 3;

// The leading number of text as strtod reads it in the "C" locale: a host running in a locale with
// a decimal comma must not read "1.5" as 1.
double LeadingNumber(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (c_locale == locale_t{}) return strtod(text.c_str(), nullptr);
  return strtod_l(text.c_str(), nullptr, c_locale);
}

}  // namespace

bool HasReadableAPIVersion(std::string_view document) {
  const size_t key = document.find(kVersionKey);
  if (key == std::string_view::npos) return false;
  std::string version;
  const size_t quote = document.find('"', key + kVersionKey.size() + 1);
  if (quote != std::string_view::npos) version = document.substr(quote + 1, kVersionBytes);
  return !(static_cast<float>(LeadingNumber(version)) >
           static_cast<float>(LeadingNumber(std::string(kCurrentAPIVersion))));
}

}  // namespace zorvcapsule::serialization
