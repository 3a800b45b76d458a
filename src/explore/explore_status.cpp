// The explorer's status bar.
#include "explore/explore_status.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

#include "render/frame_plan.h"

namespace orvane::explore {

namespace {

// As the renderer warns: past this share at the depth, most of what the view holds is hidden.
constexpr double kReachedHintShare = 0.5;
constexpr int kMessageMs = 6000;

QLabel* addLabel(QStatusBar* bar, const QString& accessibleName) {
  auto* label = new QLabel(bar);
  label->setAccessibleName(accessibleName);
  bar->addPermanentWidget(label);
  return label;
}

}  // namespace

QString powerOfTen(const deep::ViewNumber& zoom) {
  const double log10Size = render::magnificationLog2(zoom) * std::log10(2.0);
  return (zoom.isNegative() ? QStringLiteral("-10^") : QStringLiteral("10^")) +
         QString::number(log10Size, 'f', 2);
}

ExploreStatus::ExploreStatus(QStatusBar* bar) : bar_(bar) {
  zoom_ = addLabel(bar, QStringLiteral("放大倍数"));
  centre_ = new QLineEdit(bar);
  centre_->setReadOnly(true);
  centre_->setFrame(false);
  centre_->setAccessibleName(QStringLiteral("中心坐标"));
  centre_->setToolTip(QStringLiteral("中心坐标，可选中复制"));
  centre_->setMinimumWidth(240);
  bar->addPermanentWidget(centre_, 1);
  depth_ = addLabel(bar, QStringLiteral("迭代深度"));
  mode_ = addLabel(bar, QStringLiteral("计算方式"));
  time_ = addLabel(bar, QStringLiteral("用时"));
  reached_ = addLabel(bar, QStringLiteral("达到深度的像素"));
}

void ExploreStatus::showView(const ViewRequest& view) {
  zoom_->setText(QStringLiteral("放大 ") + powerOfTen(view.zoom));
  if (view.centre) {
    centre_->setText(
        QString::fromStdString(view.centre->first.text() + ", " + view.centre->second.text()));
    centre_->setCursorPosition(0);
  }
  depth_->setText(QStringLiteral("深度 %1").arg(view.depth.value_or(0)));
  time_->setText(QStringLiteral("绘制中…"));
}

void ExploreStatus::showDrawn(const RenderedPicture& rendered) {
  const PassStatistics& statistics = rendered.statistics;
  mode_->setText(rendered.choice.deep ? QStringLiteral("深度缩放") : QStringLiteral("双精度"));
  mode_->setToolTip(QString::fromStdString(rendered.choice.reason));
  time_->setText(QStringLiteral("用时 %1 秒").arg(statistics.seconds, 0, 'f', 2));
  const double share = static_cast<double>(statistics.reached) /
                       static_cast<double>(std::max<std::uint64_t>(statistics.pixels, 1));
  QString text = QStringLiteral("达到深度 %1%").arg(100 * share, 0, 'f', 1);
  if (share > kReachedHintShare) text += QStringLiteral("，请加大深度");
  reached_->setText(text);
}

void ExploreStatus::say(const QString& message) {
  bar_->showMessage(message, kMessageMs);
}

}  // namespace orvane::explore
