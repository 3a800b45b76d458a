// The explorer's gestures as views, against points worked by hand from the window's mapping:
// at the home view (800 x 600, twice the window's scale, rotation -90) pixel (0, 0) lies 400
// pixels left of and 300 above the centre -0.5,0, that is at -2.5,-1.5. And the commands it
// copies, read back by the renderer's own command line.
#include <gtest/gtest.h>

#include <QStringList>

#include "explore/explore_steering.h"
#include "explore/picture_file.h"
#include "explore/view_history.h"
#include "render/command_line.h"

namespace orvane::explore {
namespace {

constexpr PosterSize kSize{800, 600};

std::string centreOf(const ViewRequest& view) {
  return view.centre->first.text() + "," + view.centre->second.text();
}

TEST(Steering, GesturesPutThePointsWhereTheyBelong) {
  const ViewRequest home = homeView(kSize);
  const ViewRequest clicked = zoomedInto(home, {0, 0}, "4");
  EXPECT_EQ(clicked.zoom.text(), "4");
  EXPECT_EQ(centreOf(clicked), "-2.5,-1.5");
  // The wheel keeps -2.5,-1.5 under pixel (0, 0): at magnification 2 it is 200 and 150
  // pixels of the window's scale, -1 and -0.75, from the centre.
  const ViewRequest wheeled = zoomedAbout(home, {0, 0}, "2");
  EXPECT_EQ(wheeled.zoom.text(), "2");
  EXPECT_EQ(centreOf(wheeled), "-1.5,-0.75");
  // A drag from the corner to the centre brings the corner's point to the centre.
  EXPECT_EQ(centreOf(panned(home, {0, 0}, {400, 300})), "-2.5,-1.5");
  EXPECT_EQ(centreOf(panned(clicked, {400, 300}, {400, 300})), "-2.5,-1.5");
  EXPECT_EQ(zoomedBy(home, "0.25").zoom.text(), "0.25");
  const ViewRequest julia = withFormula(clicked, formula::kJulia);
  EXPECT_EQ(centreOf(julia) + " " + julia.zoom.text(), "0,0 1");
  EXPECT_THROW(zoomedBy(zoomedBy(home, "1e315000"), "1e1000"), OptionError);
}

TEST(Steering, DepthAndLevelsStayInTheirRanges) {
  ViewRequest view = homeView(kSize);
  view.depth = 2147483647;
  EXPECT_EQ(deeper(view).depth, 2147483647);
  view.depth = 1;
  EXPECT_EQ(shallower(view).depth, 1);
  EXPECT_EQ(deeper(view).depth, 2);
  view.outer = 10;
  EXPECT_EQ(withOuterLevel(view, 1).outer, 10);
  view.inner = 0;
  EXPECT_EQ(withInnerLevel(view, -1).inner, 0);
  EXPECT_EQ(withInnerLevel(view, 1).inner, 1);
}

// Back and forward as a browser goes, a new view dropping the ones ahead.
TEST(ViewHistory, GoesBackAndForwardAsABrowserDoes) {
  ViewHistory history(homeView(kSize));
  history.go(zoomedBy(history.current(), "4"));
  history.go(zoomedBy(history.current(), "4"));
  history.back();
  history.back();
  EXPECT_FALSE(history.canGoBack());
  EXPECT_EQ(history.current().zoom.text(), "1");
  history.forward();
  history.go(zoomedBy(history.current(), "2"));
  EXPECT_FALSE(history.canGoForward());
  EXPECT_EQ(history.current().zoom.text(), "8");
  // Only the last 256 views are kept.
  for (int i = 0; i < 300; ++i) history.go(history.current());
  int steps = 0;
  for (; history.canGoBack(); ++steps) history.back();
  EXPECT_EQ(steps, 255);
}

// The commands the window copies are taken by the renderer as they stand: a poster twice the
// size with 2 x 2 samples, a video at an even size.
TEST(Commands, TheRendererTakesThem) {
  const ViewRequest view = zoomedInto(homeView({401, 301}), {10, 20}, "4");
  for (const std::string& command : {posterCommand(view), videoCommand(view)}) {
    QStringList arguments = QString::fromStdString(command).split(' ');
    const ParsedCommandLine parsed = parseRenderCommandLine(arguments);
    ASSERT_TRUE(parsed.request) << command << ": " << parsed.error;
    EXPECT_EQ(centreOf(parsed.request->view), centreOf(view));
    EXPECT_EQ(parsed.request->view.zoom.text(), "4");
    if (parsed.request->video) {
      EXPECT_EQ(parsed.request->view.size.width, 400);
      EXPECT_EQ(parsed.request->view.size.height, 300);
    } else {
      EXPECT_EQ(parsed.request->view.size.width, 802);
      EXPECT_EQ(parsed.request->view.supersample, 2);
    }
  }
}

}  // namespace
}  // namespace orvane::explore
