// The main window on the offscreen platform: layout, menus, toolbar, status bar, commands.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "main_window_fixture.h"
#include "picture_box.h"
#include "status_bar.h"

namespace orvane {
namespace {

// One line per menu item as a user sees it: indent by level, caption, shortcut, and
// [ticked] / [greyed] marks.
void describeMenu(const QMenu& menu, int level, QStringList& lines) {
  for (QAction* action : menu.actions()) {
    QString line = QString(level * 2, u' ') + (action->isSeparator() ? "-" : action->text());
    if (!action->shortcut().isEmpty()) line += " " + action->shortcut().toString();
    if (action->isChecked()) line += " [ticked]";
    if (!action->isEnabled()) line += " [greyed]";
    lines << line;
    if (action->menu()) describeMenu(*action->menu(), level + 1, lines);
  }
}

QStringList describeMenuBar(const QMenuBar& bar) {
  QStringList lines;
  for (QAction* action : bar.actions()) {
    lines << action->text();
    describeMenu(*action->menu(), 1, lines);
  }
  return lines;
}

const QStringList kExpectedMenus = {
    "文件(&F)",
    "  开始(&S) Ctrl+S",
    "  停止(&P) Ctrl+P",
    "  清屏(&C) Ctrl+C",
    "  新建(&N)",
    "  -",
    "  保存(&V)... Ctrl+A [greyed]",
    "  -",
    "  退出(&X) Ctrl+X",
    "方案(&N)",
    "  人形(&M)...",
    "  龙形(&J)...",
    "  六度超弦(&S)... [greyed]",
    "  -",
    "  轮回隧道(&H)...",
    "操作(&P)",
    "  分辨率",
    "    320 X 240 [greyed]",
    "    352 X 288 [greyed]",
    "    400 X 300 [ticked] [greyed]",
    "    640 X 480 [greyed]",
    "    800 X 600 [greyed]",
    "    1024 X 768 [greyed]",
    "  位置控制(&L)...",
    "  色彩控制(&C)",
    "    二值单色位图",
    "    8位256级灰度",
    "    RGB24位真彩色 [ticked]",
    "    -",
    "    偏移(&M)...",
    "    渲染(&S)...",
    "    闪烁(&F)... [greyed]",
    "  -",
    "  扩大视域(&O)",
    "    2倍",
    "    4倍",
    "    16倍",
    "    256倍",
    "  缩小视域(&I)",
    "    2倍",
    "    4倍",
    "  -",
    "  线形",
    "  方阵(&S)",
    "    8 x 8",
    "    10 x 10",
    "    12 x 12 [ticked]",
    "    16 x 16",
    "    20 x 20",
    "    25 x 25",
    "    32 x 32",
    "  -",
    "  迭代深度(&D)",
    "    3",
    "    16",
    "    64 [ticked]",
    "    128",
    "    256",
    "    512",
    "    1024",
    "    2048",
    "  逃逸值(&M)",
    "    4 [ticked]",
    "    16",
    "    100",
    "  边界抖动(&R)",
    "    100% [ticked]",
    "    90%-111%",
    "    75%-133%",
    "    50%-200%",
    "    33%-300%",
    "查看(&V)",
    "  工具栏 [ticked] [greyed]",
    "  -",
    "  状态栏(&C) [ticked] [greyed]",
    "帮助(&H)",
    "  说明(&M) F1",
    "  -",
    "  关于(&A)",
    "  作者简介",
};

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, LaysOutToolbarPictureAndStatusBarAtTheDesignSize) {
  EXPECT_EQ(window.windowTitle(), "Orvane");
  EXPECT_FALSE(window.windowIcon().isNull());
  const int top = window.menuBar()->geometry().bottom() + 1;
  EXPECT_EQ(window.width(), 404);
  EXPECT_EQ(window.height(), top + 368);
  EXPECT_EQ(window.toolbar().geometry(), QRect(0, top, 404, 28));
  EXPECT_EQ(window.picture().geometry(), QRect(0, top + 28, 404, 304));
  EXPECT_EQ(window.statusPanels().geometry(), QRect(0, top + 332, 404, 36));
}

TEST_F(MainWindowTest, MenuTreeHasItsCaptionsShortcutsTicksAndGreyedItems) {
  EXPECT_EQ(describeMenuBar(*window.menuBar()), kExpectedMenus);
}

TEST_F(MainWindowTest, ToolbarHasSixteenEntriesWithKeysTooltipsAndImages) {
  struct Entry {
    const char* key;
    const char* tooltip;
  };
  const Entry expected[] = {{"开始", "开始"},
                            {"保存", "保存"},
                            {"", ""},
                            {"扩大", "立即扩大视域2倍"},
                            {"色彩", "色彩调整"},
                            {"控制", "位置控制"},
                            {"", ""},
                            {"", ""},
                            {"", ""},
                            {"停止", "停止绘图"},
                            {"", ""},
                            {"", ""},
                            {"", ""},
                            {"人形", "Mandel"},
                            {"龙形", "Julia"},
                            {"高维", "Mandel&Julia"}};
  const QList<QAction*> actions = window.toolbar().actions();
  ASSERT_EQ(actions.size(), 16);
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i + 1);
    const QString key = QString::fromUtf8(expected[i].key);
    EXPECT_EQ(actions[i]->data().toString(), key);
    if (key.isEmpty()) continue;
    EXPECT_EQ(actions[i]->toolTip(), QString::fromUtf8(expected[i].tooltip));
    EXPECT_TRUE(actions[i]->text().isEmpty());
    EXPECT_EQ(actions[i]->icon().pixmap(16, 16).size(), QSize(16, 16));
    EXPECT_EQ(window.toolbar().widgetForAction(actions[i])->size(), QSize(24, 22));
  }
}

