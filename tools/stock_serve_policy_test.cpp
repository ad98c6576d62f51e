// The failures `capsule stock serve --fail-rate P --seed S` picks: the same for the same seed, and
// the rate's share of requests.
#include "tools/stock_serve_policy.h"

#include <gtest/gtest.h>

#include <vector>

namespace capsuletool {
namespace {

std::vector<bool> Draws(double rate, uint64_t seed, size_t count) {
  ServePolicy policy(std::chrono::milliseconds(0), rate, seed);
  std::vector<bool> draws;
  for (size_t i = 0; i < count; ++i) draws.push_back(policy.DrawFailure());
  return draws;
}

size_t Failures(const std::vector<bool>& draws) {
  size_t failures = 0;
  for (const bool failed : draws) failures += failed ? 1 : 0;
  return failures;
}

TEST(StockServePolicyTest, ASeedPicksTheSameFailuresEveryRun) {
  EXPECT_EQ(Draws(0.3, 7, 200), Draws(0.3, 7, 200));
  EXPECT_NE(Draws(0.3, 7, 200), Draws(0.3, 8, 200));
}

TEST(StockServePolicyTest, TheRateIsTheShareOfFailedRequests) {
  const struct {
    double rate;
    size_t least, most;  // of 1000 draws
  } cases[] = {{0.0, 0, 0}, {1.0, 1000, 1000}, {0.25, 200, 300}, {0.5, 440, 560}};
  for (const auto& c : cases) {
    const size_t failures = Failures(Draws(c.rate, 1, 1000));
    EXPECT_GE(failures, c.least) << c.rate;
    EXPECT_LE(failures, c.most) << c.rate;
  }
}

}  // namespace
}  // namespace capsuletool
