#include "tools/host_settings.h"

#include "host/core/debug_database.h"
#include "tools/exit_status.h"

namespace capsuletool {

std::optional<int> ApplyHostSettings(const std::vector<std::string>& settings, std::ostream& err) {
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) {
      PrintError(err, "--set", "expected KEY=VALUE, not \"" + setting + "\"");
      return kExitUsage;
    }
  }
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    zorvcore::DebugDatabase::SetEntry(setting.substr(0, equals), setting.substr(equals + 1));
  }
  return std::nullopt;
}

}  // namespace capsuletool
