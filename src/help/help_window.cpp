// The help window `DialogReadme` ("帮助"): the whole help text, read-only.
#include "help/help_window.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

QString HelpWindow::helpText() {
  QFile file(QStringLiteral(":/help/readme_zh.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// Both buttons only close the window; the text cannot be edited, since nothing would keep
// the edits.
HelpWindow::HelpWindow(QWidget* parent) : DialogWindow(parent, QStringLiteral("帮助"), {372, 222}) {
  txtReadme = new QPlainTextEdit(this);
  txtReadme->setAccessibleName(QStringLiteral("说明"));  // the menu item that opens it
  txtReadme->setGeometry(24, 16, 265, 185);
  txtReadme->setReadOnly(true);
  txtReadme->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtReadme->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtReadme->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtReadme->setPlainText(helpText());
  CancelButton = new QPushButton(QStringLiteral("取消"), this);
  CancelButton->setGeometry(312, 40, 41, 25);
  OKButton = new QPushButton(QStringLiteral("确定"), this);
  OKButton->setGeometry(312, 160, 41, 25);

  setButtons(OKButton, CancelButton);
  connect(OKButton, &QPushButton::clicked, this, &HelpWindow::accept);
  connect(CancelButton, &QPushButton::clicked, this, &HelpWindow::reject);
}

}  // namespace orvane
