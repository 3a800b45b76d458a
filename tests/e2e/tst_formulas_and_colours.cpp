// End-to-end runs of the formula and colour commands, all from the keyboard: the Scheme menu's
// Julia and Hole items through their dialogs, the rendering levels and the colour offsets
// through theirs, each picture compared with what orvane-render draws for the same settings.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstring>
#include <optional>
#include <string>

#include "desktop_session.h"

namespace {

using namespace orvane::e2e;

const QString kDimension = QStringLiteral("高维形状参数[中心对称的龙、混沌残疾的人]");
const QString kPosition = QStringLiteral("位置控制");
const QString kRendering = QStringLiteral("渲染");
const QString kOffsets = QStringLiteral("色彩偏移量调整");

// A box whose text OK cannot take is framed in this red.
constexpr QRgb kMarkRed = 0xffd00000;

// The box texts joined, so a mismatch reads at a glance.
std::string joined(const QStringList& texts) {
  return texts.join(QStringLiteral(" | ")).toStdString();
}

class FormulasAndColours : public ProgramSession {
 protected:
  void SetUp() override {
    ProgramSession::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(locateBlank()) << "no blank surface on screen";
  }

  // The dimension dialog opens with its first box focused; Tab leaves the focus in the
  // second, where Return means OK.
  std::string readDimensionBoxes() {
    QStringList texts{copyFocusedText()};
    type({"Tab"});
    texts << copyFocusedText();
    return joined(texts);
  }

  // The position dialog opens with the magnification box focused; Tab walks the boxes, past
  // the rotation button, and leaves the focus in the rotation box.
  std::string readPositionBoxes() {
    QStringList texts{copyFocusedText()};
    type({"Tab"});
    texts << copyFocusedText();
    type({"Tab"});
    texts << copyFocusedText();
    type({"Tab", "Tab"});
    texts << copyFocusedText();
    return joined(texts);
  }

  void expectPicture(const QImage& expected, int stillGrabs = 2) {
    EXPECT_EQ(differences(settle(equalTo(expected), stillGrabs), expected), "");
  }

  // Julia from the start-up state: the constant 0.25 and the view (1.5, 0, 0) are offered.
  void drawJulia() {
    const QImage julia = render({"--formula", "julia", "--zoom", "1.5", "--components", "0.25,0"});
    type({"alt+n", "j"});
    ASSERT_TRUE(waitForWindow(kDimension));
    EXPECT_EQ(readDimensionBoxes(), "0.25 | 0");
    closeWithKey(kDimension, "Return");
    ASSERT_TRUE(waitForWindow(kPosition));
    EXPECT_EQ(readPositionBoxes(), "1.5 | 0 | 0 | 0");
    closeWithKey(kPosition, "Return");
    expectPicture(julia);
  }

  // Hole goes straight to the position dialog, at the view (1, 0, 0) from any other formula.
  void drawHole() {
    hole_ = render({"--formula", "hole", "--zoom", "1", "--center", "0,0"});
    type({"alt+n", "h"});
    ASSERT_TRUE(waitForWindow(kPosition));
    EXPECT_EQ(readPositionBoxes(), "1 | 0 | 0 | 0");
    closeWithKey(kPosition, "Return");
    expectPicture(hole_);
  }

  // The rendering dialog opens on the inner slider; Tab moves to the outer one.
  void setOuterLevelToZero() {
    type({"alt+p", "c", "s"});
    ASSERT_TRUE(waitForWindow(kRendering));
    type({"Tab", "Home"});
    closeWithKey(kRendering, "Return");
  }

  // Types the keys in the colour offset dialog, then confirms it with Return.
  void confirmOffsets(const QStringList& keys) {
    type({"alt+p", "c", "m"});
    ASSERT_TRUE(waitForWindow(kOffsets));
    type(keys);
    closeWithKey(kOffsets, "Return");
  }

