#include "host/core/date_time.h"

#include <type_traits>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <gtest/gtest.h>

namespace zorvcore {
namespace {

namespace pt = boost::posix_time;
using boost::gregorian::date;

static_assert(std::is_trivially_copyable_v<DateTime>);

TEST(DateTimeTest, ConvertsToAndFromPtimeKeepingMicrosecondsOrNoTime) {
  const pt::ptime time(date(2021, 3, 4), pt::hours(5) + pt::microseconds(123456));
  const DateTime value = DateTime::FromPtime(time);
  // 2021-03-04 is day 18690 after the epoch.
  EXPECT_EQ(value.microseconds, (18690LL * 86400 + 5 * 3600) * 1000000 + 123456);
  EXPECT_EQ(value.ToPtime(), time);

  const pt::ptime beforeEpoch(date(1969, 12, 31), pt::hours(23) + pt::microseconds(1));
  EXPECT_EQ(DateTime::FromPtime(beforeEpoch).microseconds, -3600LL * 1000000 + 1);
  EXPECT_EQ(DateTime::FromPtime(beforeEpoch).ToPtime(), beforeEpoch);

  // Unset and unrepresentable values map to not-a-date-time.
  EXPECT_FALSE(DateTime().IsSet());
  EXPECT_TRUE(DateTime().ToPtime().is_not_a_date_time());
  for (const auto special : {pt::not_a_date_time, pt::pos_infin, pt::neg_infin}) {
    EXPECT_FALSE(DateTime::FromPtime(pt::ptime(special)).IsSet());
  }
  // Far beyond the calendar ptime can hold: no exception, just no time.
  EXPECT_TRUE(DateTime::FromMicroseconds(INT64_MAX).ToPtime().is_not_a_date_time());
  EXPECT_TRUE(DateTime::FromMicroseconds(INT64_MIN + 1).ToPtime().is_not_a_date_time());
  EXPECT_TRUE(DateTime::FromMicroseconds(0).IsSet());
}

}  // namespace
}  // namespace zorvcore
