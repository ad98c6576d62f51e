#include "host/core/main_thread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>

#include "host/core/debug.h"

namespace zorvcore {
namespace {

struct MainThreadQueue {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<std::function<void()>> tasks;
  std::function<void()> wake_up;
};

MainThreadQueue& Queue() {
  static MainThreadQueue queue;
  return queue;
}

void RunReported(const std::function<void()>& task) {
  try {
    task();
  } catch (const std::exception& e) {
    debug::ReportDiagnostic("zorvcore::MainThread", std::string("main-thread task ended by an exception: ") + e.what());
  } catch (...) {
    debug::ReportDiagnostic("zorvcore::MainThread", "main-thread task ended by an unknown exception");
  }
}

size_t RunBatch(std::deque<std::function<void()>> batch) {
  for (const auto& task : batch) RunReported(task);
  return batch.size();
}

}  // namespace

void AsyncCallFromMainThread(std::function<void()> task, int) {
  if (!task) return;
  std::function<void()> wake_up;
  {
    std::lock_guard<std::mutex> lock(Queue().mutex);
    Queue().tasks.push_back(std::move(task));
    wake_up = Queue().wake_up;
  }
  Queue().arrived.notify_all();
  if (wake_up) wake_up();
}

size_t RunMainThreadTasks() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard<std::mutex> lock(Queue().mutex);
    batch.swap(Queue().tasks);
  }
  return RunBatch(std::move(batch));
}

size_t WaitAndRunMainThreadTasks(std::chrono::milliseconds timeout) {
  std::deque<std::function<void()>> batch;
  {
    std::unique_lock<std::mutex> lock(Queue().mutex);
    Queue().arrived.wait_for(lock, timeout, [] { return !Queue().tasks.empty(); });
    batch.swap(Queue().tasks);
  }
  return RunBatch(std::move(batch));
}

size_t PendingMainThreadTasks() {
  std::lock_guard<std::mutex> lock(Queue().mutex);
  return Queue().tasks.size();
}

void SetMainThreadWakeUp(std::function<void()> wake_up) {
  std::lock_guard<std::mutex> lock(Queue().mutex);
  Queue().wake_up = std::move(wake_up);
}

}  // namespace zorvcore