  // Pixels of the mark's red within the window, or nothing when its place is unknown.
  std::optional<int> markPixels(const QString& window) {
    const QString shell = xdotool({"getwindowgeometry", "--shell", window});
    int values[4] = {};
    const char* keys[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    int found = 0;
    for (const QString& line : shell.split('\n'))
      for (int i = 0; i < 4; ++i)
        if (line.startsWith(QLatin1String(keys[i]))) {
          values[i] = line.mid(static_cast<int>(std::strlen(keys[i]))).toInt();
          ++found;
        }
    if (found != 4) return std::nullopt;
    const QImage area = grabScreen().copy(QRect(values[0], values[1], values[2], values[3]));
    int count = 0;
    for (int y = 0; y < area.height(); ++y)
      for (int x = 0; x < area.width(); ++x) count += area.pixel(x, y) == kMarkRed;
    return count;
  }

  QImage hole_;
};

TEST_F(FormulasAndColours, JuliaByKeyboardFromAFreshStart) {
  drawJulia();
}

TEST_F(FormulasAndColours, HoleAfterJulia) {
  ASSERT_NO_FATAL_FAILURE(drawJulia());
  drawHole();
}

// Neither colour dialog draws; the next Start draws with what they stored.
TEST_F(FormulasAndColours, ColourDialogsTakeEffectAtTheNextStart) {
  ASSERT_NO_FATAL_FAILURE(drawHole());
  ASSERT_NO_FATAL_FAILURE(setOuterLevelToZero());
  // The first opening selects 草原 and applies its offsets; OK keeps them.
  ASSERT_NO_FATAL_FAILURE(confirmOffsets({}));
  expectPicture(hole_, 3);
  type({"ctrl+s"});
  const QImage grass = render({"--formula", "hole", "--zoom", "1", "--center", "0,0", "--outer",
                               "0", "--offsets", "160,64,192"});
  expectPicture(grass);

  // The dialog opens on 确定; Tab passes 取消 and lands on the selected option, 草原, and
  // Down selects the next one, 碧天.
  ASSERT_NO_FATAL_FAILURE(confirmOffsets({"Tab", "Tab", "Down"}));
  expectPicture(grass, 3);
  type({"ctrl+s"});
  expectPicture(render({"--formula", "hole", "--zoom", "1", "--center", "0,0", "--outer", "0",
                        "--offsets", "192,128,16"}));
}

TEST_F(FormulasAndColours, BadComponentTextKeepsTheDimensionDialogOpenAndDrawsNothing) {
  type({"alt+n", "j"});
  ASSERT_TRUE(waitForWindow(kDimension));
  const std::optional<QString> dialog = windowTitled(kDimension);
  ASSERT_TRUE(dialog);
  // Moved off the main window, so the surface can be seen while the dialog is open.
  xdotool({"windowmove", "--sync", *dialog, "0", "0"});
  xdotool({"windowactivate", "--sync", *dialog});
  ASSERT_EQ(markPixels(*dialog), 0);

  type({"ctrl+a", "a", "b", "c", "Return"});
  QElapsedTimer timer;
  timer.start();
  while (markPixels(*dialog).value_or(0) == 0 && timer.elapsed() < kTimeoutMs) pause(50);
  EXPECT_GT(markPixels(*dialog).value_or(0), 0) << "the bad box was not marked";
  EXPECT_TRUE(windowTitled(kDimension)) << "the dialog closed on a bad component";
  EXPECT_FALSE(windowTitled(kPosition)) << "the position dialog opened on a bad component";
  expectPicture(blank(), 3);

  // The marked box keeps the focus. A constant other than the one offered resets the view to
  // (1, 0, 0), so the picture shows that the corrected text was the one taken.
  type({"ctrl+a", "minus", "0", "period", "5"});
  closeWithKey(kDimension, "Return");
  ASSERT_TRUE(waitForWindow(kPosition));
  EXPECT_EQ(readPositionBoxes(), "1 | 0 | 0 | 0");
  closeWithKey(kPosition, "Return");
  expectPicture(
      render({"--formula", "julia", "--zoom", "1", "--center", "0,0", "--components=-0.5,0"}));
}

}  // namespace
