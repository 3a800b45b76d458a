// The about window `frmFractalAbout` ("关于Orvane "): name, version, the team and its links.
#include "help/about_window.h"

#include <QFrame>
#include <QIcon>
#include <QPushButton>

#include "help/window_text.h"
#include "platform/link_label.h"
#include "platform/shell_open.h"

namespace orvane {

namespace {

QLabel* boldLabel(QWidget* parent, const QString& text, QRect place) {
  QLabel* bold = placeText(parent, text, place);
  QFont font = bold->font();
  font.setBold(true);
  bold->setFont(font);
  return bold;
}

// The etched separator: a grey line with a white line of width 2 under it.
void etchedLine(QWidget* parent, int top) {
  auto* grey = new QFrame(parent);
  grey->setGeometry(0, top, parent->width(), 1);
  grey->setStyleSheet(QStringLiteral("background: #808080;"));
  auto* white = new QFrame(parent);
  white->setGeometry(0, top + 1, parent->width(), 2);
  white->setStyleSheet(QStringLiteral("background: #ffffff;"));
}

}  // namespace

const QUrl AboutWindow::kDownloadPage(QStringLiteral("https://orvane.example.org/download/"));
const QUrl AboutWindow::kMailAddress(QStringLiteral("mailto:team@orvane.example.org"));

AboutWindow::AboutWindow(QWidget* parent)
    : DialogWindow(parent, QStringLiteral("关于Orvane "), {362, 231}) {
  picIcon = new LinkLabel(this);
  picIcon->setGeometry(16, 16, 36, 36);
  picIcon->setAlignment(Qt::AlignCenter);
  picIcon->setPixmap(QIcon(QStringLiteral(":/icons/orvane.png")).pixmap(32, 32));
  picIcon->setToolTip(QStringLiteral("升级下载"));
  lblTitle = placeText(this, QStringLiteral("Orvane"), {80, 8, 108, 12}, Qt::blue);
  lblVersion = placeText(this, QStringLiteral("版本  ") + QStringLiteral(ORVANE_VERSION),
                         {224, 8, 66, 12}, Qt::red);
  placeText(this, QStringLiteral("一个逐点计算、逐步成像的分形探索程序。"), {80, 32, 235, 30},
            Qt::darkRed);
  placeText(this, QStringLiteral("开发商：Orvane 开发组"), {48, 72, 180, 12});
  // Wider than the other lines: the whole mail address must show, up to the collaborators.
  Label3 = placeLink(this, QStringLiteral("欢迎咨询：team@orvane.example.org"), {48, 88, 214, 12},
                     QColor(0, 0, 128), kMailAddress);
  placeText(this, QStringLiteral("感谢每一位试用者提出的意见与建议！"), {48, 120, 193, 33},
            Qt::red);
  boldLabel(this, QStringLiteral("合作者："), {264, 72, 53, 12});
  placeText(this, QStringLiteral("Qt 社区\nDebian 社区\noneTBB 社区"), {264, 88, 72, 60});
  etchedLine(this, 168);
  boldLabel(this, QStringLiteral("警告："), {16, 184, 40, 12});
  placeText(this, QStringLiteral("本程序免费使用，作者不对使用后果承担任何责任。"),
            {56, 184, 210, 33}, QColor(128, 0, 128));
  cmdOK = new QPushButton(QStringLiteral("确定"), this);
  cmdOK->setGeometry(280, 192, 63, 23);

  setButtons(cmdOK, cmdOK);  // OK is also the cancel button: Enter and Esc both close
  connect(cmdOK, &QPushButton::clicked, this, &AboutWindow::accept);
  connect(picIcon, &LinkLabel::clicked, this, [] { openInDesktopShell(kDownloadPage); });
}

}  // namespace orvane
