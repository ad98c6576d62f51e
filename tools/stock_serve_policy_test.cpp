// The failures `capsule stock serve --fail-rate P --seed S` picks: the same for the same seed, and
// the rate's share of requests.
#include "tools/stock_serve_policy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace capsuletool {
namespace {

std::vector<bool> Draws(double rate, uint64_t seed, size_t count = 1000) {
  ServePolicy policy(std::chrono::milliseconds(0), rate, seed);
  std::vector<bool> draws;
  for (size_t i = 0; i < count; ++i) draws.push_back(policy.DrawFailure());
  return draws;
}

TEST(StockServePolicyTest, ASeedPicksTheSameFailuresEveryRunAndTheRateIsTheirShare) {
  EXPECT_EQ(Draws(0.3, 7, 200), Draws(0.3, 7, 200));
  EXPECT_NE(Draws(0.3, 7, 200), Draws(0.3, 8, 200));
  const struct {
    double rate;
    long least, most;  // of 1000 draws
  } cases[] = {{0.0, 0, 0}, {1.0, 1000, 1000}, {0.25, 200, 300}, {0.5, 440, 560}};
  for (const auto& c : cases) {
    const std::vector<bool> draws = Draws(c.rate, 1);
    const long failures = std::count(draws.begin(), draws.end(), true);
    EXPECT_GE(failures, c.least) << c.rate;
    EXPECT_LE(failures, c.most) << c.rate;
  }
}

}  // namespace
}  // namespace capsuletool
