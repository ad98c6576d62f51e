// StoreFileInPackage: puts one file into a package under a member name, replacing the package
// whole rather than patching it.
//
// libzip never edits an archive in place: on close it writes the complete new archive to a
// temporary file beside the package ("<package>.XXXXXX"), copying the untouched members' compressed
// bytes as they are, and renames that file over the package only when every byte is written. A
// crash or a full disk before the rename leaves the old package as it was (the temporary file is
// removed on a reported failure); a reader that had the package open keeps reading the old one.
// The new package is then opened again: libzip writes whatever an archive holds, and hostile member
// names can make it write a package it cannot read back, in which case the old package, kept under
// a second name until then, is put back and the store fails. After the rename the package and its
// folder are flushed to disk.
//
// A package path that is a link is resolved first, so the file it points to is replaced and the
// link kept. A missing package is created; a file that is not a zip archive is left alone.
//
// Thread safety: call from any thread; two writers of one package race, and the later rename wins.

#ifndef ZORVCAPSULE_HOST_STORAGE_ZIP_WRITER_H_
#define ZORVCAPSULE_HOST_STORAGE_ZIP_WRITER_H_

#include <string>

namespace zorvstorage {

// Stores the regular file at sourcePath as member `memberName` (UTF-8). An existing member of that
// name is replaced when `replace` is true; otherwise its presence is a failure. True when the new
// package is in place.
// REQUIRES: memberName is a safe relative path (member_name.h) and not a directory name.
bool StoreFileInPackage(const std::string& packagePath, const std::string& memberName,
                        const std::string& sourcePath, bool replace);

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_ZIP_WRITER_H_
