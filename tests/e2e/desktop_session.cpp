// What the end-to-end tests share: the program on an X display, xdotool, the screen.
#include "desktop_session.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <cstring>

namespace orvane::e2e {

namespace {

bool sameRow(const QImage& screen, QPoint at, const QImage& picture, int row) {
  return std::memcmp(screen.constScanLine(at.y()) + at.x() * 4, picture.constScanLine(row),
                     static_cast<std::size_t>(picture.width()) * 4) == 0;
}

// xdotool matches titles as extended regular expressions; some dialog titles hold brackets.
QString titlePattern(const QString& title) {
  QString pattern = QStringLiteral("^");
  for (const QChar c : title) {
    if (QStringLiteral(".[]()*+?{}|^$\\").contains(c)) pattern += '\\';
    pattern += c;
  }
  return pattern + '$';
}

}  // namespace

void pause(int ms) {
  QThread::msleep(static_cast<unsigned long>(ms));
}

XdotoolRun runXdotool(const QStringList& arguments) {
  XdotoolRun run;
  QProcess process;
  process.start(QStringLiteral("xdotool"), arguments);
  if (!process.waitForFinished(15000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.finished = true;
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
  return run;
}

QString xdotool(const QStringList& arguments) {
  const std::string command = "xdotool " + arguments.join(' ').toStdString();
  const XdotoolRun run = runXdotool(arguments);
  if (!run.finished) {
    ADD_FAILURE() << command << " did not finish";
    return {};
  }
  EXPECT_EQ(run.exitCode, 0) << command << ": " << run.errors.toStdString();
  return run.output;
}

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

void pointerAside() {
  xdotool({QStringLiteral("mousemove"), QStringLiteral("1270"), QStringLiteral("1010")});
}

QImage grabScreen() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
}

// Above the surface lies the sunken border, so a first row repeated in the rows below cannot
// be mistaken for it.
std::optional<QPoint> findFirstRow(const QImage& screen, const QImage& picture) {
  const QRgb first = picture.pixel(0, 0);
  for (int y = 0; y + picture.height() <= screen.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
    for (int x = 0; x + picture.width() <= screen.width(); ++x)
      if (line[x] == first && sameRow(screen, {x, y}, picture, 0)) return QPoint(x, y);
  }
  return std::nullopt;
}

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

// A marker put on the clipboard first tells a copy not yet made from one made.
QString copyFocusedText() {
  const QString marker = QStringLiteral("(not copied)");
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(marker);
  type({"ctrl+a", "ctrl+c"});
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    QCoreApplication::processEvents();
    const QString text = clipboard->text();
    if (text != marker || timer.elapsed() > 5000) return text;
    pause(50);
  }
}

void ProgramSession::SetUpTestSuite() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display || QGuiApplication::instance()) return;
  // The screen is read from the X server itself, whatever platform the environment names.
  static int argc = 3;
  static char name[] = "tst_e2e";
  static char platform[] = "-platform";
  static char xcb[] = "xcb";
  static char* argv[] = {name, platform, xcb, nullptr};
  new QGuiApplication(argc, argv);  // lives as long as the process
}

void ProgramSession::SetUp() {
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

void ProgramSession::TearDown() {
  if (program_ && program_->state() != QProcess::NotRunning) {
    program_->kill();
    program_->waitForFinished(10000);
  }
}

bool ProgramSession::locate(const QImage& picture) {
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

QImage ProgramSession::grabSurface() const {
  return grabScreen().copy(QRect(origin_, QSize(kWidth, kHeight)));
}

QImage ProgramSession::settle(const std::function<bool(const QImage&)>& done, int stillGrabs) {
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

std::function<bool(const QImage&)> ProgramSession::finished(const QImage& picture) const {
  return [picture, background = background_](const QImage& shown) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (shown.pixel(x, y) == background && picture.pixel(x, y) != background) return false;
    return true;
  };
}

std::function<bool(const QImage&)> ProgramSession::equalTo(const QImage& picture) const {
  return [picture](const QImage& shown) { return shown == picture; };
}

QImage ProgramSession::blank() const {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(background_);
  return image;
}

bool ProgramSession::locateBlank() {
  const QImage& s = startup_;
  const auto framed = [&](int x, int y) {
    const QRgb c = s.pixel(x, y);
    for (int i = -1; i <= kWidth; ++i)
      if (s.pixel(x + i, y - 1) == c || s.pixel(x + i, y + kHeight) == c) return false;
    for (int j = 0; j < kHeight; ++j) {
      if (s.pixel(x - 1, y + j) == c || s.pixel(x + kWidth, y + j) == c) return false;
      for (int i = 0; i < kWidth; ++i)
        if (s.pixel(x + i, y + j) != c) return false;
    }
    return true;
  };
  for (int y = 1; y + kHeight < s.height(); ++y)
    for (int x = 1; x + kWidth < s.width(); ++x) {
      const QRgb c = s.pixel(x, y);
      if (s.pixel(x - 1, y) != c && s.pixel(x, y - 1) != c && framed(x, y)) {
        origin_ = {x, y};
        background_ = c;
        return true;
      }
    }
  return false;
}

// xdotool's search matches any one of its conditions unless told --all.
std::optional<QString> ProgramSession::windowTitled(const QString& title) {
  const XdotoolRun run =
      runXdotool({"search", "--all", "--onlyvisible", "--pid",
                  QString::number(program_->processId()), "--name", titlePattern(title)});
  if (!run.finished || run.exitCode != 0 || run.output.isEmpty()) return std::nullopt;
  return run.output.split('\n').last();
}

bool ProgramSession::waitForWindow(const QString& title) {
  const QString found =
      xdotool({"search", "--sync", "--all", "--onlyvisible", "--pid",
               QString::number(program_->processId()), "--name", titlePattern(title)});
  if (found.isEmpty()) {
    ADD_FAILURE() << "no window titled " << title.toStdString() << " opened";
    return false;
  }
  xdotool({"windowactivate", "--sync", found.split('\n').last()});
  return true;
}

void ProgramSession::closeWithKey(const QString& title, const QString& key) {
  type({key});
  QElapsedTimer timer;
  timer.start();
  while (windowTitled(title)) {
    if (timer.elapsed() > kTimeoutMs) {
      ADD_FAILURE() << title.toStdString() << " stayed open after " << key.toStdString();
      return;
    }
    pause(50);
  }
}

}  // namespace orvane::e2e
