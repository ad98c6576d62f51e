#include "tools/main_thread_pump.h"

#include <chrono>

#include "host/core/main_thread.h"

namespace capsuletool {
namespace {

constexpr std::chrono::milliseconds kPumpInterval(100);
// After a manager task has died, how many empty pumps in a row mean no further delivery is coming.
constexpr int kIdlePumpsAfterFailure = 20;

}  // namespace

bool PumpMainThreadUntil(const std::function<bool()>& done, const DiagnosticsCollector& diagnostics,
                         const std::function<void()>& between) {
  int idlePumps = 0;
  while (!done()) {
    const size_t ran = zorvcore::WaitAndRunMainThreadTasks(kPumpInterval);
    idlePumps = ran > 0 ? 0 : idlePumps + 1;
    if (idlePumps >= kIdlePumpsAfterFailure && diagnostics.TaskDied()) return false;
    if (between) between();
  }
  return true;
}

}  // namespace capsuletool
