#include "host/core/gate.h"

#include <memory>
#include <thread>

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

TEST(GateTest, ClosedGateGivesUpAfterItsLimit) {
  Gate gate;
  EXPECT_FALSE(gate.PassThrough(0));
  EXPECT_FALSE(gate.PassThrough(20));
  EXPECT_FALSE(gate.IsOpen());
}

TEST(GateTest, OpenGateLetsEveryoneThroughForever) {
  Gate gate(true);
  EXPECT_TRUE(gate.PassThrough(0));
  EXPECT_TRUE(gate.PassThrough(Gate::kWaitForever));
}

TEST(GateTest, OpeningFromAnotherThreadReleasesWaiter) {
  auto gate = std::make_shared<Gate>();
  std::thread opener([gate] { gate->Open(); });
  EXPECT_TRUE(gate->PassThrough(Gate::kWaitForever));
  opener.join();
}

TEST(GateTest, LateOpenAfterWaiterGaveUpIsHarmless) {
  auto gate = std::make_shared<Gate>();
  EXPECT_FALSE(gate->PassThrough(1));
  std::thread late([gate] { gate->Open(); });
  late.join();
  EXPECT_TRUE(gate->PassThrough(0));
}

}  // namespace
}  // namespace zorvcore
