// DateTime is the host's 8-byte time value: microseconds since 1970-01-01 00:00:00 UTC.
//
// It is a trivially copyable struct of exactly one int64, so callers may feed its 8 bytes into a
// hash (the value of a time is the same in every run and build on this platform). One bit
// pattern, INT64_MIN, stands for "no time" (a missing file, a failed conversion); it converts to
// and from boost::posix_time::not_a_date_time.
//
// Thread safety: a plain value; distinct objects may be used from any thread, one object like an
// int.

#ifndef ZORVCAPSULE_HOST_CORE_DATE_TIME_H_
#define ZORVCAPSULE_HOST_CORE_DATE_TIME_H_

#include <compare>
#include <cstdint>
#include <limits>

#include <boost/date_time/posix_time/posix_time_types.hpp>

namespace zorvcore {

struct DateTime {
  static constexpr int64_t kUnset = std::numeric_limits<int64_t>::min();

  // Microseconds since the epoch, or kUnset.
  int64_t microseconds = kUnset;

  static constexpr DateTime FromMicroseconds(int64_t microsecondsSinceEpoch) {
    return DateTime{microsecondsSinceEpoch};
  }

  // Special values (not-a-date-time, the infinities) give an unset DateTime.
  static DateTime FromPtime(const boost::posix_time::ptime& time);

  // An unset value, or one outside the years 1400 to 9999 that ptime can hold, gives
  // not-a-date-time.
  boost::posix_time::ptime ToPtime() const;

  constexpr bool IsSet() const { return microseconds != kUnset; }

  friend constexpr bool operator==(DateTime, DateTime) = default;
  friend constexpr auto operator<=>(DateTime, DateTime) = default;
};

static_assert(sizeof(DateTime) == 8, "DateTime's bytes are hashed as exactly 8 bytes");

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_DATE_TIME_H_
