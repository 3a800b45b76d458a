// The help text: every menu caption and toolbar tooltip is explained in it.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>

#include "help/about_window.h"
#include "help/help_window.h"
#include "platform/link_label.h"
#include "shell/main_window.h"

namespace orvane {
namespace {

TEST(HelpText, MentionsEveryMenuCaptionAndToolbarTooltip) {
  MainWindow window;
  QStringList mentioned;
  for (const QAction* action : window.menuBar()->findChildren<QAction*>()) {
    if (action->isSeparator() || action->text().isEmpty()) continue;  // the bar's own actions
    // As the help text names it: without the access key and the trailing dots.
    static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)|\\.\\.\\."));
    mentioned << action->text().remove(accessKey);
  }
  for (const QAction* action : window.toolbar().actions())
    if (!action->toolTip().isEmpty()) mentioned << action->toolTip();
  ASSERT_EQ(mentioned.size(), 80);  // 71 menu items and 9 tooltips: none missed
  // No-break spaces keep formulas and sizes on one line; they read as blanks.
  const QString text = HelpWindow::helpText().replace(QChar(0xa0), u' ');
  for (const QString& caption : mentioned)
    EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
}

// Leftover editing marks (such as ⟦ ⟧ around a caption) would show to every reader: the text
// holds ASCII, CJK ideographs and only the punctuation and signs it is written with.
TEST(HelpText, HoldsOnlyTheCharactersItIsWrittenWith) {
  const QString allowed = QStringLiteral("“”←−√◆\u3000、。【】・\u00a0²×！（），：；");
  for (const QChar c : HelpWindow::helpText()) {
    const bool cjk = c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff;
    EXPECT_TRUE(c.unicode() < 0x80 || cjk || allowed.contains(c))
        << "U+" << std::hex << int{c.unicode()};
  }
}

// A link shows its underline: one row of the link's colour as wide as most of its text.
TEST(AboutWindow, MailLinkIsUnderlined) {
  AboutWindow window;
  const QImage picture = window.Label3->grab().toImage();
  const QRgb ink = qRgb(0, 0, 128);
  int widest = 0;
  for (int y = 0; y < picture.height(); ++y) {
    int run = 0;
    for (int x = 0; x < picture.width(); ++x) run += picture.pixel(x, y) == ink ? 1 : 0;
    widest = std::max(widest, run);
  }
  EXPECT_GT(widest, window.Label3->fontMetrics().horizontalAdvance(window.Label3->text()) * 8 / 10);
}

}  // namespace
}  // namespace orvane
