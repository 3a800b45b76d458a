// The main window's picture `picMyBmp`: the mouse selection of the next view.
#include "navigation/drag_selection.h"
#include "platform/picture_box.h"
#include "shell/main_window.h"

namespace orvane {

namespace {

// The selection frame goes onto the picture in its current pen mode.
class PictureCanvas : public FrameCanvas {
 public:
  explicit PictureCanvas(PictureBox& picture) : picture_(picture) {}
  void drawFrameLine(float x1, float y1, float x2, float y2, Colour colour) override {
    picture_.drawLine({x1, y1}, {x2, y2}, colour);
  }

 private:
  PictureBox& picture_;
};

}  // namespace

void MainWindow::setupPicture() {
  picMyBmp_->setObjectName(QStringLiteral("picMyBmp"));
  setCentralWidget(picMyBmp_);
  connect(
      picMyBmp_, &PictureBox::mousePressed, this,
      [this](int buttons, Qt::KeyboardModifiers, QPointF at) { picMyBmp_MouseDown(buttons, at); });
  connect(picMyBmp_, &PictureBox::mouseMoved, this,
          [this](int, Qt::KeyboardModifiers, QPointF at) { picMyBmp_MouseMove(at); });
  connect(picMyBmp_, &PictureBox::mouseReleased, this,
          [this](int, Qt::KeyboardModifiers, QPointF at) { picMyBmp_MouseUp(at); });
}

// The shift state plays no part in the selection.
void MainWindow::picMyBmp_MouseDown(int button, QPointF at) {
  PictureCanvas canvas(*picMyBmp_);
  orvane::picMyBmp_MouseDown(state_, dialogs_.position, canvas, button, static_cast<float>(at.x()),
                             static_cast<float>(at.y()));
}

void MainWindow::picMyBmp_MouseMove(QPointF at) {
  PictureCanvas canvas(*picMyBmp_);
  orvane::picMyBmp_MouseMove(state_, dialogs_.position, canvas, static_cast<float>(at.x()),
                             static_cast<float>(at.y()));
}

// A release that ends a selection opens the position dialog with the new view.
void MainWindow::picMyBmp_MouseUp(QPointF at) {
  PictureCanvas canvas(*picMyBmp_);
  if (const std::optional<ProposedView> view =
          orvane::picMyBmp_MouseUp(state_, dialogs_.position, canvas, static_cast<float>(at.x()),
                                   static_cast<float>(at.y()))) {
    showPositionDialog(
        viewTexts(view->magnification, view->centreX, view->centreY, view->rotationDegrees));
  }
}

}  // namespace orvane
