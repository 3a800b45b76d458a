// A seeded random run of the explorer's window: clicks, right clicks, wheel turns, drags, keys
// and resizes, fired while pictures draw. Afterwards the window must answer at once, must not
// have kept growing, and its picture must be the renderer's picture of its view.
//
// ORVANE_STRESS_SEED picks the sequence and ORVANE_STRESS_SECONDS the length (default 30 s);
// a failure prints the seed and the last actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <deque>
#include <random>
#include <span>
#include <string>

#include "explore/explore_canvas.h"
#include "explore/explore_window.h"

namespace orvane::explore {
namespace {

// Growth of the resident set allowed over the run, beyond the first picture's: caches of the
// allocator and of Qt settle within it, while a picture-sized leak per view (a few hundred KB,
// thousands of views) does not. Under AddressSanitizer, its quarantine of freed memory, held
// to 64 MB here (256 MB by default, which would swamp the check), and its own caches come on
// top; a smaller quarantine still catches a use of memory freed many views before.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=64";
}
constexpr long kAllowedGrowthKb = (32 + 64 + 128) * 1024;
#else
constexpr long kAllowedGrowthKb = 32 * 1024;
#endif
constexpr int kDefaultSeconds = 30;
constexpr int kAnswerMs = 60000;
constexpr std::size_t kActionsKept = 30;

long residentKb() {
  QFile status(QStringLiteral("/proc/self/statm"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = status.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

long environmentNumber(const char* name, long fallback) {
  bool ok = false;
  const long value = qEnvironmentVariable(name).toLong(&ok);
  return ok ? value : fallback;
}

// Runs the event loop until the window holds the full picture of its current view.
bool waitForFullPicture(const ExploreWindow& window) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < kAnswerMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    const auto& full = window.fullPicture();
    if (full && full->image.size() == QSize(window.view().size.width, window.view().size.height))
      return true;
  }
  return false;
}

class StressRun {
 public:
  StressRun(ExploreWindow& window, unsigned seed) : window_(window), random_(seed) {}

  void act() {
    ExploreCanvas* canvas = window_.canvas();
    const QPoint at(pick(0, canvas->width() - 1), pick(0, canvas->height() - 1));
    switch (pick(0, 6)) {
      case 0:
        note("click", at);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, at);
        break;
      case 1:
        note("right click", at);
        QTest::mouseClick(canvas, Qt::RightButton, {}, at);
        break;
      case 2: {
        const int notches = pick(-2, 2);
        note("wheel " + std::to_string(notches), at);
        QWheelEvent wheel(at, canvas->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        break;
      }
      case 3: {
        const QPoint to(pick(0, canvas->width() - 1), pick(0, canvas->height() - 1));
        note("drag to " + std::to_string(to.x()) + "," + std::to_string(to.y()), at);
        QTest::mousePress(canvas, Qt::LeftButton, {}, at);
        QTest::mouseMove(canvas, (at + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
        break;
      }
      case 4: {
        static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Backspace, {}},
            {Qt::Key_Left, Qt::AltModifier},
            {Qt::Key_Right, Qt::AltModifier},
            {Qt::Key_BracketLeft, {}},
            {Qt::Key_BracketRight, {}},
            {Qt::Key_O, {}},
            {Qt::Key_O, Qt::ShiftModifier},
            {Qt::Key_I, {}},
            {Qt::Key_I, Qt::ShiftModifier},
            {Qt::Key_Plus, {}},
            {Qt::Key_Minus, {}},
            {Qt::Key_Home, {}}};
        const auto& [key, modifiers] = keys[pick(0, std::size(keys) - 1)];
        note("key " + std::to_string(key) + " " + std::to_string(modifiers.toInt()), at);
        QTest::keyClick(&window_, key, modifiers);
        break;
      }
      case 5: {
        const QSize size(pick(160, 720), pick(120, 540));
        note("resize " + std::to_string(size.width()) + "x" + std::to_string(size.height()), at);
        window_.resize(size);
        break;
      }
      default:
        note("wait", at);
        QTest::qWait(pick(0, 120));
    }
    QApplication::processEvents();
  }

  std::string lastActions() const {
    std::string text;
    for (const std::string& action : actions_) text += "  " + action + "\n";
    return text;
  }

 private:
  int pick(long low, long high) {
    return static_cast<int>(std::uniform_int_distribution<long>(low, high)(random_));
  }
  void note(const std::string& what, QPoint at) {
    actions_.push_back(what + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()));
    if (actions_.size() > kActionsKept) actions_.pop_front();
  }

  ExploreWindow& window_;
  std::mt19937 random_;
  std::deque<std::string> actions_;
};

TEST(ExploreStress, ASeededRunKeepsTheWindowExactAndSmall) {
  const auto seed = static_cast<unsigned>(
      environmentNumber("ORVANE_STRESS_SEED", static_cast<long>(std::random_device{}())));
  const long seconds = environmentNumber("ORVANE_STRESS_SECONDS", kDefaultSeconds);
  SCOPED_TRACE("ORVANE_STRESS_SEED=" + std::to_string(seed));
  ExploreWindow window({.threads = 2});
  window.resize(400, 300);
  window.show();
  ASSERT_TRUE(waitForFullPicture(window));
  const long before = residentKb();

  StressRun run(window, seed);
  QElapsedTimer clock;
  clock.start();
  long actions = 0;
  while (clock.elapsed() < seconds * 1000) {
    run.act();
    ++actions;
  }
  SCOPED_TRACE("after " + std::to_string(actions) + " actions, the last:\n" + run.lastActions());

  // Back to the whole set, which draws in well under a second: the window must answer.
  QTest::keyClick(&window, Qt::Key_Home);
  ASSERT_TRUE(waitForFullPicture(window)) << "no picture within " << kAnswerMs << " ms";
  const long growth = residentKb() - before;
  std::printf("resident set grew by %ld MB over %ld actions\n", growth / 1024, actions);
  EXPECT_LT(growth, kAllowedGrowthKb);

  // Its picture is the renderer's, pixel for pixel.
  const DrawnPicture& shown = *window.fullPicture();
  RenderRequest request;
  request.view = window.view();
  int differing = 0;
  renderPicture(request, {.threads = 2}, [&](int y, std::span<const Colour> row) {
    const auto* line = reinterpret_cast<const QRgb*>(shown.image.constScanLine(y));
    for (std::size_t x = 0; x < row.size(); ++x)
      differing += line[x] != qRgb(redOf(row[x]), greenOf(row[x]), blueOf(row[x]));
  });
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace orvane::explore
