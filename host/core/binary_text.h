// Binary data as text: standard base64 (RFC 4648, section 4) with "=" padding.
//
// Decoding is strict, so a text that decodes is exactly the encoding of its bytes: its length is
// a multiple of four, it holds only the 64 alphabet characters with one or two "=" at the very
// end, and the bits the padding leaves over are zero. Whitespace, line breaks and the URL-safe
// alphabet are refused like any other foreign character. The empty text is the empty data.
//
// Thread safety: all functions are pure and may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_BINARY_TEXT_H_
#define ZORVCAPSULE_HOST_CORE_BINARY_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvcore {

// REQUIRES: data points to size readable bytes (it may be null when size is 0).
std::string EncodeBinaryDataToUTF8String(const void* data, size_t size);
inline std::string EncodeBinaryDataToUTF8String(const std::vector<uint8_t>& data) {
  return EncodeBinaryDataToUTF8String(data.data(), data.size());
}

// On success replaces `data` with the decoded bytes and returns true; on failure returns false
// and leaves `data` as it was.
bool DecodeBinaryDataFromUTF8String(std::string_view text, std::vector<uint8_t>& data);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_BINARY_TEXT_H_
