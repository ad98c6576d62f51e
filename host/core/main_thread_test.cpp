#include "host/core/main_thread.h"

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/debug.h"

namespace zorvcore {
namespace {

using std::chrono::milliseconds;

TEST(MainThreadQueueTest, TasksFromWorkersRunOnTheDrainingThreadInOrder) {
  RunMainThreadTasks();
  std::atomic<int> wakes{0};
  SetMainThreadWakeUp([&] { ++wakes; });
  const auto main_id = std::this_thread::get_id();
  std::vector<int> order;
  bool all_on_main = true;
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) {
      AsyncCallFromMainThread([&, i] {
        order.push_back(i);
        all_on_main = all_on_main && std::this_thread::get_id() == main_id;
      }, 0);
    }
  });
  worker.join();
  SetMainThreadWakeUp(nullptr);
  EXPECT_EQ(wakes.load(), 100);  // one wake-up for every queued task
  EXPECT_EQ(PendingMainThreadTasks(), 100u);
  EXPECT_EQ(RunMainThreadTasks(), 100u);
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
  EXPECT_TRUE(all_on_main);
}

TEST(MainThreadQueueTest, WaitReturnsWhenATaskArrivesOrTimesOutOnAnEmptyQueue) {
  RunMainThreadTasks();
  EXPECT_EQ(WaitAndRunMainThreadTasks(milliseconds(5)), 0u);
  bool ran = false;
  std::thread worker([&] { AsyncCallFromMainThread([&] { ran = true; }); });
  size_t count = 0;
  while (count == 0) count = WaitAndRunMainThreadTasks(milliseconds(60000));
  worker.join();
  EXPECT_TRUE(ran);
}

TEST(MainThreadQueueTest, ThrowingTaskIsReportedAndLaterTasksRun) {
  RunMainThreadTasks();
  std::vector<std::string> reports;
  auto previous = debug::SetAssertReporter([&](const debug::AssertReport& report) {
    reports.push_back(report.message);
    return debug::AssertAction::kContinue;
  });
  bool later = false;
  AsyncCallFromMainThread([] { throw std::runtime_error("delivery failed"); });
  AsyncCallFromMainThread([&] { later = true; });
  RunMainThreadTasks();
  debug::SetAssertReporter(previous);
  EXPECT_TRUE(later);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("delivery failed"), std::string::npos);
}

TEST(MainThreadQueueTest, TaskQueuedWhileDrainingWaitsForTheNextDrain) {
  RunMainThreadTasks();
  int runs = 0;
  std::function<void()> requeue = [&] {
    if (++runs < 2) AsyncCallFromMainThread(requeue);
  };
  AsyncCallFromMainThread(requeue);
  EXPECT_EQ(RunMainThreadTasks(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(RunMainThreadTasks(), 1u);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(PendingMainThreadTasks(), 0u);
}

}  // namespace
}  // namespace zorvcore
