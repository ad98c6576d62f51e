// UrlEncode: percent-encoding of a query value.
//
// Bytes of the unreserved set (letters, digits, "-", "_", "." and "~") are kept; every other byte,
// each byte of a multi-byte UTF-8 sequence included, becomes "%" and two upper-case hexadecimal
// digits. A space is "%20", never "+". Query keys are written as they are and never pass through here.
//
// Thread safety: a pure function.

#ifndef ZORVCAPSULE_STOCK_URL_ENCODE_H_
#define ZORVCAPSULE_STOCK_URL_ENCODE_H_

#include <string>
#include <string_view>

namespace zorvcapsule {

std::string UrlEncode(std::string_view utf8Text);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_URL_ENCODE_H_
