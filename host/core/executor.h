// Executors: queues of parameterless tasks that run off the calling thread.
//
// The process has one pool of worker threads for CPU-bound work, one per processor (at least two).
// CreateCPUBoundExecutor hands out an executor that posts straight to that pool; CreateSubExecutor makes
// a queue whose tasks run at most `limit` at a time, in the order they were submitted. A serial queue
// runs on a thread of its own rather than on the pool, so that its tasks may wait (on the network,
// say) without taking a thread from the pool's CPU work; its tasks still fan CPU work out to the pool
// with ExecuteCPUBoundTaskOnAllProcessors. The template library's source manager runs its whole
// request queue on one serial sub-executor.
//
// A task must not let an exception escape; one that does is caught at the task boundary and reported
// through debug::ReportDiagnostic, and the queue carries on with the next task.
//
// Thread safety: every member may be called from any thread, including from a task of the executor
// itself. Stop is final.

#ifndef ZORVCAPSULE_HOST_CORE_EXECUTOR_H_
#define ZORVCAPSULE_HOST_CORE_EXECUTOR_H_

#include <cstddef>
#include <functional>
#include <memory>

namespace zorvcore {

class Executor {
 public:
  using Task = std::function<void()>;

  Executor() = default;
  Executor(const Executor&) = delete;
  Executor& operator=(const Executor&) = delete;
  virtual ~Executor() = default;

  // Queues `task` and returns at once. `flags` is reserved; callers pass 0. Returns false, dropping the
  // task, when the executor has been stopped.
  virtual bool Submit(Task task, int flags = 0) = 0;

  // After Stop no new task starts: tasks still queued are dropped without running. A task already
  // running is waited for, unless Stop is called from one of this executor's own tasks (which would
  // wait for itself). Stopping twice does nothing more.
  virtual void Stop() = 0;

  virtual bool IsStopped() const = 0;
};

using ExecutorPtr = std::shared_ptr<Executor>;

// An executor over the process-wide worker pool; its tasks may run in parallel. Stopping it stops
// only this handle, never the pool.
ExecutorPtr CreateCPUBoundExecutor();

// A queue running at most `limit` tasks at once, in submission order. A limit of -1 (the usual
// argument), 0 or 1 makes a serial queue: one task at a time, each starting after the previous one
// ended, on the queue's own thread (started with the first task, ended by Stop or destruction).
// `parent` names the pool a queue of more than one task at a time borrows its threads from.
// REQUIRES: parent was made by CreateCPUBoundExecutor.
ExecutorPtr CreateSubExecutor(const ExecutorPtr& parent, int limit);

// Runs task(chunk) for every chunk index in [0, count) and returns when all have run. The chunks are
// shared out among the pool's threads and the calling thread, which takes chunks itself, so a call
// made from inside a pool task finishes even when every pool thread is busy. If a chunk throws, chunks
// not yet started are skipped and the first exception is rethrown here once the others have ended.
void ExecuteCPUBoundTaskOnAllProcessors(const std::function<void(size_t chunk)>& task, size_t count);

// Number of threads in the worker pool.
size_t WorkerPoolSize();

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_EXECUTOR_H_
