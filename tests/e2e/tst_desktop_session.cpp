// End-to-end sessions with the real program on an X display: keys and clicks go in through
// xdotool as a person's would, and the picture on screen is compared pixel for pixel with
// the PNG that orvane-render writes for the same view.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kTimeoutMs = 20000;
constexpr int kStillMs = 300;  // a picture unchanged this long is taken as settled

void pause(int ms) {
  QThread::msleep(static_cast<unsigned long>(ms));
}

// Runs xdotool and returns what it printed; a failure or a hang fails the test.
QString xdotool(const QStringList& arguments) {
  const std::string command = "xdotool " + arguments.join(' ').toStdString();
  QProcess process;
  process.start(QStringLiteral("xdotool"), arguments);
  if (!process.waitForFinished(15000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << command << " did not finish";
    return {};
  }
  EXPECT_TRUE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
      << command << ": " << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Types the keys one at a time, with a person's pause after each.
void type(const QStringList& keys) {
  for (const QString& key : keys) {
    xdotool({QStringLiteral("key"), key});
    pause(80);
  }
}

QStringList repeated(const QString& key, int times) {
  QStringList keys;
  for (int i = 0; i < times; ++i) keys << key;
  return keys;
}

// Moves the pointer where it covers nothing and raises no hover effect or tooltip.
void pointerAside() {
  xdotool({QStringLiteral("mousemove"), QStringLiteral("1270"), QStringLiteral("1010")});
}

QImage grabScreen() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
}

bool sameRow(const QImage& screen, QPoint at, const QImage& picture, int row) {
  return std::memcmp(screen.constScanLine(at.y()) + at.x() * 4, picture.constScanLine(row),
                     static_cast<std::size_t>(picture.width()) * 4) == 0;
}

// The topmost place on screen where the picture's first row shows. Above the surface lies
// the sunken border, so a first row repeated in the rows below cannot be mistaken for it.
std::optional<QPoint> findFirstRow(const QImage& screen, const QImage& picture) {
  const QRgb first = picture.pixel(0, 0);
  for (int y = 0; y + picture.height() <= screen.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
    for (int x = 0; x + picture.width() <= screen.width(); ++x)
      if (line[x] == first && sameRow(screen, {x, y}, picture, 0)) return QPoint(x, y);
  }
  return std::nullopt;
}

// Where the icon shows on screen: every fully opaque pixel of it matches.
std::optional<QPoint> findIcon(const QImage& screen, const QImage& icon) {
  QList<QPoint> opaque;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x)
      if (qAlpha(icon.pixel(x, y)) == 255) opaque << QPoint(x, y);
  if (opaque.isEmpty()) return std::nullopt;
  const auto matches = [&](QPoint at) {
    for (const QPoint p : opaque)
      if ((screen.pixel(at + p) & 0xffffff) != (icon.pixel(p) & 0xffffff)) return false;
    return true;
  };
  for (int y = 0; y + icon.height() <= screen.height(); ++y)
    for (int x = 0; x + icon.width() <= screen.width(); ++x)
      if (matches({x, y})) return QPoint(x, y);
  return std::nullopt;
}

// Empty when the two are equal in RGB; otherwise how many pixels differ and where the first is.
std::string differences(const QImage& shown, const QImage& expected) {
  if (shown.size() != expected.size()) return "the sizes differ";
  int count = 0;
  QString first;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb a = shown.pixel(x, y) & 0xffffff;
      const QRgb b = expected.pixel(x, y) & 0xffffff;
      if (a != b && count++ == 0)
        first = QString::asprintf(" (first at %d,%d: shown #%06x, expected #%06x)", x, y, a, b);
    }
  if (count == 0) return {};
  return std::to_string(count) + " pixels differ" + first.toStdString();
}

bool rowIs(const QImage& image, int y, QRgb colour) {
  for (int x = 0; x < image.width(); ++x)
    if (image.pixel(x, y) != colour) return false;
  return true;
}

