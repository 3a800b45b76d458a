// The status bar `StatusBar1`: six sunken panels, the date and time kept up to date.
#include "shell/status_bar.h"

#include <algorithm>

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>

#include "shell/status_panels.h"

namespace orvane {

namespace {

struct PanelSpec {
  int minimumWidth;  // pixels
  const char* tooltip;
  const char* initialText;
};

constexpr std::array<PanelSpec, 6> kPanels{{
    {32, "手绘分形图片", ""},
    {59, "日期", ""},
    {38, "时间", ""},
    {48, "倍率：以10为底的对数。", "0"},
    {97, "X轴偏移量", "-0.5"},
    {97, "Y轴偏移量", "0"},
}};

constexpr int kPictureSide = 32;

QLabel* makePanel(const PanelSpec& spec, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(spec.initialText), parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(spec.minimumWidth);
  label->setToolTip(QString::fromUtf8(spec.tooltip));
  label->setIndent(2);
  return label;
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), clock_(new QTimer(this)) {
  setSizeGripEnabled(false);
  setFixedHeight(kHeight);
  // The panels sit in a row of their own, 2 pixels apart as on a classic status bar; the
  // status bar's own item spacing would push them past the window's width.
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i] = makePanel(kPanels[i], row);
    panels_[i]->installEventFilter(this);
    layout->addWidget(panels_[i], i + 1 == panels_.size() ? 1 : 0);  // the last takes the rest
  }
  addWidget(row, 1);
  QLabel* picture = panels_[status_panel::kPicture - 1];
  picture->setPixmap(QPixmap(QStringLiteral(":/icons/hand_fractal.png")));
  picture->setFixedWidth(kPictureSide + 2 * picture->frameWidth());
  picture->setAlignment(Qt::AlignCenter);

  // Checked every second, so a new minute or a new day shows within a second of it.
  connect(clock_, &QTimer::timeout, this, &StatusBar::showClock);
  clock_->start(1000);
  showClock();
}

QLabel* StatusBar::panel(int number) const {
  return panels_.at(static_cast<std::size_t>(number - 1));
}

// A panel is at least its minimum width and grows to show its whole text.
void StatusBar::setPanelText(int number, const QString& text) {
  QLabel* label = panel(number);
  label->setText(text);
  const int minimumWidth = kPanels.at(static_cast<std::size_t>(number - 1)).minimumWidth;
  label->setMinimumWidth(std::max(minimumWidth, label->sizeHint().width()));
}

void StatusBar::showClock() {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale;
  setPanelText(status_panel::kDate, locale.toString(now.date(), QLocale::ShortFormat));
  // Hours and minutes in the locale's order and separator: its short form without seconds.
  QString format = locale.timeFormat(QLocale::ShortFormat);
  format.remove(QRegularExpression(QStringLiteral("[^hHmaAp]?s+")));
  setPanelText(status_panel::kTime, locale.toString(now.time(), format));
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
      if (panels_[i] == label && label->rect().contains(mouse->position().toPoint())) {
        emit panelClicked(static_cast<int>(i) + 1);
      }
    }
  }
  return QStatusBar::eventFilter(watched, event);
}

}  // namespace orvane
