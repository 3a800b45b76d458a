// The rendering dialog `DialogC` ("渲染"): the inner and outer smoothing levels on two sliders.
#include "colour_dialogs/rendering_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

namespace orvane {

namespace {

constexpr int kLowestLevel = 0;
constexpr int kHighestLevel = 10;

// The decorative background: a soft diagonal sweep through the colours the levels shade.
QPixmap backgroundPicture() {
  QPixmap picture(RenderingDialog::kBackgroundWidth, RenderingDialog::kBackgroundHeight);
  QPainter painter(&picture);
  QLinearGradient sweep(0, 0, picture.width(), picture.height());
  sweep.setColorAt(0.0, QColor(255, 236, 214));
  sweep.setColorAt(0.35, QColor(214, 240, 255));
  sweep.setColorAt(0.7, QColor(226, 214, 255));
  sweep.setColorAt(1.0, QColor(214, 255, 226));
  painter.fillRect(picture.rect(), sweep);
  return picture;
}

QSlider* levelSlider(QWidget* parent, QRect twips) {
  auto* slider = DialogWindow::place<QSlider>(parent, twips);
  slider->setOrientation(Qt::Horizontal);
  slider->setRange(kLowestLevel, kHighestLevel);
  slider->setSingleStep(1);
  slider->setPageStep(2);
  slider->setTickPosition(QSlider::NoTicks);
  return slider;
}

}  // namespace

RenderingDialog::RenderingDialog(RenderingValues& publics, QWidget* parent)
    : DialogWindow(parent, QStringLiteral("渲染"), 3750, 2985), publics_(publics) {
  auto* background = new QLabel(this);
  background->setPixmap(backgroundPicture());
  background->setGeometry(0, 0, kBackgroundWidth, kBackgroundHeight);
  background->lower();

  QGroupBox* frmColor =
      addFrame(this, QStringLiteral("渲染(对二值位图无效)"), {240, 240, 3255, 1935});
  addLabel(frmColor, QStringLiteral("内部渲染"), {240, 480, 720, 180});
  sldIn = levelSlider(frmColor, {1200, 360, 1815, 255});
  // Named by their own captions: a screen reader would otherwise read the frame's.
  sldIn->setAccessibleName(QStringLiteral("内部渲染"));
  addLabel(frmColor, QStringLiteral("小"), {1200, 720, 180, 180});
  addLabel(frmColor, QStringLiteral("大"), {2880, 720, 180, 180});
  addLabel(frmColor, QStringLiteral("外部渲染"), {240, 1320, 720, 180});
  sldOut = levelSlider(frmColor, {1200, 1200, 1815, 255});
  sldOut->setAccessibleName(QStringLiteral("外部渲染"));
  addLabel(frmColor, QStringLiteral("小"), {1200, 1560, 180, 180});
  addLabel(frmColor, QStringLiteral("大"), {2880, 1560, 180, 180});
  CancelButton = addButton(this, QStringLiteral("取消"), {240, 2400, 1215, 375});
  OKButton = addButton(this, QStringLiteral("确定"), {2280, 2400, 1215, 375});

  setTabOrder(sldIn, sldOut);
  setTabOrder(sldOut, CancelButton);
  setTabOrder(CancelButton, OKButton);
  setButtons(OKButton, CancelButton);
  connect(OKButton, &QPushButton::clicked, this, &RenderingDialog::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &RenderingDialog::reject);
  // The slider positions are kept with the levels, as the headless load routine keeps them.
  connect(sldIn, &QSlider::valueChanged, this,
          [this](int level) { publics_.sldIn = static_cast<std::int16_t>(level); });
  connect(sldOut, &QSlider::valueChanged, this,
          [this](int level) { publics_.sldOut = static_cast<std::int16_t>(level); });
  setSliders(publics_.sldIn, publics_.sldOut);
}

void RenderingDialog::setSliders(int inner, int outer) {
  sldIn->setValue(inner);
  sldOut->setValue(outer);
}

void RenderingDialog::OKButton_Click() {
  publics_.dcin = static_cast<std::int16_t>(sldIn->value());
  publics_.dcout = static_cast<std::int16_t>(sldOut->value());
  accept();
}

}  // namespace orvane
