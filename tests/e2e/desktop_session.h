// What the end-to-end runs share: the real program started on an X display, keys and the
// pointer driven through xdotool as a person's would be, and its drawing surface read back
// from the screen to be compared pixel for pixel with the PNG that orvane-render writes.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvane::e2e {

inline constexpr int kWidth = 400;
inline constexpr int kHeight = 300;
inline constexpr int kTimeoutMs = 20000;

void pause(int ms);

// Polls until `done` holds, for at most kTimeoutMs; whether it came to hold.
bool waitUntil(const std::function<bool()>& done);

// What xdotool printed, or nothing when it failed or did not finish in time.
std::optional<QString> xdotool(const QStringList& arguments);

// The extended regular expression xdotool needs to match exactly this window title.
QString titlePattern(const QString& title);

// Types the keys with a person's pause after each.
void type(const QStringList& keys);

// Moves the pointer where it covers nothing and raises no hover effect or tooltip.
void pointerAside();

QImage grabScreen();

// What orvane-render writes for the options, as RGB32.
QImage render(const QStringList& options);

// The topmost place on the screen where the picture's first row shows.
std::optional<QPoint> findFirstRow(const QImage& screen, const QImage& picture);

// Empty when the two are equal in RGB; otherwise how many pixels differ and where the first is.
std::string differences(const QImage& shown, const QImage& expected);

// Starts the program for each test and ends it afterwards; finds and reads its surface.
class ProgramSession : public testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  // The program to start and the title of its window: the main window's, unless overridden.
  virtual QString executable() const;
  virtual QString title() const;
  void TearDown() override;

  // Start by its shortcut; the surface is where the renderer's home picture then shows, and
  // the test fails unless the whole of it does.
  void drawHome();

  // Waits for the surface to show `expected`; fails with the differences if it never does.
  void expectPicture(const QImage& expected);

  // The program's visible window whose title matches the pattern (the last one found).
  std::optional<QString> windowMatching(const QString& pattern);
  std::optional<QString> windowTitled(const QString& title) {
    return windowMatching(titlePattern(title));
  }

  // Waits for the program's window with this title and gives it the keyboard.
  bool waitForWindow(const QString& title);

  // Types the key in the window with this title and waits for the window to go.
  void closeWithKey(const QString& title, const QString& key);

  std::unique_ptr<QProcess> program_;
  QPoint origin_;  // the surface's top-left pixel on screen
};

}  // namespace orvane::e2e
