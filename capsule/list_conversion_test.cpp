#include "capsule/list_conversion.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace zorvcapsule::serialization {
namespace {

std::vector<int> Iota(size_t n) {
  std::vector<int> values(n);
  for (size_t i = 0; i < n; ++i) values[i] = static_cast<int>(i);
  return values;
}

// Order through the pool is kept in the description round trip and the long control and text lists.
TEST(ConvertListTest, TheFirstFailingElementInListOrderIsReported) {
  // Element 700 fails only once element 1500 has failed (or after a generous wait, should both fall
  // to one thread in order): the error reported must still be 700's.
  std::atomic<bool> laterFailed{false};
  auto throwing = [&](int v) -> int {
    if (v == 1500) {
      laterFailed = true;
      throw std::runtime_error("1500");
    }
    if (v == 700) {
      for (int i = 0; i < 5000 && !laterFailed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      throw std::runtime_error("700");
    }
    return v;
  };
  try {
    ConvertList<int>(Iota(2000), throwing);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "700");
  }
  // A failure in the remainder, converted on the caller, reaches it too.
  EXPECT_THROW(ConvertList<int>(Iota(701), [](int v) -> int {
                 if (v == 700) throw std::bad_cast();
                 return v;
               }),
               std::bad_cast);
}

}  // namespace
}  // namespace zorvcapsule::serialization
