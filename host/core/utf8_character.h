// Reading UTF-8 text one character at a time, with the same rules the conversions in unicode.h
// apply: the well-formed table of the Unicode standard, so overlong forms, encoded surrogates and
// code points past U+10FFFF are ill-formed at the byte where they become so.
//
// Thread safety: a pure function; call it from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_UTF8_CHARACTER_H_
#define ZORVCAPSULE_HOST_CORE_UTF8_CHARACTER_H_

#include <cstddef>
#include <string_view>

namespace zorvcore {

// One character: its code point and the bytes it takes. An ill-formed sequence is not well-formed,
// reads as U+FFFD and takes its maximal ill-formed subpart (at least one byte), the bytes one
// replacement character stands for in a conversion.
struct UTF8Character {
  char32_t codePoint;
  size_t length;
  bool wellFormed;
};

// The character that starts at text[at].
// REQUIRES: at < text.size().
UTF8Character DecodeUTF8At(std::string_view text, size_t at);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_UTF8_CHARACTER_H_
