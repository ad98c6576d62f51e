// The library's working folders under the system temporary folder (TEMP, Dir::TempDir):
//
//   TEMP/"TslBrowser"                          thumbnails extracted from local packages
//   TEMP/"TslStock"/<app>/<version>/<asset>    one stock asset: "definition.json", "thumb.png",
//                                              "thumb.mp4"
//
// <app> and <version> are the host's application name and client version, so different hosts and
// versions never share stock folders. The first InitTempDirectory for a tree in a process clears the
// whole tree when its files (not counting those whose titles begin with ".") hold more than
// kTempTreeSizeLimit bytes; before that it removes the temporary files of interrupted atomic writes
// (".*.tmp", untouched for an hour), the only single files anything here deletes.
//
// The temporary folder is shared by every user of the machine, so a tree's root must be the
// current user's own: the first InitTempDirectory creates it with mode 0700, and refuses one that
// exists but is a symbolic link, is not a folder, belongs to someone else or can be written by
// group or others. A refused root is reported once through debug::ReportDiagnostic, naming it, and
// the tree moves to the same name followed by "-" and the user ID (checked the same way; if that is
// refused too, to a new private folder of a random name). From then on the path functions return
// the chosen root; before a tree is initialized they return its usual name.
//
// Thread safety: the path functions may be called from any thread. Initialize a tree from one
// thread: a second thread arriving during the first's check returns at once, perhaps before the
// tree's root exists.

#ifndef ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_H_
#define ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_H_

#include <cstdint>
#include <string>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

extern const std::u16string kTempLocalFolderName;  // "TslBrowser"
extern const std::u16string kTempStockFolderName;  // "TslStock"

// 300 MiB.
constexpr int64_t kTempTreeSizeLimit = int64_t{300} * 1024 * 1024;

// Checks the local tree (`local` true) or the stock tree once per process, clearing it when it is
// over the limit, and makes sure its root exists. Later calls for the same tree do nothing.
ZORVCAPSULE_EXPORT void InitTempDirectory(bool local);

// TEMP/"TslBrowser" (or the root chosen instead, see above); computed only, never created.
ZORVCAPSULE_EXPORT std::u16string GetTempLocalDirectory();

// The asset's folder, without a trailing separator, created with its missing parents (the path is
// returned even when it could not be made). An asset ID that is not a plain folder name (empty,
// "." or "..", or holding "/" or a NUL) has those characters replaced by "_" and a lone run of
// dots prefixed by "_", so no ID can reach outside the stock tree.
ZORVCAPSULE_EXPORT std::u16string GetTempStockDirectory(const std::u16string& assetID);

// A file in the asset's folder: the folder is created, the file is not.
ZORVCAPSULE_EXPORT std::u16string GetTempStockAssetJSONPath(const std::u16string& assetID);
ZORVCAPSULE_EXPORT std::u16string GetTempStockAssetThumbPath(const std::u16string& assetID);
ZORVCAPSULE_EXPORT std::u16string GetTempStockAssetVideoThumbPath(const std::u16string& assetID);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_H_
