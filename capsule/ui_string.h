// UIString: a text a user sees, in every language the template was written for.
//
// It maps locale names ("en_US", "de_DE") to the text for that locale. The map is ordered by the
// locale compared as UTF-16 code units, so its first entry is always the smallest locale; readers
// that find no better match fall back to it.
//
// LocStrPair is one locale with its text: the element of a UIString's JSON form.
//
// Thread safety: plain values. Any number of threads may read the same value at once; changing one
// needs exclusive access to it.

#ifndef ZORVCAPSULE_CAPSULE_UI_STRING_H_
#define ZORVCAPSULE_CAPSULE_UI_STRING_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

// The locale a text belongs to when nothing else says so.
inline constexpr std::u16string_view kDefaultLocale = u"en_US";

class ZORVCAPSULE_EXPORT UIString {
 public:
  using LocaleMap = std::map<std::u16string, std::u16string, std::less<>>;

  // No locale at all.
  UIString() = default;

  // One entry, kDefaultLocale -> text; an empty text still makes that entry.
  explicit UIString(std::u16string text);

  explicit UIString(LocaleMap strings) : strings_(std::move(strings)) {}

  UIString(const UIString&) = default;
  UIString& operator=(const UIString&) = default;
  UIString(UIString&&) noexcept = default;
  UIString& operator=(UIString&&) noexcept = default;

  const LocaleMap& GetLocaleMap() const { return strings_; }

  // The text of `locale`, or nullptr when the locale has none. The pointer lives until the next
  // change of this UIString.
  const std::u16string* Find(std::u16string_view locale) const;

  // Inserts or replaces the text of `locale`.
  void SetString(std::u16string_view locale, std::u16string text);

  bool IsEmpty() const { return strings_.empty(); }
  size_t Size() const { return strings_.size(); }

  friend bool operator==(const UIString&, const UIString&) = default;

 private:
  LocaleMap strings_;
};

struct ZORVCAPSULE_EXPORT LocStrPair {
  LocStrPair() = default;
  LocStrPair(std::u16string locale, std::u16string text)
      : locale(std::move(locale)), text(std::move(text)) {}

  std::u16string locale{kDefaultLocale};
  std::u16string text;

  friend bool operator==(const LocStrPair&, const LocStrPair&) = default;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_UI_STRING_H_
