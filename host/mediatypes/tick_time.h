// TickTime: a span of media time counted in the host's time ticks.
//
// Frame and sample rates travel as the duration of one frame (or one audio sample frame) in ticks.
// A tick is 1/kTicksPerSecond of a second; that count divides evenly by every common video frame
// rate and audio sample rate, so such durations are exact integers.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_MEDIATYPES_TICK_TIME_H_
#define ZORVCAPSULE_HOST_MEDIATYPES_TICK_TIME_H_

#include <cstdint>

namespace zorvmediatypes {

class TickTime {
 public:
  static constexpr int64_t kTicksPerSecond = 705'600'000;

  constexpr TickTime() = default;  // zero ticks
  static constexpr TickTime FromTicks(int64_t ticks) { return TickTime(ticks); }
  // REQUIRES: frames_per_second > 0.
  static constexpr TickTime PerFrameOfRate(int64_t frames_per_second) {
    return TickTime(kTicksPerSecond / frames_per_second);
  }

  constexpr int64_t Ticks() const { return ticks_; }

  friend constexpr bool operator==(TickTime, TickTime) = default;

 private:
  constexpr explicit TickTime(int64_t ticks) : ticks_(ticks) {}

  int64_t ticks_ = 0;
};

}  // namespace zorvmediatypes

#endif  // ZORVCAPSULE_HOST_MEDIATYPES_TICK_TIME_H_
