// GallerySite: the folder a gallery is written into, brought up to date in place.
//
// A run writes the page's own files at the top of the folder and copies the thumbnails and
// previews into subfolders the gallery owns. A file whose content (for text) or size and
// modification time (for copies) already match is left alone, so a second run touches only what
// changed; a file in an owned subfolder that the run did not place there is removed. Every file is
// written under a temporary name and renamed into place, so a file never looks complete before it
// is. Nothing is written outside the folder.
//
// Thread safety: none; use one object from one thread.

#ifndef ZORVCAPSULE_TOOLS_GALLERY_SITE_H_
#define ZORVCAPSULE_TOOLS_GALLERY_SITE_H_

#include <cstddef>
#include <filesystem>
#include <set>
#include <string>

#include "host/core/status.h"

namespace capsuletool {

class GallerySite {
 public:
  // The file whose presence marks a folder as a gallery.
  static constexpr const char* kMarkerFile = "catalogue.js";

  struct Counts {
    size_t written = 0;    // files written or copied because they were new or had changed
    size_t unchanged = 0;  // files already up to date
    size_t removed = 0;    // files that no longer belong
  };

  explicit GallerySite(std::filesystem::path folder) : folder_(std::move(folder)) {}
  GallerySite(const GallerySite&) = delete;
  GallerySite& operator=(const GallerySite&) = delete;

  // Makes the folder when missing. A folder that holds other things than a gallery is refused
  // (InvalidArgument), never written into. A folder is a gallery when it holds the
  // marker file, or nothing but names in `ownNames` (what an interrupted first run leaves).
  zorvcore::Status Prepare(const std::set<std::string>& ownNames);

  // `relative` is a file name, or "subfolder/name" in an owned subfolder (made when missing).
  // Each fails with IOError saying which file could not be written.
  zorvcore::Status WriteText(const std::string& relative, const std::string& content);
  zorvcore::Status CopyFile(const std::string& relative, const std::filesystem::path& source);

  // Removes the files of the owned subfolder `subfolder` that this run did not write or copy,
  // with the leftovers of an interrupted earlier run.
  void RemoveOthers(const std::string& subfolder);

  const Counts& counts() const { return counts_; }

 private:
  zorvcore::Status Replace(const std::filesystem::path& target, const std::filesystem::path& temporary);

  const std::filesystem::path folder_;
  std::set<std::filesystem::path> placed_;
  Counts counts_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_GALLERY_SITE_H_
