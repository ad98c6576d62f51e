// Text conversions between the host's text kinds.
//
// Wide text (paths, names, anything a user sees) is UTF-16 in std::u16string. Narrow text
// (identifiers) and JSON, URLs and HTTP payloads are UTF-8 in std::string; on this platform the
// narrow encoding is UTF-8 too, so the "narrow" conversions are the UTF-8 ones under the names the
// callers use.
//
// Every conversion reads only the input it is given and never fails: an ill-formed sequence (a
// stray continuation byte, a truncated or overlong UTF-8 sequence, an encoded surrogate, a code
// point above U+10FFFF, an unpaired UTF-16 surrogate) becomes U+FFFD, one per maximal ill-formed
// subpart, and conversion carries on after it.
//
// Thread safety: all functions are pure and may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_UNICODE_H_
#define ZORVCAPSULE_HOST_CORE_UNICODE_H_

#include <string>
#include <string_view>
#include <vector>

namespace zorvcore {

std::string UTF16ToUTF8(std::u16string_view text);
std::u16string UTF8ToUTF16(std::string_view text);

// Narrow (identifier) text to and from UTF-16.
std::string UTF16toStdString(std::u16string_view text);
std::u16string StdToUTF16String(std::string_view text);
// Every element of `texts` through StdToUTF16String, in order.
std::vector<std::u16string> StdToUTF16Strings(const std::vector<std::string>& texts);

// True when `text` is well-formed UTF-8: no stray continuation byte, no truncated or overlong
// sequence, no encoded surrogate, nothing above U+10FFFF. Exactly the texts UTF8ToUTF16 converts
// without a replacement, so a well-formed text survives the round trip to UTF-16 unchanged.
bool IsWellFormedUTF8(std::string_view text);

// REQUIRES: text is 7-bit ASCII. Bytes above 0x7F become U+FFFD.
std::u16string AsciiToUTF16(std::string_view text);

// Lower-cases every character that has a simple one-to-one lower-case mapping in the Basic
// Multilingual Plane (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic); other code units are
// kept, so the length never changes.
std::u16string LowerCase(std::u16string_view text);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_UNICODE_H_
