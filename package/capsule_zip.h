// CapsuleZip: the library's view of one template package (".tplx").
//
// It reads the package's description, replaces it, extracts the still and video thumbnails to files
// and the authoring application's project package into a folder. Members are asked for by exact
// name, in fixed orders, where <lang> is the application's language code (Locale, "en_US"):
//
//   still thumbnail   "thumb_<lang>.png", then "thumb.png"
//   video thumbnail   "thumb_<lang>.mp4", then "thumb.mp4"
//   project package   "project_<lang>.tsgraphic", "project.tsgraphic",
//                     "project_<lang>.qzgraphic", "project.qzgraphic"
//
// A localized member beats a plain one; the editing application's project beats the compositing
// application's. A description or thumbnail member of zero bytes counts as missing.
//
// Construction never fails: a package that cannot be read (missing, corrupt, truncated, not a zip)
// shows up as missing members. The archive's rules for untrusted packages apply (see
// host/storage/zip_file.h): hostile member names and stored links are refused, a description or
// thumbnail declaring more than 256 MiB counts as missing, and replacing the description rewrites
// the package beside itself and renames it into place.
//
// Copies and moves share the open package (a move is a copy).
//
// Thread safety: make one CapsuleZip per task, on the thread that runs it; several may be open on
// one package file on different threads. An instance and its copies serialize their calls.

#ifndef ZORVCAPSULE_PACKAGE_CAPSULE_ZIP_H_
#define ZORVCAPSULE_PACKAGE_CAPSULE_ZIP_H_

#include <optional>
#include <string>
#include <vector>

#include <boost/regex_fwd.hpp>

#include "capsule/capsule_export.h"
#include "host/core/file.h"
#include "host/storage/zip_file.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT CapsuleZip : public zorvstorage::ZipFile {
 public:
  // `archiveText` goes to the archive unchanged (the password of encrypted members; the library
  // passes an empty string).
  CapsuleZip(const std::u16string& packagePath, const std::string& archiveText);
  CapsuleZip(const zorvcore::File& package, const std::string& archiveText);
  ~CapsuleZip() override;

  CapsuleZip(const CapsuleZip&) = default;
  CapsuleZip& operator=(const CapsuleZip&) = default;
  CapsuleZip(CapsuleZip&& other) noexcept : ZipFile(other) {}
  CapsuleZip& operator=(CapsuleZip&& other) noexcept {
    ZipFile::operator=(other);
    return *this;
  }

  // The text of "definition.json"; empty when it is missing, empty or unreadable.
  std::u16string GetTPLXDescriptionJSON() const;

  // Replaces the package's "definition.json" with the file "definition.json" of `folderPath`,
  // which the caller has written. True when the new package is in place; on false the package is
  // as it was.
  bool SetTPLXDescriptionJSON(const std::u16string& folderPath) const;

  // Writes the still (video) thumbnail to `destinationPath` through a temporary file and a rename,
  // so nobody sees half a thumbnail. True when a thumbnail member with at least one byte was found,
  // even if the destination could not be written (its folder is missing, say); nothing is written
  // when false.
  //
  // Thumbnails are extracted into caches, so the file is not flushed to disk before the rename:
  // after a crash of the system it may be found empty or short. Cache readers go through
  // CacheTPLXThumbnail*, which checks a file's size before trusting it.
  bool GetTPLXThumbnailPNG(const std::u16string& destinationPath) const;
  bool GetTPLXThumbnailVideo(const std::u16string& destinationPath) const;

  // The still (video) thumbnail as a cache file: true when `cachePath` already holds it, or it was
  // extracted there now (as GetTPLXThumbnail* does); false when the package has no such thumbnail.
  // A file already there counts only when its size is the one the package declares for the member
  // GetTPLXThumbnail* would take (the localized one when it has bytes); any other file, an empty or
  // short one left by a crash included, is written again.
  bool CacheTPLXThumbnailPNG(const std::u16string& cachePath) const;
  bool CacheTPLXThumbnailVideo(const std::u16string& cachePath) const;

  // Extracts the project package into "<baseFolder>/<subfolderName>/<targetName>.tsgraphic" (or
  // ".qzgraphic" for the compositing application's package), trying the four members in order.
  // On success `outputFolder` receives that folder's full path. False, with `outputFolder` left as
  // it was, when no try succeeds or when subfolderName or targetName is not a single folder name
  // (an empty subfolderName means the base folder itself).
  bool GetTPLXProjectPackage(const std::u16string& baseFolder, const std::u16string& subfolderName,
                             const std::u16string& targetName, std::u16string& outputFolder) const;

  // Every file below `folderPath`, at any depth, whose name ends in `extension`, compared without
  // regard to case; depth first, subfolders where the listing meets them. The extension is a regular
  // expression inserted into ".*.(<extension>)$", so "tsgraphic|qzgraphic" finds both, and a name
  // that is only the extension never matches. Nullopt when nothing matches, the folder cannot be
  // listed, or the extension is null or not a valid expression. Links to folders are followed once;
  // a link that loops back is not walked again.
  static std::optional<std::vector<std::u16string>> GetPathOfUnZippedProject(
      const char* extension, const std::u16string& folderPath);

 private:
  // The walk behind GetPathOfUnZippedProject. A subfolder that fails part way keeps what it found
  // before the failure, and its parent's walk goes on.
  static std::vector<std::u16string> FindFilesMatchingRegex(const std::u16string& folderPath,
                                                            const boost::regex& pattern);

  bool ExtractThumbnail(const char* extension, const std::u16string& plainName,
                        const std::u16string& destinationPath) const;
  bool CacheThumbnail(const char* extension, const std::u16string& plainName,
                      const std::u16string& cachePath) const;
  bool ExtractProjectTry(const std::string& memberName, const std::u16string& target,
                         std::u16string& outputFolder) const;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_PACKAGE_CAPSULE_ZIP_H_
