// A label that is a link: hand pointer, and a click that reports itself.
#pragma once

#include <QLabel>

namespace orvane {

class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(QWidget* parent = nullptr);

 signals:
  // A press and release of the left button inside the label.
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvane
