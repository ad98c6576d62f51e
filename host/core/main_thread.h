// The main-thread queue: how work reaches the host's main thread.
//
// Library code on worker threads hands results to the host with AsyncCallFromMainThread; the tasks
// wait in one process-wide queue until the host's main thread drains it. A host with an event loop
// installs a wake-up function (called on the queuing thread whenever a task arrives) and drains the
// queue from its loop with RunMainThreadTasks; a command-line host or a test that has no loop waits
// with WaitAndRunMainThreadTasks.
//
// Tasks run in the order they were queued. A task that throws is reported through
// debug::ReportDiagnostic and the remaining tasks still run.
//
// Thread safety: AsyncCallFromMainThread and SetMainThreadWakeUp may be called from any thread. The
// draining functions are to be called from the host's main thread only (whichever thread the host
// treats as such); tasks queued while draining run in the same call only if they arrived before the
// drain took its batch, so a task that requeues itself cannot starve the caller.

#ifndef ZORVCAPSULE_HOST_CORE_MAIN_THREAD_H_
#define ZORVCAPSULE_HOST_CORE_MAIN_THREAD_H_

#include <chrono>
#include <cstddef>
#include <functional>

namespace zorvcore {

// Queues `task` for the main thread and returns at once.
// `flags` keeps the host's call form, whose callers pass 0; no flag changes when or where a task runs.
void AsyncCallFromMainThread(std::function<void()> task, int flags = 0);

// Runs every task queued so far and returns how many ran.
size_t RunMainThreadTasks();

// Waits until at least one task is queued or `timeout` has passed, then runs the queued tasks.
// Returns how many ran (0 when the time ran out with an empty queue).
size_t WaitAndRunMainThreadTasks(std::chrono::milliseconds timeout);

// Number of tasks waiting.
size_t PendingMainThreadTasks();

// Installs the function called after each task is queued (an empty function removes it), for a host
// that wakes its event loop. It runs on the queuing thread and must return quickly.
void SetMainThreadWakeUp(std::function<void()> wake_up);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_MAIN_THREAD_H_
