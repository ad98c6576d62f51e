#include "host/core/executor.h"

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/debug.h"
#include "host/core/gate.h"

namespace zorvcore {
namespace {

// Captures diagnostics for the duration of a test.
class CapturedReports {
 public:
  CapturedReports() {
    previous_ = debug::SetAssertReporter([this](const debug::AssertReport& report) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(report.message);
      return debug::AssertAction::kContinue;
    });
  }
  ~CapturedReports() { debug::SetAssertReporter(previous_); }
  std::vector<std::string> Messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

 private:
  debug::AssertReporter previous_;
  std::mutex mutex_;
  std::vector<std::string> messages_;
};

TEST(SerialExecutorTest, RunsTasksOneAtATimeInOrder) {
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  std::vector<int> order;  // unsynchronized on purpose: a serial queue needs no lock
  std::atomic<int> concurrent{0};
  std::atomic<int> max_concurrent{0};
  Gate done;
  constexpr int kTasks = 200;
  for (int i = 0; i < kTasks; ++i) {
    serial->Submit([&, i] {
      int now = ++concurrent;
      int seen = max_concurrent.load();
      while (now > seen && !max_concurrent.compare_exchange_weak(seen, now)) {
      }
      order.push_back(i);
      --concurrent;
      if (i == kTasks - 1) done.Open();
    }, 0);
  }
  ASSERT_TRUE(done.PassThrough(Gate::kWaitForever));
  serial->Stop();
  EXPECT_EQ(max_concurrent.load(), 1);
  ASSERT_EQ(order.size(), static_cast<size_t>(kTasks));
  for (int i = 0; i < kTasks; ++i) EXPECT_EQ(order[i], i);
}

TEST(SerialExecutorTest, StopDropsQueuedTasksAndRefusesNewOnes) {
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  Gate started, release;
  std::atomic<int> later_runs{0};
  serial->Submit([&] {
    started.Open();
    release.PassThrough(Gate::kWaitForever);
  });
  for (int i = 0; i < 10; ++i) serial->Submit([&] { ++later_runs; });
  ASSERT_TRUE(started.PassThrough(Gate::kWaitForever));
  std::thread stopper([&] { serial->Stop(); });
  // Stop waits for the running task, which waits for us: release it.
  while (!serial->IsStopped()) std::this_thread::yield();
  release.Open();
  stopper.join();
  EXPECT_FALSE(serial->Submit([&] { ++later_runs; }));
  EXPECT_EQ(later_runs.load(), 0);
  serial->Stop();  // a second stop is harmless
}

TEST(SerialExecutorTest, StopFromOwnTaskDoesNotWaitForItself) {
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  Gate done;
  std::atomic<bool> ran_after{false};
  serial->Submit([&] {
    serial->Stop();
    done.Open();
  });
  serial->Submit([&] { ran_after = true; });
  ASSERT_TRUE(done.PassThrough(Gate::kWaitForever));
  serial->Stop();
  EXPECT_FALSE(ran_after.load());
}

TEST(SerialExecutorTest, ThrowingTaskIsReportedAndQueueGoesOn) {
  CapturedReports reports;
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  Gate done;
  serial->Submit([] { throw std::runtime_error("boom"); });
  serial->Submit([&] { done.Open(); });
  ASSERT_TRUE(done.PassThrough(Gate::kWaitForever));
  serial->Stop();
  ASSERT_EQ(reports.Messages().size(), 1u);
  EXPECT_NE(reports.Messages()[0].find("boom"), std::string::npos);
}

TEST(ExecuteOnAllProcessorsTest, RunsEveryChunkOnce) {
  std::vector<std::atomic<int>> runs(1000);
  ExecuteCPUBoundTaskOnAllProcessors([&](size_t chunk) { ++runs[chunk]; }, runs.size());
  for (auto& count : runs) EXPECT_EQ(count.load(), 1);
}

TEST(ExecuteOnAllProcessorsTest, FinishesWhenCalledFromEveryPoolThread) {
  // Occupy every pool thread with a chunk that itself fans out: the callers must do the inner chunks
  // themselves rather than wait for a free pool thread.
  const size_t outer = WorkerPoolSize() * 2;
  std::atomic<size_t> total{0};
  ExecuteCPUBoundTaskOnAllProcessors([&](size_t) { ExecuteCPUBoundTaskOnAllProcessors([&](size_t) { ++total; }, 64); },
                                     outer);
  EXPECT_EQ(total.load(), outer * 64);
}

TEST(ExecuteOnAllProcessorsTest, RethrowsTheChunkExceptionToTheCaller) {
  std::atomic<int> runs{0};
  EXPECT_THROW(ExecuteCPUBoundTaskOnAllProcessors(
                   [&](size_t chunk) {
                     ++runs;
                     if (chunk == 3) throw std::invalid_argument("chunk 3");
                   },
                   16),
               std::invalid_argument);
  EXPECT_GE(runs.load(), 1);
  ExecuteCPUBoundTaskOnAllProcessors([](size_t) {}, 0);  // nothing to do is fine
}

}  // namespace
}  // namespace zorvcore
