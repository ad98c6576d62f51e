// MemberName: which names of zip members may become paths on disk.
//
// A package is untrusted input, and a member's name is text its maker chose. Before a member is
// written below a destination folder its name must be a plain relative path: components separated by
// "/", none of them empty, "." or "..", no leading "/" (an absolute path), no drive letter ("C:"),
// no backslash at all (so "..\\x" cannot climb out on a system that reads it as a separator), no
// control character, and well-formed UTF-8 (so that it names the same thing as a UTF-16 path).
// A directory member's name carries one trailing "/"; strip it with DirectoryMemberPath first.
//
// Thread safety: pure functions; call from any thread.

#ifndef ZORVCAPSULE_HOST_STORAGE_MEMBER_NAME_H_
#define ZORVCAPSULE_HOST_STORAGE_MEMBER_NAME_H_

#include <cstddef>
#include <string_view>

namespace zorvstorage {

class MemberName {
 public:
  MemberName() = delete;

  // Longer names are refused: no file system of ours could hold them.
  static constexpr size_t kMaxNameBytes = 1024;
  static constexpr size_t kMaxComponentBytes = 255;

  // True when `path` may be joined to a destination folder without leaving it.
  static bool IsSafeRelativePath(std::string_view path);

  // True for the name of a directory member ("media/").
  static bool IsDirectoryName(std::string_view name) { return !name.empty() && name.back() == '/'; }
  // The name without the one trailing "/" of a directory member; other names unchanged.
  static std::string_view DirectoryMemberPath(std::string_view name) {
    return IsDirectoryName(name) ? name.substr(0, name.size() - 1) : name;
  }
};

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_MEMBER_NAME_H_
