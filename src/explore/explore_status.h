// The explorer's status bar: magnification, centre (selectable, every digit), depth, mode, the
// last picture's time, and the share of pixels at the depth with the hint to raise it.
#pragma once

#include <QString>

#include "render/render_picture.h"

class QLabel;
class QLineEdit;
class QStatusBar;

namespace orvane::explore {

class ExploreStatus {
 public:
  explicit ExploreStatus(QStatusBar* bar);

  // The view asked for, before its picture is drawn.
  void showView(const ViewRequest& view);
  // The full picture drawn, its mode, time and pixels at the depth.
  void showDrawn(const RenderedPicture& rendered);
  // A passing message, such as a refused input: it changes nothing else.
  void say(const QString& message);

 private:
  QStatusBar* bar_;
  QLabel* zoom_;
  QLineEdit* centre_;
  QLabel* depth_;
  QLabel* mode_;
  QLabel* time_;
  QLabel* reached_;
};

// The magnification as a power of ten, "10^31.30" ("-10^31.30" for a mirrored view), from its
// text of any size.
QString powerOfTen(const deep::ViewNumber& zoom);

}  // namespace orvane::explore
