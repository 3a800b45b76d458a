// The frames of a zoom video: their count, the frames a selection names, the time left from
// their costs, and each one's magnification against the geometric formula worked out here in
// long double.
#include "render/frame_plan.h"
#include "render/frame_progress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvane::render {
namespace {

TEST(FrameCount, RoundsSecondsTimesFramesPerSecond) {
  EXPECT_EQ(frameCount(0.55, 11), 6);  // round(6.05)
  EXPECT_EQ(frameCount(10, 30), 300);
  EXPECT_FALSE(frameCount(0.016, 30)) << "a video has two frames at least";
  EXPECT_FALSE(frameCount(1e6, 30)) << "frame files are numbered with six digits";
}

// The frames a selection names, in order and each once, or nothing.
TEST(FrameSelection, NamesRangesStridesAndLists) {
  using Frames = std::vector<long>;
  EXPECT_EQ(readFrameSelection("2-4", 10), (Frames{2, 3, 4}));
  EXPECT_EQ(readFrameSelection("7", 10), (Frames{7}));
  EXPECT_EQ(readFrameSelection("3/4", 10), (Frames{3, 7}));
  EXPECT_EQ(readFrameSelection("0/3,8-9,1", 10), (Frames{0, 1, 3, 6, 8, 9}));
  EXPECT_EQ(readFrameSelection("9/100", 10), (Frames{9}));
  for (const char* refused :
       {"", "10", "-1", "4-2", "3/0", "10/2", "1,", ",1", "1-2-3", "0-9x", "1/2/3", "0x1"})
    EXPECT_FALSE(readFrameSelection(refused, 10)) << "'" << refused << "'";
  // A list of overlapping items is read in bounded time, or refused.
  std::string many = "0/1";
  for (int i = 0; i < 10000; ++i) many += ",0-999999";
  EXPECT_FALSE(readFrameSelection(many, 1000000));
}

// The time left follows the costs' trend over the frames' scales, not their mean.
TEST(TimeLeft, FollowsTheTrendOfTheCosts) {
  const std::vector<double> scales = {0, 10, 20, 30, 40, 50};
  const std::vector<double> growing = {1, 2, 3};  // 1 + scale / 10
  EXPECT_DOUBLE_EQ(secondsLeft(scales, growing, 0.5), 0.5 * 4 + 5 + 6);
  const std::vector<double> one = {2};
  EXPECT_DOUBLE_EQ(secondsLeft(scales, one, 0), 5 * 2.0);
  const std::vector<double> falling = {9, 5, 1};  // would fall below 0, which counts as 0
  EXPECT_DOUBLE_EQ(secondsLeft(scales, falling, 0), 0);
}

struct Zoom {
  const char* name;
  const char* from;
  const char* to;
  long double z0, z1;
};

class FrameZoom : public testing::TestWithParam<Zoom> {};

// Frame k of n has the magnification z0 (z1 / z0)^(k / (n - 1)), the ends exactly as given.
TEST_P(FrameZoom, FollowsTheGeometricFormula) {
  const Zoom& row = GetParam();
  const deep::ViewNumber from = *deep::ViewNumber::read(row.from);
  const deep::ViewNumber to = *deep::ViewNumber::read(row.to);
  constexpr int n = 6;
  EXPECT_EQ(frameZoom(from, to, 0, n).text(), row.from);
  EXPECT_EQ(frameZoom(from, to, n - 1, n).text(), row.to);
  for (int k = 0; k < n; ++k) {
    const std::string zoom = frameZoom(from, to, k, n).text();
    const long double expected =
        row.z0 * std::pow(row.z1 / row.z0, static_cast<long double>(k) / (n - 1));
    // long double's pow is good to about 1e-16 at these sizes; the texts are far finer.
    const long double value = std::strtold(zoom.c_str(), nullptr);
    EXPECT_LT(std::fabs(value / expected - 1), 1e-14L) << "frame " << k << ": " << zoom;
  }
}

const Zoom kZooms[] = {{"inFromOne", "1", "1e12", 1, 1e12L},
                       {"outToAFraction", "2.5", "0.004", 2.5L, 0.004L},
                       {"mirrored", "-3", "-7e5", -3, -7e5L},
                       {"past1e100", "1", "1e100", 1, 1e100L},
                       {"deepToDeeper", "1e300", "1e1000", 1e300L, 1e1000L}};

INSTANTIATE_TEST_SUITE_P(Rows, FrameZoom, testing::ValuesIn(kZooms),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvane::render