TEST_F(MainWindowTest, EveryCaptionIsCoveredByTheFontTheWindowReallyUses) {
  QStringList texts = {window.windowTitle()};
  for (QAction* action : window.menuBar()->findChildren<QAction*>())
    texts << action->text().remove(u'&');
  for (QAction* action : window.toolbar().actions()) texts << action->toolTip();
  for (int panel = 1; panel <= 6; ++panel) texts << window.statusPanels().panel(panel)->toolTip();

  const QWidget* widgets[] = {&window, window.menuBar(),
                              window.menuItems().item("mnuFile")->menu()};
  for (const QWidget* widget : widgets) {
    // The one font the family resolves to, without Qt borrowing glyphs from others.
    QFont font(QFontInfo(widget->font()).family());
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetrics metrics(font);
    for (const QString& text : texts)
      for (QChar c : text)
        EXPECT_TRUE(metrics.inFont(c)) << QFontInfo(font).family().toStdString() << " lacks "
                                       << QString(c).toStdString() << " of " << text.toStdString();
  }
  EXPECT_EQ(QFontInfo(window.font()).pointSize(), 9);
}

TEST_F(MainWindowTest, StatusPanelsStartWithTheHomeViewAndRefreshWhenClicked) {
  StatusBar& bar = window.statusPanels();
  EXPECT_EQ(bar.panel(4)->text(), "0");
  EXPECT_EQ(bar.panel(5)->text(), "-0.5");
  EXPECT_EQ(bar.panel(6)->text(), "0");
  EXPECT_EQ(bar.panel(1)->toolTip(), "手绘分形图片");
  EXPECT_EQ(bar.panel(4)->toolTip(), "倍率：以10为底的对数。");
  EXPECT_FALSE(bar.panel(2)->text().isEmpty());
  EXPECT_FALSE(bar.panel(3)->text().contains(QRegularExpression(":\\d\\d:")));  // no seconds

  window.state().viewZoom = 16;
  window.state().viewX = -0.123456789;
  window.state().viewY = 0.123456789;
  EXPECT_EQ(bar.panel(4)->text(), "0");  // nothing changes until a click
  for (int panel : {4, 5, 6}) QTest::mouseClick(bar.panel(panel), Qt::LeftButton);
  EXPECT_EQ(bar.panel(4)->text(), "1.2");
  EXPECT_EQ(bar.panel(5)->text(), "-0.12345679");
  EXPECT_EQ(bar.panel(6)->text(), "0.12345678");
}

