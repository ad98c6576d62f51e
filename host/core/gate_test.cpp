#include "host/core/gate.h"

#include <thread>

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

TEST(GateTest, AClosedGateGivesUpAfterItsLimitAndOpeningFromAnotherThreadReleasesAWaiter) {
  Gate gate;
  EXPECT_FALSE(gate.PassThrough(0));
  EXPECT_FALSE(gate.PassThrough(20));
  EXPECT_FALSE(gate.IsOpen());
  Gate open(true);
  EXPECT_TRUE(open.PassThrough(0));
  EXPECT_TRUE(open.PassThrough(Gate::kWaitForever));
  // Opened from another thread, while a waiter waits and after a waiter gave up.
  Gate late;
  std::thread opener([&] { gate.Open(); });
  EXPECT_TRUE(gate.PassThrough(Gate::kWaitForever));
  opener.join();
  EXPECT_FALSE(late.PassThrough(1));
  std::thread([&] { late.Open(); }).join();
  EXPECT_TRUE(late.PassThrough(0));
}

}  // namespace
}  // namespace zorvcore
