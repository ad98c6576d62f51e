// ServePolicy: how `capsule stock serve` misbehaves when asked to, so a host's failure paths can be
// tried on purpose.
//
// --latency MS delays every answer by MS milliseconds. --fail-rate P answers that fraction of the
// requests that may fail on purpose (search, member profile, content licence, download redirect)
// with 503; which ones is drawn from a generator seeded with --seed, so one seed and one sequence of
// requests give the same failures. The identity endpoint and the files never fail on purpose.
//
// Thread safety: any method from any thread; draws take turns.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_POLICY_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_POLICY_H_

#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>

namespace capsuletool {

class ServePolicy {
 public:
  // REQUIRES: 0 <= failRate <= 1.
  ServePolicy(std::chrono::milliseconds latency, double failRate, uint64_t seed);

  // Waits out the latency on the calling thread.
  void Delay() const;
  // True when this request is to fail.
  bool DrawFailure();

 private:
  const std::chrono::milliseconds latency_;
  const double failRate_;
  std::mutex mutex_;
  std::mt19937_64 generator_;  // guarded by mutex_
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_POLICY_H_
