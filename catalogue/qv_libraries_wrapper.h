// IQvLibrariesWrapper: the one way the catalogue asks about the user's cloud libraries.
//
// Each function sends its call to one of two outside library managers, chosen by the host setting
// "Graphics.UseNewLibraryAPIs" (default "true"): the newer manager (zorvqvlib::QvLibManager) answers
// unless the setting holds a text other than "true"; then the older functions (zorvqvlib::QvLibraries
// and QvLibrariesLocal) do. The setting is read afresh at every call, so a host may switch between
// calls.
// Calls a manager does not answer have fixed results: with the newer manager ClearLibraryData does
// nothing and GetLibraryDiskPath is empty; with the older functions InitializeQvLibraries and
// ClearQvLibraries do nothing.
//
// IDs, names and paths are narrow (UTF-8) strings.
//
// Thread safety: every function may be called from any thread; both managers allow it.

#ifndef ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_WRAPPER_H_
#define ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_WRAPPER_H_

#include <string>
#include <vector>

#include "capsule/capsule_export.h"

namespace zorvcapsule::IQvLibrariesWrapper {

// The setting that chooses the manager.
inline constexpr const char* kUseNewLibraryAPIsSetting = "Graphics.UseNewLibraryAPIs";

// True when calls go to the newer manager now.
ZORVCAPSULE_EXPORT bool UsesNewLibraryAPIs();

ZORVCAPSULE_EXPORT void InitializeQvLibraries();
ZORVCAPSULE_EXPORT void ClearQvLibraries();
ZORVCAPSULE_EXPORT void ClearLibraryData(const std::string& libraryID);

// Fill the vector the caller passes (appending).
ZORVCAPSULE_EXPORT void GetLibraryList(std::vector<std::string>& ids);
ZORVCAPSULE_EXPORT void GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids);

ZORVCAPSULE_EXPORT std::string GetLibraryNameFromLibraryID(const std::string& libraryID);
ZORVCAPSULE_EXPORT std::string GetCapsulePath(const std::string& libraryID, const std::string& elementID);
ZORVCAPSULE_EXPORT std::string GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID);
ZORVCAPSULE_EXPORT std::string GetCapsuleThumbnailPath(const std::string& libraryID, const std::string& elementID);
ZORVCAPSULE_EXPORT std::string GetCapsuleVideoThumbnailPath(const std::string& libraryID,
                                                            const std::string& elementID);
// `flag` keeps the wrapper's call form that hosts already use; nothing is written to it.
ZORVCAPSULE_EXPORT std::string GetElementName(const std::string& libraryID, const std::string& elementID,
                                              bool* flag = nullptr);
ZORVCAPSULE_EXPORT std::string GetLibraryDiskPath(const std::string& libraryID);

}  // namespace zorvcapsule::IQvLibrariesWrapper

#endif  // ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_WRAPPER_H_
