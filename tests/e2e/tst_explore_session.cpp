// orvane-explore end to end on an X display: clicks, a wheel turn, a drag and a right click as
// a person makes them, then the picture saved through the file dialog. The renderer draws the
// saved view again, and both that and the window's screen must equal the saved picture.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "desktop_session.h"

namespace orvane::e2e {
namespace {

class ExploreSession : public ProgramSession {
 protected:
  QString executable() const override { return QStringLiteral(ORVANE_EXPLORE_EXECUTABLE); }
  QString title() const override { return QStringLiteral("Orvane 深度探索"); }

  // Moves the pointer to the point at fractions (fx, fy) of the window, then does `what`.
  void at(double fx, double fy, const QStringList& what) {
    const std::optional<QString> id = windowTitled(title());
    ASSERT_TRUE(id);
    const std::optional<QString> shape = xdotool({"getwindowgeometry", "--shell", *id});
    ASSERT_TRUE(shape);
    int x = 0, y = 0, width = 0, height = 0;
    for (const QString& line : shape->split('\n')) {
      const QString value = line.section('=', 1);
      if (line.startsWith("X=")) x = value.toInt();
      if (line.startsWith("Y=")) y = value.toInt();
      if (line.startsWith("WIDTH=")) width = value.toInt();
      if (line.startsWith("HEIGHT=")) height = value.toInt();
    }
    ASSERT_TRUE(xdotool({"mousemove", QString::number(x + static_cast<int>(fx * width)),
                         QString::number(y + static_cast<int>(fy * height))}));
    ASSERT_TRUE(xdotool(what));
    pause(600);  // a view of the whole set draws in a fraction of a second
  }
};

TEST_F(ExploreSession, GesturesThenSaveGiveTheRenderersPicture) {
  pause(1000);
  at(0.35, 0.5, {"click", "1"});
  at(0.6, 0.4, {"click", "4"});  // the wheel, one notch towards the screen
  at(0.5, 0.5, {"mousedown", "1"});
  at(0.4, 0.6, {"mouseup", "1"});
  at(0.7, 0.7, {"click", "3"});
  at(0.45, 0.45, {"click", "1"});
  pointerAside();
  pause(2000);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString saved = dir.filePath("saved.png");
  type({"ctrl+s"});
  ASSERT_TRUE(waitForWindow(QStringLiteral("保存图片")));
  ASSERT_TRUE(xdotool({"type", "--delay", "20", saved}));
  type({"Return"});
  ASSERT_TRUE(waitUntil([&] { return QFile::exists(saved); })) << "nothing was saved";
  pause(300);

  const QImage picture = QImage(saved).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(picture.isNull());
  // x4, x2, x1/4 and x4 again; the drag moved the centre.
  const QString view = QImage(saved).text(QStringLiteral("OrvaneView"));
  EXPECT_TRUE(view.contains(" --zoom=8 ")) << view.toStdString();
  EXPECT_FALSE(view.contains(" --center=-0.5,0 ")) << view.toStdString();
  EXPECT_EQ(differences(render({"--from", saved}), picture), "");
  QImage shown;
  waitUntil([&] {
    const QImage screen = grabScreen();
    const std::optional<QPoint> origin = findFirstRow(screen, picture);
    return origin && (shown = screen.copy({*origin, picture.size()})) == picture;
  });
  EXPECT_EQ(differences(shown, picture), "") << "the window does not show the saved picture";
}

}  // namespace
}  // namespace orvane::e2e
