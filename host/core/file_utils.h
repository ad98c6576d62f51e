// FileUtils: free-standing operations on UTF-16 path text and on the files and folders it names.
//
// Paths use "/" as separator. The text helpers work on the text alone and never touch the disk;
// the others never throw and report failure by their result.
//
// Thread safety: all functions may be called from any thread. Two threads writing the same file
// with SimpleWriteStringToFile each replace it whole; the last rename wins.

#ifndef ZORVCAPSULE_HOST_CORE_FILE_UTILS_H_
#define ZORVCAPSULE_HOST_CORE_FILE_UTILS_H_

#include <string>
#include <string_view>

namespace zorvcore {

class FileUtils {
 public:
  FileUtils() = delete;

  // True for a regular file (or a link to one).
  static bool FileExists(std::u16string_view path);
  // True for a folder (or a link to one).
  static bool DirectoryExists(std::u16string_view path);
  // Creates the folder and every missing folder above it. True when the folder exists afterwards.
  static bool EnsureDirectoryExists(std::u16string_view path);

  // The path with exactly its own trailing separator: "a" -> "a/", "a/" stays. An empty path stays
  // empty, so that appending a name to it yields a relative name rather than one at the root.
  static std::u16string AddTrailingSlash(std::u16string_view path);
  // A copy without trailing separators: "a//" -> "a". The root keeps its one: "/" and "//" -> "/".
  static std::u16string RemoveTrailingSlash(std::u16string_view path);
  // RemoveTrailingSlash applied in place.
  static void StripTrailingSlash(std::u16string& path);

  // The last component, trailing separators ignored: "/a/b/" -> "b"; "" for the root.
  static std::u16string_view GetLastComponent(std::u16string_view path);
  // The path without its last component, trailing separators ignored: "/a/b" -> "/a",
  // "/a" -> "/", "/" -> "/", and "" for a relative single name such as "a".
  static std::u16string GetParentPath(std::u16string_view path);

  // Replaces the file's whole content with utf8Text, atomically: a temporary file beside it is
  // written and renamed over the target, so readers see the old content or the new, never part.
  // False (and the old content kept) when anything fails, a missing folder included.
  static bool SimpleWriteStringToFile(std::u16string_view path, std::string_view utf8Text);
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_FILE_UTILS_H_
