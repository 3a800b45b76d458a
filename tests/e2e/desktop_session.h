// What the end-to-end tests share: the real program started on an X display, keys and the
// pointer driven through xdotool as a person's would be, and its drawing surface read back
// from the screen to be compared pixel for pixel with the PNG that orvane-render writes.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRgb>
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
inline constexpr int kStillMs = 300;  // a picture unchanged this long is taken as settled

void pause(int ms);

// One xdotool run: whether it ended in time, its status and what it printed.
struct XdotoolRun {
  bool finished = false;
  int exitCode = -1;
  QString output;
  QString errors;
};
XdotoolRun runXdotool(const QStringList& arguments);

// Runs xdotool and returns what it printed; a failure or a hang fails the test.
QString xdotool(const QStringList& arguments);

// Types the keys one at a time, with a person's pause after each.
void type(const QStringList& keys);
QStringList repeated(const QString& key, int times);

// Moves the pointer where it covers nothing and raises no hover effect or tooltip.
void pointerAside();

QImage grabScreen();

// The topmost place on screen where the picture's first row shows.
std::optional<QPoint> findFirstRow(const QImage& screen, const QImage& picture);

// Empty when the two are equal in RGB; otherwise how many pixels differ and where the first is.
std::string differences(const QImage& shown, const QImage& expected);

// What orvane-render writes for the options, as RGB32.
QImage render(const QStringList& options);

// The text of the focused box, selected and copied through the clipboard.
QString copyFocusedText();

// Where the icon shows on the screen: the place where every fully opaque pixel of it matches.
std::optional<QPoint> findIcon(const QImage& screen, const QImage& icon);

// Starts the program for each test and ends it afterwards; finds and reads its surface.
class ProgramSession : public testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Waits for the first row of `picture` to show, and takes the surface to be there.
  bool locate(const QImage& picture);

  QImage grabSurface() const;

  // Grabs the surface until it has stayed the same for `stillGrabs` grabs in a row and `done`
  // holds; returns the last grab.
  QImage settle(const std::function<bool(const QImage&)>& done, int stillGrabs = 2);

  // The pass has drawn every pixel: none is left at the background where the picture has
  // another colour.
  std::function<bool(const QImage&)> finished(const QImage& picture) const;
  std::function<bool(const QImage&)> equalTo(const QImage& picture) const;

  // The surface as it is before anything was drawn on it.
  QImage blank() const;

  // Takes the surface to be the untouched one on the start-up screen: a 400 x 300 block of
  // one colour framed by other colours on every side.
  bool locateBlank();

  // The program's visible window with this title, taken literally.
  std::optional<QString> windowTitled(const QString& title);

  // Waits for the program's window with this title and gives it the keyboard.
  bool waitForWindow(const QString& title);

  // Types the key in the window with this title and waits for the window to go.
  void closeWithKey(const QString& title, const QString& key);

  std::unique_ptr<QProcess> program_;
  QString window_;
  QImage startup_;  // the screen right after start-up, before anything was drawn
  QPoint origin_;   // the surface's top-left pixel on screen
  QRgb background_ = 0;
};

}  // namespace orvane::e2e
