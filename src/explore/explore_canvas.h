// The explorer's picture: fills the window, is drawn at device pixels, and turns the mouse
// into gestures on the picture's own pixels.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

#include "render/zoom_at.h"

namespace orvane::explore {

class ExploreCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit ExploreCanvas(QWidget* parent = nullptr);

  // The picture's size in device pixels: the widget's, so that it is crisp on any screen.
  PosterSize pictureSize() const;

  // Shows a picture of the current view, scaled to fill the canvas if it is a preview.
  void showPicture(const QImage& image);

 signals:
  void clicked(orvane::PicturePixel pixel);             // left button, without moving
  void rightClicked(orvane::PicturePixel pixel);        // right button
  void wheeled(orvane::PicturePixel pixel, int steps);  // steps > 0 towards the screen
  void dragged(orvane::PicturePixel from, orvane::PicturePixel to);
  void resized(orvane::PosterSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  PicturePixel pixelAt(QPointF position) const;

  QImage image_;
  std::optional<QPointF> pressed_;  // where the left button went down
  QPointF dragOffset_;              // how far the picture is dragged, in logical pixels
  bool dragging_ = false;
};

}  // namespace orvane::explore
