// The help and about windows: opening, closing, their load steps, links and the help text.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

#include "link_label.h"
#include "main_window_fixture.h"

namespace orvane {
namespace {

// Stands in for the desktop's handler of a link scheme.
class LinkRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

using HelpWindows = MainWindowFixture;

TEST_F(HelpWindows, F1OpensTheHelpTextAndEscClosesIt) {
  bool shown = false;
  whenDialogShows<HelpWindow>([&shown](HelpWindow& help) {
    shown = true;
    EXPECT_EQ(help.windowTitle(), "帮助");
    EXPECT_EQ(help.size(), QSize(372, 222));
    EXPECT_TRUE(help.txtReadme->isReadOnly());
    EXPECT_TRUE(help.txtReadme->toPlainText().startsWith(HelpWindow::helpText().left(20)));
    EXPECT_TRUE(help.OKButton->isDefault());
    QTest::keyClick(help.txtReadme, Qt::Key_Escape);
  });
  QTest::keyClick(&window, Qt::Key_F1);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(window.helpWindow().loaded());
}

TEST_F(HelpWindows, TheAboutWindowRunsItsLoadStepsAtEveryOpening) {
  for (int opening = 0; opening < 2; ++opening) {
    whenDialogShows<AboutWindow>([opening](AboutWindow& about) {
      EXPECT_EQ(about.windowTitle(), "关于Orvane ");
      EXPECT_EQ(about.lblVersion->text(), "版本  1.2.5");
      EXPECT_EQ(about.lblTitle->text(), "Orvane");
      EXPECT_EQ(about.size(), QSize(362, 231));
      EXPECT_EQ(about.picIcon->toolTip(), "升级下载");
      EXPECT_EQ(about.Label3->cursor().shape(), Qt::PointingHandCursor);
      QTest::keyClick(about.cmdOK, opening == 0 ? Qt::Key_Escape : Qt::Key_Return);
    });
    trigger("mnuAbout");
    EXPECT_FALSE(window.aboutWindow().loaded());
  }
}

TEST_F(HelpWindows, TheProfileShowsItsPictureAndLinks) {
  whenDialogShows<AuthorWindow>([](AuthorWindow& author) {
    EXPECT_EQ(author.size(), QSize(351, 224));
    EXPECT_EQ(author.picIcon->pixmap().size(), QSize(90, 120));
    EXPECT_EQ(author.lblFractal->text(), AuthorWindow::kWebSite.toString());
    EXPECT_EQ(author.lblpic->cursor().shape(), Qt::PointingHandCursor);
    author.cmdOK->click();
  });
  trigger("mnuWriter");
  EXPECT_FALSE(window.authorWindow().loaded());
}

TEST(Links, OpenThroughTheDesktopAndLeaveTheWindowOpen) {
  AboutWindow about;
  about.show();
  LinkRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
  QTest::mouseClick(about.Label3, Qt::LeftButton);
  QTest::mouseClick(about.picIcon, Qt::LeftButton);
  EXPECT_EQ(recorder.opened, (QList<QUrl>{AboutWindow::kMailAddress, AboutWindow::kDownloadPage}));
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

  // With nothing to handle it (no browser on a test machine), a click changes nothing.
  AuthorWindow author;
  author.show();
  QTest::mouseClick(author.lblFractal, Qt::LeftButton);
  EXPECT_TRUE(author.isVisible());
  EXPECT_TRUE(about.isVisible());
}

void collectCaptions(const QMenu& menu, QStringList& captions) {
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    QString caption = action->text();
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove(QStringLiteral("..."));
    captions << caption;
    if (action->menu()) collectCaptions(*action->menu(), captions);
  }
}

TEST_F(HelpWindows, TheHelpTextMentionsEveryMenuCaptionAndToolbarTooltip) {
  QStringList mentioned;
  for (const QAction* action : window.menuBar()->actions()) {
    mentioned << action->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    collectCaptions(*action->menu(), mentioned);
  }
  for (const QAction* action : window.toolbar().actions())
    if (!action->toolTip().isEmpty() && !action->data().toString().isEmpty())
      mentioned << action->toolTip();
  ASSERT_EQ(mentioned.size(), 80);  // 71 menu items and 9 tooltips
  // No-break spaces keep formulas and sizes on one line; they read as blanks.
  const QString text = HelpWindow::helpText().replace(QChar(0xa0), u' ');
  for (const QString& caption : mentioned)
    EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
}

}  // namespace
}  // namespace orvane

#include "tst_help_windows.moc"
