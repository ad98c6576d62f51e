#include "host/core/date_time.h"

#include <boost/date_time/gregorian/gregorian_types.hpp>

namespace zorvcore {
namespace {

namespace pt = boost::posix_time;

const pt::ptime& Epoch() {
  static const pt::ptime epoch(boost::gregorian::date(1970, 1, 1));
  return epoch;
}

// The span ptime can represent, in microseconds since the epoch; outside it, building a ptime
// would throw from the calendar code.
int64_t EarliestRepresentable() {
  static const int64_t value =
      (pt::ptime(pt::min_date_time) - Epoch()).total_microseconds();
  return value;
}

int64_t LatestRepresentable() {
  static const int64_t value =
      (pt::ptime(pt::max_date_time) - Epoch()).total_microseconds();
  return value;
}

}  // namespace

DateTime DateTime::FromPtime(const pt::ptime& time) {
  if (time.is_special()) return DateTime{};
  return DateTime{(time - Epoch()).total_microseconds()};
}

pt::ptime DateTime::ToPtime() const {
  if (!IsSet() || microseconds < EarliestRepresentable() ||
      microseconds > LatestRepresentable()) {
    return pt::ptime(pt::not_a_date_time);
  }
  return Epoch() + pt::microseconds(microseconds);
}

}  // namespace zorvcore
