// FileHelperUtils converts the host's UTF-16 path text to and from filesystem paths.
//
// On this platform a path's native form is a byte string, which the host treats as UTF-8.
// Well-formed UTF-16 converts exactly, characters outside the Basic Multilingual Plane included
// (an unpaired surrogate becomes U+FFFD, see unicode.h). A native name whose bytes are not
// well-formed UTF-8 has no exact UTF-16 form; HasUTF16Form lets callers that list folders leave
// such names out rather than hand on a path that names nothing, or something else.
//
// Thread safety: all functions are pure and may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_FILE_HELPER_UTILS_H_
#define ZORVCAPSULE_HOST_CORE_FILE_HELPER_UTILS_H_

#include <filesystem>
#include <string>
#include <string_view>

#include <boost/filesystem/path.hpp>

namespace zorvcore {

class FileHelperUtils {
 public:
  FileHelperUtils() = delete;

  static boost::filesystem::path UTF16ToBoostPath(std::u16string_view path);
  static std::u16string BoostPathToUTF16(const boost::filesystem::path& path);

  static std::filesystem::path UTF16ToStdPath(std::u16string_view path);
  static std::u16string StdPathToUTF16(const std::filesystem::path& path);

  // True when the native text converts to UTF-16 and back to the same bytes.
  static bool HasUTF16Form(std::string_view native);
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_FILE_HELPER_UTILS_H_
