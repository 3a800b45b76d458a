// What the status bar's view panels show when clicked.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "shell/status_panels.h"

namespace orvane {
namespace {

std::string shown(int panel, double zoom, double x, double y) {
  ExplorerState state;
  std::tie(state.viewZoom, state.viewX, state.viewY) = std::tie(zoom, x, y);
  return panelRefreshText(panel, state).value_or("unchanged").toStdString();
}

// Panel 4 shows the magnification's base-10 logarithm floored to one decimal ("无效" where
// there is none), panels 5 and 6 the centre floored, not truncated, to eight decimals; both
// in the general decimal form, with exponents where C's %.15G has them.
TEST(PanelRefresh, ShowsTheFlooredView) {
  const std::pair<double, const char*> zooms[] = {{1, "0"},    {2, "0.3"},  {0.5, "-0.4"},
                                                  {10, "1"},   {16, "1.2"}, {256, "2.4"},
                                                  {0, "无效"}, {-2, "无效"}};
  for (auto [zoom, text] : zooms) EXPECT_EQ(shown(4, zoom, 0, 0), text) << zoom;
  const std::pair<double, const char*> centres[] = {{-0.5, "-0.5"},     {-1e-9, "-1E-08"},
                                                    {1e-9, "0"},        {-0.0, "0"},
                                                    {0.0001, "0.0001"}, {0.00001, "1E-05"}};
  for (auto [centre, text] : centres) {
    EXPECT_EQ(shown(5, 1, centre, 0), text) << centre;
    EXPECT_EQ(shown(6, 1, 0, centre), text) << centre;
  }
  EXPECT_EQ(shown(5, 1, 0.123456789, 0), "0.12345678");
  EXPECT_EQ(shown(6, 1, 0, -0.123456789), "-0.12345679");
  // Too large to scale by 10^8: shown as it is.
  EXPECT_EQ(shown(5, 1, std::numeric_limits<double>::max(), 0), "1.79769313486232E+308");
}

}  // namespace
}  // namespace orvane
