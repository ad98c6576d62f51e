// MediaTime: a point or span of media time in seconds, as an exact fraction (1001/30000 stays
// exact where a double would drift). boost::rational keeps it reduced with a positive denominator
// and throws boost::bad_rational for a zero denominator. The default is 0/1.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_MEDIA_TIME_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_MEDIA_TIME_H_

#include <cstdint>

#include <boost/rational.hpp>

namespace hostbridge {

using MediaTime = boost::rational<int64_t>;

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_MEDIA_TIME_H_
