// The position dialog `Dialog` ("位置控制"): magnification, centre and rotation as text.
#include "control/position_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/number_conversion.h"
#include "platform/utf8_text.h"

namespace orvane {

namespace {

const QString kRotationRange = QStringLiteral("旋转角度须为 -32768 到 32767 之间的整数。");

}  // namespace

PositionDialog::PositionDialog(PositionValues& publics, QWidget* parent)
    : DialogWindow(parent, QStringLiteral("位置控制"), 4485, 3180), publics_(publics) {
  fraSample1 = addFrame(this, QString(), {240, 120, 3975, 2385});
  addLabel(fraSample1, QStringLiteral("倍率"), {720, 360, 360, 180});
  txtZoom = addBox(fraSample1, QStringLiteral("倍率"), {1440, 360, 2055, 270});
  addLabel(fraSample1, QStringLiteral("X 轴中心"), {360, 840, 720, 180});
  txtX = addBox(fraSample1, QStringLiteral("X 轴中心"), {1440, 840, 2055, 270});
  addLabel(fraSample1, QStringLiteral("Y 轴中心"), {360, 1320, 720, 180});
  txtY = addBox(fraSample1, QStringLiteral("Y 轴中心"), {1440, 1320, 2055, 270});
  cmdRoo = addButton(fraSample1, QStringLiteral("旋转"), {360, 1800, 735, 255});
  // The button beside it switches rotation by mouse; the box holds the angle.
  txtRound = addBox(fraSample1, QStringLiteral("旋转角度"), {1440, 1800, 495, 270});
  CancelButton = addButton(this, QStringLiteral("还原鼠标"), {600, 2640, 1095, 375});
  OKButton = addButton(this, QStringLiteral("确定"), {2640, 2640, 1215, 375});
  // The free corner of the frame, right of the rotation box.
  placeHintLine(fraSample1, {2040, 1740, 1860, 600});

  setTabOrder(txtZoom, txtX);
  setTabOrder(txtX, txtY);
  setTabOrder(txtY, cmdRoo);
  setTabOrder(cmdRoo, txtRound);
  setTabOrder(txtRound, CancelButton);
  setTabOrder(CancelButton, OKButton);
  setButtons(OKButton, CancelButton);

  connect(OKButton, &QPushButton::clicked, this, &PositionDialog::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &PositionDialog::CancelButton_Click);
  connect(cmdRoo, &QPushButton::clicked, this, &PositionDialog::cmdRoo_Click);
}

void PositionDialog::setTexts(const PositionTexts& texts) {
  txtZoom->setText(utf8Text(texts.zoom));
  txtX->setText(utf8Text(texts.x));
  txtY->setText(utf8Text(texts.y));
  txtRound->setText(utf8Text(texts.round));
}

PositionTexts PositionDialog::texts() const {
  return {txtZoom->text().toStdString(), txtX->text().toStdString(), txtY->text().toStdString(),
          txtRound->text().toStdString()};
}

// Every box must hold a finite number, and the rotation (while it is in effect) a whole
// number of degrees within 16 bits after rounding; otherwise the dialog stays open with the
// offending boxes marked and nothing stored. A magnification of 0 is taken as it is (the
// pass reads it as 1), and so is a negative one: the picture is then drawn mirrored through
// the centre, and where a point has no finite value the engine's rule for non-finite values
// colours it.
void PositionDialog::OKButton_Click() {
  clearMarks();
  const std::optional<double> zoom = readNumberBox(txtZoom);
  const std::optional<double> x = readNumberBox(txtX);
  const std::optional<double> y = readNumberBox(txtY);
  std::optional<std::int16_t> ct = std::int16_t{0};
  if (publics_.roo == 1) {
    const std::optional<double> degrees = readNumberBox(txtRound);
    ct = degrees ? wholeNumber16(*degrees) : std::nullopt;
    if (degrees && !ct) markBadInput(txtRound, kRotationRange);
  }
  if (hasMarks()) return;
  publics_.numzoom = *zoom;
  publics_.numx = *x;
  publics_.numy = *y;
  publics_.ct = *ct;
  accept();
}

void PositionDialog::CancelButton_Click() {
  reject();
}

void PositionDialog::cmdRoo_Click() {
  txtRound->setText(utf8Text(toggleRotation(publics_)));
}

}  // namespace orvane
