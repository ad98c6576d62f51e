// Executors: queues of parameterless tasks that run off the calling thread.
//
// The process has one pool of worker threads for CPU-bound work, one per processor (at least two),
// reached through ExecuteCPUBoundTaskOnAllProcessors. CreateSubExecutor makes a serial queue: its
// tasks run one at a time, in the order they were submitted, on a thread of the queue's own rather
// than on the pool, so that they may wait (on the network, say) without taking a thread from the
// pool's CPU work; they still fan CPU work out to the pool with ExecuteCPUBoundTaskOnAllProcessors.
// The template library's source manager runs its whole request queue on one such queue.
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

  // Queues `task` and returns at once. Returns false, dropping the task, when the executor has been
  // stopped.
  // `flags` keeps the host's submit form, whose callers pass 0; no flag changes how a task runs here.
  virtual bool Submit(Task task, int flags = 0) = 0;

  // After Stop no new task starts: tasks still queued are dropped without running. A task already
  // running is waited for, unless Stop is called from one of this executor's own tasks (which would
  // wait for itself). Stopping twice does nothing more.
  virtual void Stop() = 0;

  virtual bool IsStopped() const = 0;
};

using ExecutorPtr = std::shared_ptr<Executor>;

// Names the process-wide worker pool as the parent of a queue, in the host's form for asking for
// one: CreateSubExecutor(CreateCPUBoundExecutor(), -1). The pool takes work only through
// ExecuteCPUBoundTaskOnAllProcessors, so the handle is empty: there is nothing to submit to.
ExecutorPtr CreateCPUBoundExecutor();

// A serial queue: one task at a time, each starting after the previous one ended, in submission
// order, on the queue's own thread (started with the first task, ended by Stop or destruction).
// `parent` keeps the host's form of the call; every queue runs on a thread of its own, not the pool's.
// `limit` is the most tasks the host lets run at once; -1 (what callers pass), 0 and 1 mean one.
// REQUIRES: limit <= 1.
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
