#include "host/core/main_thread.h"

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_report_capture.h"

namespace zorvcore {
namespace {

using std::chrono::milliseconds;

TEST(MainThreadQueueTest, TasksFromWorkersRunOnTheDrainingThreadInOrder) {
  RunMainThreadTasks();
  std::atomic<int> wakes{0};
  SetMainThreadWakeUp([&] { ++wakes; });
  const auto mainId = std::this_thread::get_id();
  std::vector<int> order, expected;
  bool allOnMain = true;
  std::thread([&] {
    for (int i = 0; i < 100; ++i) {
      AsyncCallFromMainThread([&, i] {
        order.push_back(i);
        allOnMain = allOnMain && std::this_thread::get_id() == mainId;
      }, 0);
      expected.push_back(i);
    }
  }).join();
  SetMainThreadWakeUp(nullptr);
  EXPECT_EQ(wakes.load(), 100);  // one wake-up for every queued task
  EXPECT_EQ(PendingMainThreadTasks(), 100u);
  EXPECT_EQ(RunMainThreadTasks(), 100u);
  EXPECT_EQ(order, expected);
  EXPECT_TRUE(allOnMain);
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

TEST(MainThreadQueueTest, AThrowingTaskIsReportedAndATaskQueuedWhileDrainingWaitsForTheNextDrain) {
  RunMainThreadTasks();
  const ReportCapture capture;
  int runs = 0;
  std::function<void()> requeue = [&] { if (++runs < 2) AsyncCallFromMainThread(requeue); };
  AsyncCallFromMainThread([] { throw std::runtime_error("delivery failed"); });
  AsyncCallFromMainThread(requeue);  // a later task still runs
  EXPECT_EQ(RunMainThreadTasks(), 2u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(RunMainThreadTasks(), 1u);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(PendingMainThreadTasks(), 0u);
  const std::vector<std::string> reports = capture.Messages();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("delivery failed"), std::string::npos);
}

}  // namespace
}  // namespace zorvcore
