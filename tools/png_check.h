// PNGProblem: whether the bytes of a still thumbnail decode as a PNG image, and if not, why.
//
// The check does what a decoder does, short of keeping pixels: the signature; the chunks, each
// whole and with a matching checksum; the header (IHDR first, a size above zero, a bit depth and
// colour type that go together, the one compression and filter method, no or Adam7 interlacing);
// a palette where the colour type needs one; the image data in consecutive IDAT chunks, inflated
// and held to exactly the size the header gives, each row led by a known filter type; IEND last.
// A critical chunk of a kind no decoder knows fails too; ancillary chunks are only checksummed.
//
// The work is bounded by the header: the image data is inflated into room for exactly the size it
// promises and fails at the first byte past it, and an image whose raw data would exceed
// kMaxImageBytes, or more than its compressed data could ever inflate to, is refused before any
// room is set aside, so a small file that claims a huge image cannot hold the caller.
//
// Thread safety: a pure function; call from any thread.

#ifndef ZORVCAPSULE_TOOLS_PNG_CHECK_H_
#define ZORVCAPSULE_TOOLS_PNG_CHECK_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace capsuletool {

// Raw image data (rows with their filter bytes) beyond this is no thumbnail: 4096 × 4096 pixels
// of 16-bit RGBA.
inline constexpr uint64_t kMaxImageBytes = uint64_t{128} * 1024 * 1024;

// Empty when `bytes` is a PNG file that decodes; else the first thing wrong, in words ("chunk IDAT
// at byte 33 fails its checksum").
std::string PNGProblem(std::string_view bytes);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PNG_CHECK_H_
