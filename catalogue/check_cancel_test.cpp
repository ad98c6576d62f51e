// The cancellation token: one abort, consumed once and then reported to every caller, whichever
// thread asks first.
#include "catalogue/check_cancel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <memory>
#include <thread>
#include <vector>

namespace zorvcapsule {
namespace {

// The window between consuming the request and latching it is a few instructions wide, so only
// many tokens with their callers released together can show a caller told "no abort" in it.
TEST(CheckCancelTest, CallersRacingOnAnAbortedTokenAllSeeTheAbort) {
  constexpr size_t kTokens = 100000;
  const size_t callers = std::max<size_t>(2, std::min<size_t>(4, std::thread::hardware_concurrency()));
  std::vector<std::shared_ptr<CheckCancel>> tokens(kTokens);
  for (auto& token : tokens) {
    token = std::make_shared<CheckCancel>();
    token->Abort();
  }
  std::barrier start(static_cast<std::ptrdiff_t>(callers));
  std::atomic<size_t> missed{0};
  std::vector<std::thread> threads;
  for (size_t t = 0; t < callers; ++t) {
    threads.emplace_back([&] {
      for (const auto& token : tokens) {
        start.arrive_and_wait();
        if (!token->GetAbort()) missed.fetch_add(1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(missed.load(), 0u);
}

}  // namespace
}  // namespace zorvcapsule