// What orvane-render writes for the options, as RGB32.
QImage render(const QStringList& options) {
  static QTemporaryDir directory;
  static int made = 0;
  const QString file = directory.filePath(QStringLiteral("view%1.png").arg(++made));
  QProcess process;
  process.start(QStringLiteral(ORVANE_RENDER_EXECUTABLE),
                options + QStringList{QStringLiteral("-o"), file});
  EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0)
      << "orvane-render " << options.join(' ').toStdString() << ": "
      << process.readAllStandardError().toStdString();
  const QImage image(file);
  EXPECT_EQ(image.size(), QSize(kWidth, kHeight)) << file.toStdString();
  return image.convertToFormat(QImage::Format_RGB32);
}

class DesktopSession : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || QGuiApplication::instance()) return;
    // The screen is read from the X server itself, whatever platform the environment names.
    static int argc = 3;
    static char name[] = "tst_e2e_desktop_session";
    static char platform[] = "-platform";
    static char xcb[] = "xcb";
    static char* argv[] = {name, platform, xcb, nullptr};
    new QGuiApplication(argc, argv);  // lives as long as the process
  }

  void SetUp() override {
    if (!QGuiApplication::instance())
      GTEST_SKIP() << "DISPLAY is not set: these tests drive the program on an X display "
                      "(run them through scripts/xvfb-session.sh)";
    pointerAside();
    QElapsedTimer timer;
    timer.start();
    program_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program_->setProcessEnvironment(environment);
    program_->setProcessChannelMode(QProcess::ForwardedChannels);
    program_->start(QStringLiteral(ORVANE_EXECUTABLE), QStringList{});
    ASSERT_TRUE(program_->waitForStarted(10000)) << ORVANE_EXECUTABLE;
    const QString found = xdotool({"search", "--sync", "--all", "--onlyvisible", "--pid",
                                   QString::number(program_->processId()), "--name", "^Orvane$"});
    ASSERT_FALSE(found.isEmpty()) << "no visible window titled Orvane";
    window_ = found.split('\n').last();
    pause(300);
    xdotool({"windowactivate", "--sync", window_});
    // The screen as it stands once the window has painted itself.
    startup_ = grabScreen();
    for (;;) {
      pause(100);
      const QImage next = grabScreen();
      if (next == startup_ || timer.elapsed() > kTimeoutMs) break;
      startup_ = next;
    }
  }

  void TearDown() override {
    if (program_ && program_->state() != QProcess::NotRunning) {
      program_->kill();
      program_->waitForFinished(10000);
    }
  }

  // Waits for the first row of `picture` to show, and takes the surface to be there.
  bool locate(const QImage& picture) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kTimeoutMs) {
      if (const std::optional<QPoint> at = findFirstRow(grabScreen(), picture)) {
        origin_ = *at;
        background_ = startup_.pixel(origin_);
        return true;
      }
      pause(50);
    }
    ADD_FAILURE() << "the picture's first row never showed on screen";
    return false;
  }

  QImage grabSurface() const { return grabScreen().copy(QRect(origin_, QSize(kWidth, kHeight))); }

  // Grabs the surface until it has stayed the same for `stillGrabs` grabs in a row and `done`
  // holds; returns the last grab.
  QImage settle(const std::function<bool(const QImage&)>& done, int stillGrabs = 2) {
    QElapsedTimer timer;
    timer.start();
    QImage previous;
    int still = 0;
    for (;;) {
      const QImage current = grabSurface();
      still = current == previous ? still + 1 : 1;
      if (still >= stillGrabs && done(current)) return current;
      if (timer.elapsed() > kTimeoutMs) {
        ADD_FAILURE() << "the picture did not settle as expected within " << kTimeoutMs << " ms";
        return current;
      }
      previous = current;
      pause(kStillMs);
    }
  }

  // The pass has drawn every pixel: none is left at the background where the picture has
  // another colour.
  std::function<bool(const QImage&)> finished(const QImage& picture) const {
    return [picture, background = background_](const QImage& shown) {
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          if (shown.pixel(x, y) == background && picture.pixel(x, y) != background) return false;
      return true;
    };
  }

  std::function<bool(const QImage&)> equalTo(const QImage& picture) const {
    return [picture](const QImage& shown) { return shown == picture; };
  }

  QImage blank() const {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(background_);
    return image;
  }

  // The Operate menu by keyboard: Alt+P opens it on its first item, and Down skips separators.
  void chooseLineMode() {
    type(QStringList{"alt+p"} + repeated("Down", 5) + QStringList{"Return"});
  }
  void chooseDepth2048() {
    type(QStringList{"alt+p"} + repeated("Down", 7) + QStringList{"Right"} + repeated("Down", 7) +
         QStringList{"Return"});
  }

  // The program must end by itself, soon, with status 0.
  void expectCleanExit() {
    ASSERT_TRUE(program_->waitForFinished(3000)) << "the program is still running";
    EXPECT_EQ(program_->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_->exitCode(), 0);
  }

  std::unique_ptr<QProcess> program_;
  QString window_;
  QImage startup_;  // the screen right after start-up, before anything was drawn
  QPoint origin_;   // the surface's top-left pixel on screen
  QRgb background_ = 0;
};

