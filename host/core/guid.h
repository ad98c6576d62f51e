// Guid is a 128-bit identifier in the classic four-field layout, with the text form
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX": Data1, Data2 and Data3 as upper-case hexadecimal numbers,
// then the eight Data4 bytes in order, split after the second.
//
// CreateUnique makes a random (version 4, RFC 4122 variant) identifier from the operating system's
// random source. A Guid built from its parts keeps them exactly, so a Guid made from a hash is
// stable across runs.
//
// Thread safety: a plain value; CreateUnique and the parsers may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_GUID_H_
#define ZORVCAPSULE_HOST_CORE_GUID_H_

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvcore {

struct Guid {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4 = {};

  // The all-zero Guid.
  constexpr Guid() = default;
  constexpr Guid(uint32_t data1, uint16_t data2, uint16_t data3,
                 const std::array<uint8_t, 8>& data4)
      : Data1(data1), Data2(data2), Data3(data3), Data4(data4) {}

  static Guid CreateUnique();

  // Parse the text form; hexadecimal digits may be of either case. Anything else (braces,
  // spaces, a missing or extra character) gives nullopt.
  static std::optional<Guid> FromUTF8String(std::string_view text);
  static std::optional<Guid> FromString(std::u16string_view text);

  std::u16string AsString() const;
  std::string AsUTF8String() const;

  bool IsNull() const { return *this == Guid(); }

  friend constexpr bool operator==(const Guid&, const Guid&) = default;
  friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_GUID_H_
