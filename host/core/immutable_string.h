// ImmutableString is shared, immutable UTF-8 text, cheap to copy and to pass by value.
//
// A static string refers to a literal in place, with no copy and no allocation; a dynamic one
// shares one heap copy of its text among all its copies. Either way the text is NUL-terminated,
// so c_str() is always valid, and it never changes. A default-constructed string is empty.
//
// Ordering and equality compare bytes, so ImmutableString can key a std::map or std::multimap.
// ImmutableStringLessNoCase orders without regard to ASCII case, for keys such as HTTP header
// names ("Content-Type" and "content-type" are one key); bytes above 0x7F compare as they are.
//
// Thread safety: any number of threads may read and copy the same ImmutableString at once; as
// with any value, assigning to one object must not overlap other use of that object.

#ifndef ZORVCAPSULE_HOST_CORE_IMMUTABLE_STRING_H_
#define ZORVCAPSULE_HOST_CORE_IMMUTABLE_STRING_H_

#include <compare>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zorvcore {

class ImmutableString {
 public:
  ImmutableString() = default;

  // REQUIRES: text is null or a NUL-terminated string that outlives every copy (a literal).
  static ImmutableString CreateStatic(const char* text);
  static ImmutableString CreateDynamic(std::string text);

  std::string_view view() const { return view_; }
  const char* c_str() const { return view_.data(); }
  size_t size() const { return view_.size(); }
  bool empty() const { return view_.empty(); }
  std::string str() const { return std::string(view_); }

  // The text as UTF-16; ill-formed UTF-8 becomes U+FFFD (see unicode.h).
  std::u16string ToString() const;

  friend bool operator==(const ImmutableString& a, const ImmutableString& b) {
    return a.view_ == b.view_;
  }
  friend std::strong_ordering operator<=>(const ImmutableString& a, const ImmutableString& b) {
    return a.view_ <=> b.view_;
  }
  friend bool operator==(const ImmutableString& a, std::string_view b) { return a.view_ == b; }
  friend std::strong_ordering operator<=>(const ImmutableString& a, std::string_view b) {
    return a.view_ <=> b;
  }

 private:
  ImmutableString(std::shared_ptr<const std::string> owner, std::string_view view)
      : owner_(std::move(owner)), view_(view) {}

  std::shared_ptr<const std::string> owner_;  // null for static text
  std::string_view view_ = "";
};

// Case-insensitive (ASCII only) ordering; transparent, so a map keyed by ImmutableString can be
// searched with a std::string_view.
struct ImmutableStringLessNoCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
  bool operator()(const ImmutableString& a, const ImmutableString& b) const {
    return (*this)(a.view(), b.view());
  }
  bool operator()(const ImmutableString& a, std::string_view b) const {
    return (*this)(a.view(), b);
  }
  bool operator()(std::string_view a, const ImmutableString& b) const {
    return (*this)(a, b.view());
  }
};

}  // namespace zorvcore

template <>
struct std::hash<zorvcore::ImmutableString> {
  size_t operator()(const zorvcore::ImmutableString& text) const {
    return std::hash<std::string_view>()(text.view());
  }
};

#endif  // ZORVCAPSULE_HOST_CORE_IMMUTABLE_STRING_H_
