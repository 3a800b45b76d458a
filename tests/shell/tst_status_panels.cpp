// What the status bar's view panels show when clicked.
#include <gtest/gtest.h>

#include <limits>

#include "status_panels.h"

namespace orvane {
namespace {

struct PanelCase {
  const char* name;
  int panel;
  double value;
  const char* text;
};

class PanelRefresh : public testing::TestWithParam<PanelCase> {};

TEST_P(PanelRefresh, ShowsTheFlooredView) {
  const PanelCase& c = GetParam();
  ExplorerState state;
  state.viewZoom = c.panel == status_panel::kZoom ? c.value : 1;
  state.viewX = c.panel == status_panel::kCentreX ? c.value : 0;
  state.viewY = c.panel == status_panel::kCentreY ? c.value : 0;
  EXPECT_EQ(panelRefreshText(c.panel, state), QString::fromUtf8(c.text));
}

constexpr double kHuge = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Panels, PanelRefresh,
    testing::Values(PanelCase{"Zoom1", 4, 1, "0"}, PanelCase{"Zoom2", 4, 2, "0.3"},
                    PanelCase{"ZoomHalf", 4, 0.5, "-0.4"}, PanelCase{"Zoom10", 4, 10, "1"},
                    PanelCase{"Zoom16", 4, 16, "1.2"}, PanelCase{"Zoom256", 4, 256, "2.4"},
                    PanelCase{"ZoomZero", 4, 0, "无效"}, PanelCase{"ZoomNegative", 4, -2, "无效"},
                    PanelCase{"XHome", 5, -0.5, "-0.5"},
                    PanelCase{"XPositive", 5, 0.123456789, "0.12345678"},
                    PanelCase{"XNegativeFloors", 5, -0.123456789, "-0.12345679"},
                    PanelCase{"XTiny", 5, -0.000000001, "-1E-08"},
                    PanelCase{"XHuge", 5, kHuge, "1.79769313486232E+308"},
                    PanelCase{"YZero", 6, 0, "0"}, PanelCase{"YTinyPositive", 6, 1e-9, "0"},
                    PanelCase{"YNegative", 6, -1.5, "-1.5"}),
    [](const testing::TestParamInfo<PanelCase>& row) { return row.param.name; });

TEST(PanelRefresh, ClicksOnPictureDateAndTimeChangeNothing) {
  ExplorerState state;
  for (int panel : {0, 1, 2, 3, 7}) EXPECT_FALSE(panelRefreshText(panel, state).has_value());
}

}  // namespace
}  // namespace orvane
