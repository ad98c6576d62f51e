#include "host/hostbridge/source_info.h"

#include <gtest/gtest.h>

namespace hostbridge {
namespace {

TEST(SourceInfoTest, EqualityReachesNestedRecords) {
  SourceInfo withHeader, withParam;
  withHeader.farside_asset_request_info.server_connect_info.headers["X-Trace"] = "1";
  EXPECT_NE(withHeader, SourceInfo());
  withParam.capsule_params.params.emplace_back();
  EXPECT_NE(withParam, SourceInfo());
  EXPECT_EQ(SourceInfo(withParam), withParam);
}

TEST(MediaTimeTest, KeepsFractionsReduced) {
  EXPECT_EQ(MediaTime(6, 4), MediaTime(3, 2));
  EXPECT_EQ(MediaTime(6, 4).denominator(), 2);
  EXPECT_THROW(MediaTime(1, 0), boost::bad_rational);
}

}  // namespace
}  // namespace hostbridge
