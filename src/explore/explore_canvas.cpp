// The explorer's picture and the mouse gestures on it.
#include "explore/explore_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace orvane::explore {

namespace {

// A press that moves less than this is a click, not a drag.
constexpr double kDragThreshold = 4;
// One notch of a common wheel.
constexpr int kWheelNotch = 120;

}  // namespace

ExploreCanvas::ExploreCanvas(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("分形图像"));
  setAccessibleDescription(QStringLiteral("左键点击放大四倍，右键缩小四倍，滚轮缩放，拖动平移"));
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(64, 48);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

PosterSize ExploreCanvas::pictureSize() const {
  const double ratio = devicePixelRatioF();
  return {std::clamp(static_cast<int>(std::lround(width() * ratio)), 1, kMaxPosterSide),
          std::clamp(static_cast<int>(std::lround(height() * ratio)), 1, kMaxPosterSide)};
}

void ExploreCanvas::showPicture(const QImage& image) {
  image_ = image;
  dragOffset_ = {};
  update();
}

PicturePixel ExploreCanvas::pixelAt(QPointF position) const {
  const PosterSize size = pictureSize();
  const double ratio = devicePixelRatioF();
  return {std::clamp(static_cast<int>(position.x() * ratio), 0, size.width - 1),
          std::clamp(static_cast<int>(position.y() * ratio), 0, size.height - 1)};
}

void ExploreCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (image_.isNull()) return;
  // A preview is smaller than the canvas and stretched over it; the full picture has the
  // canvas's device pixels and lands on them one to one.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRectF(rect()).translated(dragOffset_), image_);
}

void ExploreCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = event->position();
    dragging_ = false;
  } else if (event->button() == Qt::RightButton) {
    emit rightClicked(pixelAt(event->position()));
  }
}

void ExploreCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) return;
  const QPointF moved = event->position() - *pressed_;
  if (!dragging_ && std::hypot(moved.x(), moved.y()) < kDragThreshold) return;
  dragging_ = true;
  dragOffset_ = moved;
  update();
}

void ExploreCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  const PicturePixel from = pixelAt(*pressed_);
  pressed_.reset();
  if (dragging_) {
    dragging_ = false;
    emit dragged(from, pixelAt(event->position()));
  } else {
    emit clicked(from);
  }
}

void ExploreCanvas::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / kWheelNotch;
  if (steps != 0) emit wheeled(pixelAt(event->position()), steps);
  event->accept();
}

void ExploreCanvas::resizeEvent(QResizeEvent*) {
  emit resized(pictureSize());
}

}  // namespace orvane::explore
