#include "host/core/file_helper_utils.h"

#include <algorithm>

#include "host/core/unicode.h"

namespace zorvcore {

boost::filesystem::path FileHelperUtils::UTF16ToBoostPath(std::u16string_view path) {
  return boost::filesystem::path(UTF16ToUTF8(path));
}

std::u16string FileHelperUtils::BoostPathToUTF16(const boost::filesystem::path& path) {
  return UTF8ToUTF16(path.native());
}

std::filesystem::path FileHelperUtils::UTF16ToStdPath(std::u16string_view path) {
  return std::filesystem::path(UTF16ToUTF8(path));
}

std::u16string FileHelperUtils::StdPathToUTF16(const std::filesystem::path& path) {
  return UTF8ToUTF16(path.native());
}

bool FileHelperUtils::HasUTF16Form(std::string_view native) {
  const bool ascii = std::all_of(native.begin(), native.end(), [](char c) { return (c & 0x80) == 0; });
  return ascii || UTF16ToUTF8(UTF8ToUTF16(native)) == native;
}

}  // namespace zorvcore
