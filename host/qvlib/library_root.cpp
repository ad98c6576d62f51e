#include "host/qvlib/library_root.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "host/core/debug_database.h"

namespace zorvqvlib {
namespace {

namespace fs = std::filesystem;

// Where the user's data lives, by the XDG base-directory rules: a relative $XDG_DATA_HOME is
// invalid and ignored.
fs::path UserDataFolder() {
  const char* xdg = ::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg);
  const char* home = ::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return fs::path(home) / ".local" / "share";
  return {};
}

std::string NormalForm(const fs::path& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) return {};
  std::string text = absolute.lexically_normal().native();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

std::string ConfiguredLibraryRoot() {
  const std::string setting = zorvcore::DebugDatabase::GetEntry(kLibraryRootSetting, "");
  if (!setting.empty()) return NormalForm(fs::path(setting));
  const fs::path data = UserDataFolder();
  if (data.empty()) return {};
  return NormalForm(data / "zorvcapsule" / "libraries");
}

}  // namespace zorvqvlib
