#include "tools/stock_serve_policy.h"

#include <thread>

namespace capsuletool {

ServePolicy::ServePolicy(std::chrono::milliseconds latency, double failRate, uint64_t seed)
    : latency_(latency), failRate_(failRate), generator_(seed) {}

void ServePolicy::Delay() const {
  if (latency_.count() > 0) std::this_thread::sleep_for(latency_);
}

bool ServePolicy::DrawFailure() {
  if (failRate_ <= 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  // 53 random bits make a fraction in [0, 1) the same on every platform, unlike the standard
  // distributions, so a seed means the same failures everywhere. A rate of 1 fails every request.
  const double draw = static_cast<double>(generator_() >> 11) * 0x1.0p-53;
  return draw < failRate_;
}

}  // namespace capsuletool
