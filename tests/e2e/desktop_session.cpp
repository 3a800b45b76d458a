// What the end-to-end runs share: the program on an X display, xdotool, the screen.
#include "desktop_session.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <string>

namespace orvane::e2e {

// Above the main window's surface lies its sunken border, so a first row repeated in the rows
// below cannot be mistaken for it.
std::optional<QPoint> findFirstRow(const QImage& screen, const QImage& picture) {
  const std::size_t bytes = static_cast<std::size_t>(picture.width()) * 4;
  for (int y = 0; y + picture.height() <= screen.height(); ++y)
    for (int x = 0; x + picture.width() <= screen.width(); ++x)
      if (std::memcmp(screen.constScanLine(y) + x * 4, picture.constScanLine(0), bytes) == 0)
        return QPoint(x, y);
  return std::nullopt;
}

std::string differences(const QImage& shown, const QImage& expected) {
  if (shown.size() != expected.size()) return "the sizes differ";
  int count = 0;
  QString first;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x)
      if ((shown.pixel(x, y) ^ expected.pixel(x, y)) & 0xffffff && count++ == 0)
        first = QString::asprintf(" (first at %d,%d: shown #%06x, expected #%06x)", x, y,
                                  shown.pixel(x, y) & 0xffffff, expected.pixel(x, y) & 0xffffff);
  return count ? std::to_string(count) + " pixels differ" + first.toStdString() : std::string();
}

// Some dialog titles hold brackets.
QString titlePattern(const QString& title) {
  QString pattern = QStringLiteral("^");
  for (const QChar c : title) {
    if (QStringLiteral(".[]()*+?{}|^$\\").contains(c)) pattern += '\\';
    pattern += c;
  }
  return pattern + '$';
}

void pause(int ms) {
  QThread::msleep(static_cast<unsigned long>(ms));
}

bool waitUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  bool held = false;
  while (!(held = done()) && timer.elapsed() < kTimeoutMs) pause(50);
  return held;
}

std::optional<QString> xdotool(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral("xdotool"), arguments);
  if (!process.waitForFinished(15000)) process.kill();  // a hung xdotool ends as a crash
  process.waitForFinished();
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void type(const QStringList& keys) {
  EXPECT_TRUE(xdotool(QStringList{"key", "--delay", "80"} + keys)) << keys.join(' ').toStdString();
  pause(80);
}

void pointerAside() {
  EXPECT_TRUE(xdotool({"mousemove", "1270", "1010"}));
}

QImage grabScreen() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
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
  return QImage(file).convertToFormat(QImage::Format_RGB32);
}

void ProgramSession::SetUpTestSuite() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display || QGuiApplication::instance()) return;
  // The screen is read from the X server itself, and the program is started on it, whatever
  // platform the environment named.
  qputenv("QT_QPA_PLATFORM", "xcb");
  static int argc = 1;
  static char name[] = "e2e";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives as long as the process
}

void ProgramSession::SetUp() {
  if (!QGuiApplication::instance())
    GTEST_SKIP() << "DISPLAY is not set: these runs drive the program on an X display "
                    "(run them through scripts/xvfb-session.sh)";
  pointerAside();
  program_ = std::make_unique<QProcess>();
  program_->setProcessChannelMode(QProcess::ForwardedChannels);
  program_->start(executable(), QStringList{});
  ASSERT_TRUE(program_->waitForStarted(10000)) << executable().toStdString();
  ASSERT_TRUE(waitForWindow(title()));
}

QString ProgramSession::executable() const {
  return QStringLiteral(ORVANE_EXECUTABLE);
}

QString ProgramSession::title() const {
  return QStringLiteral("Orvane");
}

void ProgramSession::TearDown() {
  if (program_ && program_->state() != QProcess::NotRunning) {
    program_->kill();
    program_->waitForFinished(10000);
  }
}

void ProgramSession::drawHome() {
  const QImage home = render({});
  type({"ctrl+s"});
  std::optional<QPoint> at;
  ASSERT_TRUE(waitUntil([&] { return (at = findFirstRow(grabScreen(), home)).has_value(); }))
      << "the home picture's first row never showed on screen";
  origin_ = *at;
  expectPicture(home);
}

void ProgramSession::expectPicture(const QImage& expected) {
  QImage shown;
  waitUntil([&] {
    return (shown = grabScreen().copy({origin_, QSize(kWidth, kHeight)})) == expected;
  });
  EXPECT_EQ(differences(shown, expected), "");
}

// xdotool's search matches any one of its conditions unless told --all.
std::optional<QString> ProgramSession::windowMatching(const QString& pattern) {
  const std::optional<QString> found =
      xdotool({"search", "--all", "--onlyvisible", "--pid", QString::number(program_->processId()),
               "--name", pattern});
  if (!found || found->isEmpty()) return std::nullopt;
  return found->split('\n').last();
}

bool ProgramSession::waitForWindow(const QString& title) {
  std::optional<QString> id;
  if (!waitUntil([&] { return (id = windowTitled(title)).has_value(); })) {
    ADD_FAILURE() << "no window titled " << title.toStdString() << " opened";
    return false;
  }
  pause(300);  // a window just mapped may not take the keyboard yet
  EXPECT_TRUE(xdotool({"windowactivate", "--sync", *id}));
  return true;
}

void ProgramSession::closeWithKey(const QString& title, const QString& key) {
  type({key});
  EXPECT_TRUE(waitUntil([&] { return !windowTitled(title); }))
      << title.toStdString() << " stayed open after " << key.toStdString();
}

}  // namespace orvane::e2e
