// The picture `picMyBmp`: a 400 x 300 drawing surface inside a sunken 2-pixel border.
#include "platform/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace orvane {

namespace {

constexpr int kFrameMilliseconds = 16;  // about the screen's refresh rate

QRgb rgbOf(Colour colour) {
  return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

int buttonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= mouse_button::kLeft;
  if (buttons & Qt::RightButton) bits |= mouse_button::kRight;
  if (buttons & Qt::MiddleButton) bits |= mouse_button::kMiddle;
  return bits;
}

Qt::CursorShape cursorShape(Pointer pointer) {
  switch (pointer) {
    case Pointer::hourglass:
      return Qt::WaitCursor;
    case Pointer::crosshair:
      return Qt::CrossCursor;
    case Pointer::hand:
      return Qt::PointingHandCursor;
    case Pointer::normal:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : QFrame(parent), image_(width, height, QImage::Format_RGB32), repaintTimer_(new QTimer(this)) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(kBorder);
  setFixedSize(width + 2 * kBorder, height + 2 * kBorder);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Moves reach the picture with no button held too, as they do on every desktop.
  setMouseTracking(true);
  image_.fill(background());
  repaintTimer_->setSingleShot(true);
  connect(repaintTimer_, &QTimer::timeout, this, &PictureBox::repaintDirty);
  sinceRepaint_.start();
}

QColor PictureBox::background() const {
  return palette().color(QPalette::Button);
}

void PictureBox::setPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  auto* pixel = reinterpret_cast<QRgb*>(image_.scanLine(y)) + x;
  *pixel = penMode_ == PenMode::invert ? (*pixel ^ 0x00ffffffu) : rgbOf(colour);
  dirty_ |= QRect(x, y, 1, 1);
}

void PictureBox::setPointer(Pointer pointer) {
  pointer_ = pointer;
  setCursor(cursorShape(pointer));
}

void PictureBox::drawLine(QPointF from, QPointF to, Colour colour) {
  QPainter painter(&image_);
  if (penMode_ == PenMode::invert) {
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  } else {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
  }
  painter.setPen(QPen(QColor::fromRgb(rgbOf(colour)), 0));
  painter.drawLine(from, to);
  painter.end();
  update(contentsRect());
}

void PictureBox::clear() {
  image_.fill(background());
  dirty_ = {};
  update(contentsRect());
}

void PictureBox::publish() {
  if (dirty_.isEmpty()) return;
  const qint64 waited = sinceRepaint_.elapsed();
  if (waited >= kFrameMilliseconds) {
    repaintDirty();
  } else if (!repaintTimer_->isActive()) {
    repaintTimer_->start(static_cast<int>(kFrameMilliseconds - waited));
  }
}

void PictureBox::repaintDirty() {
  repaintTimer_->stop();
  sinceRepaint_.restart();
  if (dirty_.isEmpty()) return;
  update(dirty_.translated(contentsRect().topLeft()));
  dirty_ = {};
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect target = event->rect() & contentsRect();
  painter.drawImage(target, image_, target.translated(-contentsRect().topLeft()));
}

QPointF PictureBox::surfacePosition(const QMouseEvent* event) const {
  return event->position() - QPointF(contentsRect().topLeft());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(buttonBits(event->button()), event->modifiers(), surfacePosition(event));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(buttonBits(event->buttons()), event->modifiers(), surfacePosition(event));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(buttonBits(event->button()), event->modifiers(), surfacePosition(event));
}

}  // namespace orvane
