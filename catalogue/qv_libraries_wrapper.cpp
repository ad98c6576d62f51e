#include "catalogue/qv_libraries_wrapper.h"

#include "host/core/debug_database.h"
#include "host/qvlib/qv_lib_manager.h"
#include "host/qvlib/qv_libraries.h"
#include "host/qvlib/qv_libraries_local.h"

namespace zorvcapsule::IQvLibrariesWrapper {

using zorvqvlib::QvLibManager;
using zorvqvlib::QvLibraries;
using zorvqvlib::QvLibrariesLocal;

bool UsesNewLibraryAPIs() {
  return zorvcore::DebugDatabase::GetEntry(kUseNewLibraryAPIsSetting, "true") == "true";
}

void InitializeQvLibraries() {
  if (UsesNewLibraryAPIs()) QvLibManager::Initialize();
}

void ClearQvLibraries() {
  if (UsesNewLibraryAPIs()) QvLibManager::Terminate();
}

void ClearLibraryData(const std::string& libraryID) {
  if (!UsesNewLibraryAPIs()) QvLibrariesLocal::ClearLibraryData(libraryID);
}

void GetLibraryList(std::vector<std::string>& ids) {
  if (UsesNewLibraryAPIs()) {
    QvLibManager::GetLibraryList(ids);
  } else {
    QvLibraries::GetLibraryList(ids);
  }
}

void GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids) {
  if (UsesNewLibraryAPIs()) {
    QvLibManager::GetCapsuleElementIDs(libraryID, ids);
  } else {
    QvLibrariesLocal::GetCapsuleElementIDs(libraryID, ids);
  }
}

std::string GetLibraryNameFromLibraryID(const std::string& libraryID) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetLibraryNameFromLibraryID(libraryID)
                              : QvLibraries::GetLibraryNameFromLibraryID(libraryID);
}

std::string GetCapsulePath(const std::string& libraryID, const std::string& elementID) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetCapsulePath(libraryID, elementID)
                              : QvLibrariesLocal::GetCapsulePath(libraryID, elementID);
}

std::string GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetCapsuleSchemaPath(libraryID, elementID)
                              : QvLibrariesLocal::GetCapsuleSchemaPath(libraryID, elementID);
}

std::string GetCapsuleThumbnailPath(const std::string& libraryID, const std::string& elementID) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetCapsuleThumbnailPath(libraryID, elementID)
                              : QvLibrariesLocal::GetCapsuleThumbnailPath(libraryID, elementID);
}

std::string GetCapsuleVideoThumbnailPath(const std::string& libraryID, const std::string& elementID) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetCapsuleVideoThumbnailPath(libraryID, elementID)
                              : QvLibrariesLocal::GetCapsuleVideoThumbnailPath(libraryID, elementID);
}

std::string GetElementName(const std::string& libraryID, const std::string& elementID, bool*) {
  return UsesNewLibraryAPIs() ? QvLibManager::GetElementName(libraryID, elementID)
                              : QvLibrariesLocal::GetElementName(libraryID, elementID, nullptr);
}

std::string GetLibraryDiskPath(const std::string& libraryID) {
  return UsesNewLibraryAPIs() ? std::string() : QvLibrariesLocal::GetLibraryDiskPath(libraryID);
}

}  // namespace zorvcapsule::IQvLibrariesWrapper
