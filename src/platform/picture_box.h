// The picture `picMyBmp`: a 400 x 300 drawing surface inside a sunken 2-pixel border.
#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QRect>

#include "engine/drawing_surface.h"

class QTimer;

namespace orvane {

// Mouse buttons as the picture reports them: a set of these bits.
namespace mouse_button {
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kMiddle = 4;
}  // namespace mouse_button

// The picture lives in a retained image that every repaint copies from, so it survives being
// covered. Pixels set by the render pass reach the screen at the next `publish`; lines and
// clearing show at once.
class PictureBox : public QFrame, public DrawingSurface {
  Q_OBJECT

 public:
  static constexpr int kBorder = 2;  // pixels of sunken frame on each side

  explicit PictureBox(int width, int height, QWidget* parent = nullptr);

  // DrawingSurface
  void setPixel(int x, int y, Colour colour) override;
  void setPenMode(PenMode mode) override { penMode_ = mode; }
  void setPointer(Pointer pointer) override;

  // A straight line between two surface points, both ends included. In invert mode the
  // colour plays no part: each pixel under the line is inverted, so the same line drawn
  // twice restores the picture exactly.
  void drawLine(QPointF from, QPointF to, Colour colour);
  // Fills the surface with the background (the button-face colour).
  void clear();
  // Shows the pixels set since the last repaint: at once when a frame's time has passed since
  // then, else by a timer at the end of that frame, so a pass that yields thousands of times
  // a second repaints at screen rate and nothing drawn stays hidden.
  void publish();

  PenMode penMode() const { return penMode_; }
  Pointer pointer() const { return pointer_; }
  const QImage& image() const { return image_; }
  QColor background() const;

 signals:
  // Positions are in surface pixels; `buttons` is a set of `mouse_button` bits (for a move,
  // the buttons held). Outside the surface the coordinates go on as they are.
  void mousePressed(int buttons, Qt::KeyboardModifiers modifiers, QPointF position);
  void mouseMoved(int buttons, Qt::KeyboardModifiers modifiers, QPointF position);
  void mouseReleased(int buttons, Qt::KeyboardModifiers modifiers, QPointF position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPointF surfacePosition(const QMouseEvent* event) const;

  void repaintDirty();

  QImage image_;
  QRect dirty_;  // surface pixels set but not yet shown
  QElapsedTimer sinceRepaint_;
  QTimer* repaintTimer_;
  PenMode penMode_ = PenMode::invert;  // a drag before the first pass leaves nothing behind
  Pointer pointer_ = Pointer::normal;
};

}  // namespace orvane