TEST_F(MainWindowTest, OptionMenusStoreValuesAndMoveTheirTicks) {
  trigger("mnuDeeps", 8);
  EXPECT_EQ(window.state().iterDepth, 2048);
  EXPECT_EQ(tickedIn("mnuDeeps"), QStringList{"2048"});
  trigger("mnuDeeps", 8);  // choosing the ticked item again keeps its tick
  EXPECT_EQ(tickedIn("mnuDeeps"), QStringList{"2048"});
  trigger("mnuMaxs", 2);
  EXPECT_EQ(window.state().escapeValue, 16);
  EXPECT_EQ(tickedIn("mnuMaxs"), QStringList{"16"});
  trigger("mnuRnds", 5);
  EXPECT_EQ(window.state().jitterLow, 0.33f);
  EXPECT_EQ(tickedIn("mnuRnds"), QStringList{"33%-300%"});
  trigger("mnuColors", 1);
  EXPECT_EQ(window.state().colorMode, 1);
  EXPECT_EQ(tickedIn("mnuColors"), QStringList{"二值单色位图"});

  trigger("mnuLine");
  EXPECT_EQ(window.state().gridChoice, 1);
  EXPECT_EQ(window.state().gridCells, 1);
  EXPECT_EQ(tickedIn("mnuSqrts"), QStringList{"12 x 12"});  // line mode has no tick
  trigger("mnuSqrts", 4);
  EXPECT_EQ(window.state().gridCells, 256);
  EXPECT_EQ(tickedIn("mnuSqrts"), QStringList{"16 x 16"});
  EXPECT_EQ(window.picture().image(), PictureBox(400, 300).image());  // nothing was drawn
}

TEST_F(MainWindowTest, StartDrawsWhatTheEngineDrawsAndStopBeforehandChangesNothing) {
  const QImage expected = expectedPicture();
  trigger("mnuStop");
  trigger("mnuStart");
  EXPECT_FALSE(window.passRunning());
  EXPECT_EQ(window.picture().image(), expected);
  EXPECT_EQ(window.picture().pointer(), Pointer::crosshair);
  EXPECT_EQ(window.picture().penMode(), PenMode::invert);
  EXPECT_EQ(window.state().busy, kTrue);
}

TEST_F(MainWindowTest, StopDuringAPassLeavesItPartlyDrawnAndClearEmptiesThePicture) {
  QTimer::singleShot(0, &window, [this] { trigger("mnuStop"); });
  trigger("mnuStart");
  const int left = backgroundPixels();
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 400 * 300);
  EXPECT_EQ(window.state().busy, kTrue);

  QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);  // Clear, not copy
  EXPECT_EQ(backgroundPixels(), 400 * 300);
  EXPECT_EQ(window.state().viewZoom, 1);  // the view stays
}

TEST_F(MainWindowTest, ClearDuringAPassLetsItFillInTheRest) {
  QTimer clearOnce;  // clears at the first yield that finds something drawn
  QObject::connect(&clearOnce, &QTimer::timeout, [&] {
    if (backgroundPixels() == 400 * 300) return;
    trigger("mnuClean");
    clearOnce.stop();
  });
  clearOnce.start(0);
  trigger("mnuStart");
  const int left = backgroundPixels();
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 400 * 300);
}

TEST_F(MainWindowTest, ShortcutsStartAPass) {
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(backgroundPixels(), 0);
}

TEST_F(MainWindowTest, ToolbarDispatchesByKey) {
  window.state().zoomDivisor = 16;  // a step chosen earlier is replaced by the button's 2
  QTest::mouseClick(toolButton("扩大"), Qt::LeftButton);
  EXPECT_EQ(window.state().viewZoom, 0.5);
  EXPECT_EQ(window.state().zoomDivisor, 1);
  EXPECT_EQ(backgroundPixels(), 0);

  const QImage drawn = window.picture().image();
  const ExplorerState before = window.state();
  for (const char* key : {"保存", "高维"}) QTest::mouseClick(toolButton(key), Qt::LeftButton);
  EXPECT_EQ(window.state().viewZoom, before.viewZoom);
  EXPECT_EQ(window.state().busy, before.busy);
  EXPECT_EQ(window.picture().image(), drawn);

  QTest::mouseClick(toolButton("停止"), Qt::LeftButton);
  EXPECT_EQ(window.state().busy, kFalse);
  QTest::mouseClick(toolButton("开始"), Qt::LeftButton);
  EXPECT_EQ(window.state().busy, kTrue);
  EXPECT_EQ(window.picture().image(), drawn);
}

TEST_F(MainWindowTest, ExitDuringAPassAbandonsItAndNothingDrawsAfterwards) {
  QTimer::singleShot(0, &window, [this] { trigger("mnuExit"); });
  trigger("mnuStart");
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.passRunning());
  const int left = backgroundPixels();
  EXPECT_GT(left, 0);
  trigger("mnuStart");
  EXPECT_EQ(backgroundPixels(), left);
}

TEST_F(MainWindowTest, ClosingFromTheTitleBarEndsLikeExit) {
  QTimer::singleShot(0, &window, [this] { window.close(); });
  trigger("mnuStart");
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.passRunning());
  EXPECT_GT(backgroundPixels(), 0);
}

}  // namespace
}  // namespace orvane
