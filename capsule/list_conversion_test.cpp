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

TEST(ConvertListTest, KeepsOrderOnBothSidesOfTheThreshold) {
  for (size_t n : {size_t{0}, size_t{1}, size_t{512}, size_t{513}, size_t{1000}, size_t{4096 + 31}}) {
    const auto input = Iota(n);
    const auto output = ConvertList<std::string>(input, [](int v) { return std::to_string(v); });
    ASSERT_EQ(output.size(), n);
    for (size_t i = 0; i < n; ++i) ASSERT_EQ(output[i], std::to_string(i)) << "n=" << n;
  }
}

TEST(ConvertListTest, ShortListsStayOnTheCallingThread) {
  const auto caller = std::this_thread::get_id();
  std::atomic<int> elsewhere{0};
  ConvertList<int>(Iota(512), [&](int v) {
    if (std::this_thread::get_id() != caller) ++elsewhere;
    return v;
  });
  EXPECT_EQ(elsewhere.load(), 0);
}

TEST(ConvertListTest, RemainderIsConvertedOnTheCallingThread) {
  // 1000 = 31 chunks of 32 plus 8: the last 8 run on the caller after the chunks.
  const auto caller = std::this_thread::get_id();
  std::vector<int> on_caller(1000, 0);
  ConvertList<int>(Iota(1000), [&](int v) {
    on_caller[v] = std::this_thread::get_id() == caller ? 1 : 0;
    return v;
  });
  for (int i = 992; i < 1000; ++i) EXPECT_EQ(on_caller[i], 1);
}

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
}

TEST(ConvertListTest, ConversionErrorReachesTheCaller) {
  auto throwing = [](int v) -> int {
    if (v == 700) throw std::bad_cast();
    return v;
  };
  EXPECT_THROW(ConvertList<int>(Iota(1000), throwing), std::bad_cast);
  EXPECT_THROW(ConvertList<int>(Iota(701), [](int v) -> int {
                 if (v == 700) throw std::runtime_error("remainder");
                 return v;
               }),
               std::runtime_error);
}

}  // namespace
}  // namespace zorvcapsule::serialization
