#include "host/core/immutable_string.h"

#include <algorithm>

#include "host/core/unicode.h"

namespace zorvcore {
namespace {

unsigned char AsciiLower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

ImmutableString ImmutableString::CreateStatic(const char* text) {
  if (text == nullptr) return ImmutableString();
  return ImmutableString(nullptr, std::string_view(text));
}

ImmutableString ImmutableString::CreateDynamic(std::string text) {
  auto owner = std::make_shared<const std::string>(std::move(text));
  const std::string_view view(*owner);
  return ImmutableString(std::move(owner), view);
}

std::u16string ImmutableString::ToString() const { return UTF8ToUTF16(view_); }

bool ImmutableStringLessNoCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
}

}  // namespace zorvcore
