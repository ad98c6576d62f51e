#include "host/hostbridge/source_info.h"

#include <gtest/gtest.h>

namespace hostbridge {
namespace {

TEST(SourceInfoTest, EqualityReachesNestedRecords) {
  SourceInfo with_header;
  with_header.farside_asset_request_info.server_connect_info.headers["X-Trace"] = "1";
  EXPECT_NE(with_header, SourceInfo());

  SourceInfo with_param;
  with_param.capsule_params.params.emplace_back();
  EXPECT_NE(with_param, SourceInfo());

  SourceInfo copy = with_param;
  EXPECT_EQ(copy, with_param);
}

TEST(MediaTimeTest, KeepsFractionsReduced) {
  EXPECT_EQ(MediaTime(6, 4), MediaTime(3, 2));
  EXPECT_EQ(MediaTime(6, 4).denominator(), 2);
  EXPECT_THROW(MediaTime(1, 0), boost::bad_rational);
}

}  // namespace
}  // namespace hostbridge
