// SampleRandom: the generator behind the sample templates' variety.
//
// A 64-bit mixing sequence whose every draw is defined here, not by the standard library's
// distributions, so one seed gives the same sample templates on every platform and compiler.
//
// Thread safety: not synchronized; one generator per thread.

#ifndef ZORVCAPSULE_SAMPLES_SAMPLE_RANDOM_H_
#define ZORVCAPSULE_SAMPLES_SAMPLE_RANDOM_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvsamples {

class SampleRandom {
 public:
  explicit SampleRandom(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A number in [0, bound).
  // REQUIRES: bound > 0.
  size_t Below(size_t bound) { return static_cast<size_t>(Next() % bound); }

  // True in `percent` of the draws.
  bool Chance(unsigned percent) { return Below(100) < percent; }

  // A number in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) / static_cast<double>(1ull << 53); }

  // REQUIRES: choices is not empty.
  template <class T>
  const T& Pick(const std::vector<T>& choices) {
    return choices[Below(choices.size())];
  }

 private:
  uint64_t state_;
};

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_SAMPLE_RANDOM_H_
