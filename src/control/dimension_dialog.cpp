// The dimension components dialog `DialogD`: the Mandelbrot start value or the Julia constant.
#include "control/dimension_dialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/utf8_text.h"

namespace orvane {

DimensionDialog::DimensionDialog(DimensionValues& publics, QWidget* parent)
    : DialogWindow(parent, QStringLiteral("高维形状参数[中心对称的龙、混沌残疾的人]"), 4995, 2310),
      publics_(publics) {
  Frame1 = addFrame(this, QStringLiteral("请输入高维分量"), {240, 120, 4455, 1335});
  addLabel(Frame1, QStringLiteral("第三维分量"), {240, 480, 900, 180});
  txtDx = addBox(Frame1, QStringLiteral("第三维分量"), {1320, 360, 2775, 270});
  addLabel(Frame1, QStringLiteral("第四维分量"), {240, 840, 900, 180});
  txtDy = addBox(Frame1, QStringLiteral("第四维分量"), {1320, 720, 2775, 270});
  CancelButton = addButton(this, QStringLiteral("取消"), {360, 1680, 1095, 375});
  OKButton = addButton(this, QStringLiteral("确定>>..."), {3240, 1680, 1335, 375});
  placeHintLine(Frame1, {1320, 1020, 2775, 270});  // under the boxes

  setTabOrder(txtDx, txtDy);
  setTabOrder(txtDy, CancelButton);
  setTabOrder(CancelButton, OKButton);
  setButtons(OKButton, CancelButton);
  connect(OKButton, &QPushButton::clicked, this, &DimensionDialog::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &DimensionDialog::reject);
}

void DimensionDialog::setTexts(const DimensionTexts& texts) {
  txtDx->setText(utf8Text(texts.dx));
  txtDy->setText(utf8Text(texts.dy));
}

// Both boxes must hold finite numbers; otherwise the dialog stays open with the offending
// boxes marked and nothing stored.
void DimensionDialog::OKButton_Click() {
  clearMarks();
  const std::optional<double> dx = readNumberBox(txtDx);
  const std::optional<double> dy = readNumberBox(txtDy);
  if (hasMarks()) return;
  publics_.numDx = *dx;
  publics_.numDy = *dy;
  publics_.ok = false;
  accept();
}

}  // namespace orvane
