// ChangeCoalescer on simulated clocks: how many reports a stream of changes becomes, and when.

#include "host/watch/change_coalescer.h"

#include <gtest/gtest.h>

namespace zorvwatch {
namespace {

using std::chrono::milliseconds;
using Clock = ChangeCoalescer::Clock;

constexpr milliseconds kQuiet(250);
constexpr milliseconds kMaxDelay(1000);

struct Stream {
  const char* name;
  int changes;
  milliseconds interval;
  size_t reports;
};

// Feeds `changes` changes `interval` apart, taking every report that falls due in between (a watcher
// wakes at the earlier of its next event and the deadline), then the last one.
size_t CountReports(const Stream& stream, std::vector<milliseconds>& delays) {
  ChangeCoalescer coalescer(kQuiet, kMaxDelay);
  const Clock::time_point start{};
  size_t reports = 0;
  std::optional<Clock::time_point> firstOfReport;
  auto takeDue = [&](Clock::time_point until) {
    while (const auto deadline = coalescer.Deadline()) {
      if (*deadline > until) return;
      ASSERT_TRUE(coalescer.TakeIfDue(*deadline));
      delays.push_back(std::chrono::duration_cast<milliseconds>(*deadline - *firstOfReport));
      firstOfReport.reset();
      ++reports;
    }
  };
  for (int i = 0; i < stream.changes; ++i) {
    const Clock::time_point now = start + i * stream.interval;
    takeDue(now);
    if (!firstOfReport) firstOfReport = now;
    coalescer.Add({u"/t"}, false, now);
  }
  takeDue(Clock::time_point::max());
  return reports;
}

TEST(ChangeCoalescerTest, StreamsOfChangesBecomeFewReportsNeverLaterThanTheLimit) {
  const Stream streams[] = {
      {"200 copies in a second", 200, milliseconds(5), 1},
      {"200 copies over ten seconds", 200, milliseconds(50), 10},
      {"changes further apart than the quiet period", 5, milliseconds(300), 5},
  };
  for (const Stream& stream : streams) {
    SCOPED_TRACE(stream.name);
    std::vector<milliseconds> delays;
    EXPECT_EQ(CountReports(stream, delays), stream.reports);
    for (const milliseconds delay : delays) EXPECT_LE(delay, kMaxDelay);
  }
}

TEST(ChangeCoalescerTest, AReportIsDueAfterTheQuietPeriodAndHoldsEverythingSinceTheLastOne) {
  ChangeCoalescer coalescer(kQuiet, kMaxDelay);
  const Clock::time_point start{};
  EXPECT_FALSE(coalescer.Deadline());
  coalescer.Add({}, false, start);  // nothing to report
  EXPECT_FALSE(coalescer.Deadline());
  coalescer.Add({u"/b"}, false, start);
  coalescer.Add({u"/a"}, false, start + milliseconds(100));
  EXPECT_FALSE(coalescer.TakeIfDue(start + milliseconds(349)));
  const auto change = coalescer.TakeIfDue(start + milliseconds(350));
  ASSERT_TRUE(change);
  EXPECT_EQ(change->folders, (std::vector<std::u16string>{u"/a", u"/b"}));
  EXPECT_FALSE(change->rescan);
  EXPECT_FALSE(coalescer.Deadline());
  coalescer.Add({}, true, start + milliseconds(400));
  const auto rescan = coalescer.TakeIfDue(start + milliseconds(650));
  EXPECT_TRUE(rescan && rescan->rescan && rescan->folders.empty());
}

}  // namespace
}  // namespace zorvwatch
