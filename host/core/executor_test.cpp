#include "host/core/executor.h"

#include <atomic>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_report_capture.h"
#include "host/core/gate.h"

namespace zorvcore {
namespace {

TEST(SerialExecutorTest, RunsTasksOneAtATimeInOrder) {
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  std::vector<int> order;  // unsynchronized on purpose: a serial queue needs no lock
  std::atomic<int> concurrent{0}, maxConcurrent{0};
  Gate done;
  std::vector<int> expected;
  for (int i = 0; i < 200; ++i) {
    expected.push_back(i);
    serial->Submit([&, i] {
      const int now = ++concurrent;
      for (int seen = maxConcurrent; now > seen && !maxConcurrent.compare_exchange_weak(seen, now);) {
      }
      order.push_back(i);
      --concurrent;
      if (i == 199) done.Open();
    }, 0);
  }
  ASSERT_TRUE(done.PassThrough(Gate::kWaitForever));
  serial->Stop();
  EXPECT_EQ(maxConcurrent.load(), 1);
  EXPECT_EQ(order, expected);
}

TEST(SerialExecutorTest, StopDropsQueuedTasksAndRefusesNewOnes) {
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  Gate started, release;
  std::atomic<int> laterRuns{0};
  serial->Submit([&] { started.Open(); release.PassThrough(Gate::kWaitForever); });
  for (int i = 0; i < 10; ++i) serial->Submit([&] { ++laterRuns; });
  ASSERT_TRUE(started.PassThrough(Gate::kWaitForever));
  std::thread stopper([&] { serial->Stop(); });
  // Stop waits for the running task, which waits for us: release it.
  while (!serial->IsStopped()) std::this_thread::yield();
  release.Open();
  stopper.join();
  EXPECT_FALSE(serial->Submit([&] { ++laterRuns; }));
  EXPECT_EQ(laterRuns.load(), 0);
  serial->Stop();  // a second stop is harmless
}

TEST(SerialExecutorTest, AThrowingTaskIsReportedAndAStopFromOwnTaskDoesNotWaitForItself) {
  ReportCapture reports;
  ExecutorPtr serial = CreateSubExecutor(CreateCPUBoundExecutor(), -1);
  Gate done;
  std::atomic<bool> ranAfter{false};
  serial->Submit([] { throw std::runtime_error("boom"); });
  serial->Submit([&] { serial->Stop(); done.Open(); });  // runs: the queue went on after the throw
  serial->Submit([&] { ranAfter = true; });
  ASSERT_TRUE(done.PassThrough(Gate::kWaitForever));
  serial->Stop();
  EXPECT_FALSE(ranAfter.load());
  ASSERT_EQ(reports.Messages().size(), 1u);
  EXPECT_NE(reports.Messages()[0].find("boom"), std::string::npos);
}

TEST(ExecuteOnAllProcessorsTest, RunsEveryChunkOnceAndFinishesWhenCalledFromEveryPoolThread) {
  std::vector<std::atomic<int>> runs(1000);
  ExecuteCPUBoundTaskOnAllProcessors([&](size_t chunk) { ++runs[chunk]; }, runs.size());
  for (auto& count : runs) EXPECT_EQ(count.load(), 1);
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
  const auto throwAtThree = [&](size_t chunk) { ++runs; if (chunk == 3) throw std::invalid_argument("chunk 3"); };
  EXPECT_THROW(ExecuteCPUBoundTaskOnAllProcessors(throwAtThree, 16), std::invalid_argument);
  EXPECT_GE(runs.load(), 1);
  ExecuteCPUBoundTaskOnAllProcessors([](size_t) {}, 0);  // nothing to do is fine
}

}  // namespace
}  // namespace zorvcore
