#include "host/core/executor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>

#include "host/core/debug.h"

namespace zorvcore {
namespace {

size_t PoolThreadCount() { return std::max<size_t>(2, std::thread::hardware_concurrency()); }

boost::asio::thread_pool& WorkerPool() {
  static boost::asio::thread_pool pool(PoolThreadCount());
  return pool;
}

void RunGuarded(const Executor::Task& task) {
  try {
    task();
  } catch (const std::exception& e) {
    debug::ReportDiagnostic("zorvcore::Executor", std::string("task ended by an exception: ") + e.what());
  } catch (...) {
    debug::ReportDiagnostic("zorvcore::Executor", "task ended by an unknown exception");
  }
}

// Counts the tasks of one executor that are running, so Stop can wait for them, and knows whether
// the current thread is inside one of them.
class RunningTasks {
 public:
  // Returns false when the executor was stopped before the task could start.
  bool Enter() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_) return false;
    ++running_;
    Current().push_back(this);
    return true;
  }
  void Leave() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
      Current().pop_back();
    }
    idle_.notify_all();
  }
  void StopAndWait() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopped_ = true;
    const bool inside = std::find(Current().begin(), Current().end(), this) != Current().end();
    const size_t own = inside ? 1 : 0;
    idle_.wait(lock, [&] { return running_ <= own; });
  }
  bool IsStopped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopped_;
  }

 private:
  static std::vector<const RunningTasks*>& Current() {
    thread_local std::vector<const RunningTasks*> current;
    return current;
  }

  mutable std::mutex mutex_;
  std::condition_variable idle_;
  size_t running_ = 0;
  bool stopped_ = false;
};

// One task at a time, in order, on a thread of the queue's own. A serial queue's tasks may block on
// the network for seconds (a stock search, a token fetch); on a thread borrowed from the pool, a few
// such queues would hold every pool thread and stall every other queue's CPU work behind them.
class SerialExecutor : public Executor {
 public:
  ~SerialExecutor() override { Stop(); }

  bool Submit(Task task, int) override {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->closing || shared_->runningTasks.IsStopped()) return false;
    shared_->queue.push_back(std::move(task));
    if (!thread_.joinable()) thread_ = std::thread([shared = shared_] { RunQueue(*shared); });
    shared_->wake.notify_one();
    return true;
  }

  void Stop() override {
    shared_->runningTasks.StopAndWait();
    std::thread finished;
    {
      std::lock_guard<std::mutex> lock(shared_->mutex);
      shared_->closing = true;
      shared_->queue.clear();
      finished = std::move(thread_);
    }
    shared_->wake.notify_one();
    if (!finished.joinable()) return;
    // Stopped from one of its own tasks, the thread cannot wait for itself; it ends after that task.
    if (finished.get_id() == std::this_thread::get_id()) {
      finished.detach();
    } else {
      finished.join();
    }
  }

  bool IsStopped() const override { return shared_->runningTasks.IsStopped(); }

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Task> queue;  // guarded by mutex
    bool closing = false;    // guarded by mutex
    RunningTasks runningTasks;
  };

  static void RunQueue(Shared& shared) {
    for (;;) {
      Task next;
      {
        std::unique_lock<std::mutex> lock(shared.mutex);
        shared.wake.wait(lock, [&] { return shared.closing || !shared.queue.empty(); });
        if (shared.closing) return;
        next = std::move(shared.queue.front());
        shared.queue.pop_front();
      }
      if (shared.runningTasks.Enter()) {
        RunGuarded(next);
        shared.runningTasks.Leave();
      }
    }
  }

  const std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  std::thread thread_;  // guarded by shared_->mutex
};

// The shared state of one ExecuteCPUBoundTaskOnAllProcessors call. Pool helpers may start after the
// call has returned; they then find no chunk left and leave.
struct ChunkRun {
  std::function<void(size_t)> task;
  size_t count = 0;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::condition_variable all_done;
  size_t done = 0;
  std::exception_ptr error;

  void TakeChunks() {
    for (;;) {
      const size_t chunk = next.fetch_add(1);
      if (chunk >= count) return;
      if (!failed.load()) RunChunk(chunk);
      std::lock_guard<std::mutex> lock(mutex);
      if (++done == count) all_done.notify_all();
    }
  }

  void RunChunk(size_t chunk) {
    try {
      task(chunk);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex);
      if (!error) error = std::current_exception();
      failed = true;
    }
  }
};

}  // namespace

ExecutorPtr CreateCPUBoundExecutor() { return nullptr; }

ExecutorPtr CreateSubExecutor(const ExecutorPtr&, int) { return std::make_shared<SerialExecutor>(); }

void ExecuteCPUBoundTaskOnAllProcessors(const std::function<void(size_t chunk)>& task, size_t count) {
  if (count == 0) return;
  auto run = std::make_shared<ChunkRun>();
  run->task = task;
  run->count = count;
  const size_t helpers = std::min(count - 1, WorkerPoolSize());
  for (size_t i = 0; i < helpers; ++i) boost::asio::post(WorkerPool(), [run] { run->TakeChunks(); });
  run->TakeChunks();
  std::unique_lock<std::mutex> lock(run->mutex);
  run->all_done.wait(lock, [&] { return run->done == run->count; });
  if (run->error) std::rethrow_exception(run->error);
}

size_t WorkerPoolSize() { return PoolThreadCount(); }

}  // namespace zorvcore
