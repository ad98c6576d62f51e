// DebugDatabase: the host settings the library reads.
//
// A setting is a UTF-8 text under a key such as "Graphics.UseStockStage". A boolean setting is on
// exactly when its text is "true"; numeric settings are decimal text. Callers read a setting afresh at
// each use, so a change takes effect at the next read.
//
// Settings come from two places: the host sets them in code (SetEntry), and a JSON settings file
// named by the environment variable ZORVCAPSULE_SETTINGS supplies more. The file holds one object
// whose members are the keys; a string member is taken as it is, true/false as "true"/"false", a
// number as its decimal text; other members are ignored. It is read at the first lookup (and again
// after ReloadSettingsFile); a missing or malformed file supplies nothing. Settings made in code take
// precedence over the file.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_DEBUG_DATABASE_H_
#define ZORVCAPSULE_HOST_CORE_DEBUG_DATABASE_H_

#include <string>
#include <string_view>

namespace zorvcore {

class DebugDatabase {
 public:
  DebugDatabase() = delete;

  // The environment variable that names the settings file.
  static constexpr const char* kSettingsFileVariable = "ZORVCAPSULE_SETTINGS";

  // The setting's text, or `default_value` when it is not set.
  static std::string GetEntry(std::string_view key, std::string_view default_value);

  static void SetEntry(std::string_view key, std::string_view value);
  // Removes a setting made in code; the file's value, if any, shows again.
  static void ClearEntry(std::string_view key);
  // Removes every setting made in code.
  static void ClearAllEntries();

  // Forgets what was read from the settings file; the next lookup reads it again.
  static void ReloadSettingsFile();
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_DEBUG_DATABASE_H_
