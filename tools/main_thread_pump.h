// PumpMainThreadUntil: how a command waits, on the program's main thread, for what the catalogue's
// manager delivers through the main-thread queue (host/core/main_thread.h).
//
// It drains the queue a tenth of a second at a time until `done` holds, calling `between` after
// every wait (to show progress). A manager task that dies owes a delivery that never comes: once
// the executor has reported one (DiagnosticsCollector::TaskDied) and the queue then stays empty for
// two seconds, the wait ends.
//
// Thread safety: call from the thread that drains the main-thread queue.

#ifndef ZORVCAPSULE_TOOLS_MAIN_THREAD_PUMP_H_
#define ZORVCAPSULE_TOOLS_MAIN_THREAD_PUMP_H_

#include <functional>

#include "tools/diagnostics_collector.h"

namespace capsuletool {

// True once `done` holds; false when the wait ended because a task died.
bool PumpMainThreadUntil(const std::function<bool()>& done, const DiagnosticsCollector& diagnostics,
                         const std::function<void()>& between);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_MAIN_THREAD_PUMP_H_