TEST_F(DesktopSession, StartDrawsWhatTheRendererDraws) {
  const QImage home = render({});
  type({"ctrl+s"});
  ASSERT_TRUE(locate(home));
  EXPECT_EQ(differences(startup_.copy(QRect(origin_, QSize(kWidth, kHeight))), blank()), "")
      << "the surface was not a uniform background before the first pass";
  const QImage shown = settle(finished(home));
  EXPECT_EQ(differences(shown, home), "");
}

TEST_F(DesktopSession, StopLeavesTopRowsAndClearEmptiesThePicture) {
  const QImage deep = render({"--grid", "line", "--depth", "2048"});
  chooseLineMode();
  chooseDepth2048();
  // One call, with no delay between the keys: even at this depth a pass is short, and Stop
  // must arrive while it runs.
  xdotool({"key", "--delay", "0", "ctrl+s", "ctrl+p"});
  ASSERT_TRUE(locate(deep));
  const QImage stopped = settle([](const QImage&) { return true; }, 3);
  int drawnRows = 0;
  while (drawnRows < kHeight && !rowIs(stopped, drawnRows, background_)) ++drawnRows;
  EXPECT_GE(drawnRows, 1);
  EXPECT_TRUE(rowIs(stopped, kHeight - 1, background_)) << "the pass was not stopped";
  EXPECT_EQ(differences(stopped.copy(0, 0, kWidth, drawnRows), deep.copy(0, 0, kWidth, drawnRows)),
            "");
  for (int y = drawnRows; y < kHeight; ++y)
    ASSERT_TRUE(rowIs(stopped, y, background_)) << "row " << y << " is partly drawn";

  type({"ctrl+c"});
  EXPECT_EQ(differences(settle(equalTo(blank())), blank()), "");

  // A whole pass now shows that the menus took effect: the depth changes the inside.
  type({"ctrl+s"});
  EXPECT_EQ(differences(settle(finished(deep)), deep), "");
}

TEST_F(DesktopSession, ZoomOutButtonWidensTheViewTwiceAndDraws) {
  const QImage home = render({});
  const QImage wider = render({"--zoom", "0.5"});
  type({"ctrl+s"});
  ASSERT_TRUE(locate(home));
  ASSERT_EQ(differences(settle(finished(home)), home), "");

  QImage icon(QStringLiteral(ORVANE_ICON_DIR "/toolbar_zoom_out.png"));
  ASSERT_FALSE(icon.isNull());
  icon = icon.convertToFormat(QImage::Format_ARGB32);
  const std::optional<QPoint> button = findIcon(grabScreen(), icon);
  ASSERT_TRUE(button) << "the zoom-out button is not on screen";
  const QPoint centre = *button + QPoint(icon.width() / 2, icon.height() / 2);
  xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
  pointerAside();
  EXPECT_EQ(differences(settle(equalTo(wider)), wider), "");
}

TEST_F(DesktopSession, ExitDuringAPassEndsWithStatusZero) {
  chooseLineMode();
  chooseDepth2048();
  // As with Stop, Exit arrives while the pass runs.
  xdotool({"key", "--delay", "0", "ctrl+s", "ctrl+x"});
  expectCleanExit();
}

TEST_F(DesktopSession, ClosingTheWindowDuringAPassEndsWithStatusZero) {
  chooseLineMode();
  chooseDepth2048();
  // Alt+F4 is the window manager's: it asks the window to close, as its title bar does.
  xdotool({"key", "--delay", "0", "ctrl+s", "alt+F4"});
  expectCleanExit();
}

}  // namespace
