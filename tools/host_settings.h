// `capsule --set KEY=VALUE`: host settings given on the command line for one run.
//
// Each KEY=VALUE becomes a host setting (zorvcore::DebugDatabase) before the command runs, so
// everything the library reads from the host's settings ("Graphics.UseStockStage",
// "Stock.ServiceURL", "Net.CAFile", ...) can be given without a settings file. A setting given on
// the command line wins over the settings file; a later --set of the same key wins over an earlier
// one. The value may be empty and may itself contain "=".
//
// Thread safety: call from the program's main thread before the command starts any work.

#ifndef ZORVCAPSULE_TOOLS_HOST_SETTINGS_H_
#define ZORVCAPSULE_TOOLS_HOST_SETTINGS_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace capsuletool {

// Applies every "KEY=VALUE" in order. A text without "=" or with an empty KEY is refused before
// any is applied: the error is printed and the usage status returned.
std::optional<int> ApplyHostSettings(const std::vector<std::string>& settings, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_HOST_SETTINGS_H_
