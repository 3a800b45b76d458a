// The main window's toolbar `Toolbar1` and its dispatch by button key.
#include <QAction>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>

#include "platform/utf8_text.h"
#include "shell/main_window.h"
#include "shell/toolbar_buttons.h"

namespace orvane {

namespace {

constexpr QSize kButtonSize(24, 22);
constexpr int kSeparatorWidth = 8;  // a separator is a gap between groups

QWidget* gap(QWidget* parent) {
  auto* widget = new QWidget(parent);
  widget->setFixedSize(kSeparatorWidth, kButtonSize.height());
  return widget;
}

}  // namespace

void MainWindow::setupToolbar() {
  Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1_->setMovable(false);
  Toolbar1_->setFloatable(false);
  Toolbar1_->setIconSize(QSize(16, 16));
  Toolbar1_->setFixedHeight(kToolbarHeight);
  Toolbar1_->layout()->setSpacing(0);
  for (const ToolbarEntry& entry : kToolbarEntries) {
    if (entry.isSeparator()) {
      Toolbar1_->addWidget(gap(Toolbar1_));
      continue;
    }
    QAction* action = Toolbar1_->addAction(QIcon(utf8Text(entry.image)), QString());
    action->setData(utf8Text(entry.key));
    action->setToolTip(utf8Text(entry.tooltip));
    QWidget* button = Toolbar1_->widgetForAction(action);
    button->setFixedSize(kButtonSize);
    button->setAccessibleName(action->toolTip());  // the buttons show only pictures
    connect(action, &QAction::triggered, this,
            [this, key = ToolbarKey::of(entry)] { Toolbar1_ButtonClick(key); });
  }
  addToolBar(Qt::TopToolBarArea, Toolbar1_);
}

// Compares the key with each case in turn; the first match decides. "保存" and "高维" have
// no case and do nothing.
void MainWindow::Toolbar1_ButtonClick(ToolbarKey key) {
  if (key == "控制") {
    lie();
  } else if (key == "色彩") {
    smcolor();
  } else if (key == "开始") {
    drawings();
  } else if (key == "人形") {
    Mandel();
  } else if (key == "龙形") {
    Julia();
  } else if (key == "扩大") {
    state_.zoomDivisor = 2.0;
    drawings();
  } else if (key == "停止") {
    state_.busy = kFalse;
  }
}

}  // namespace orvane
