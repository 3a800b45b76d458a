// The colour offset dialog `DialogM` ("色彩偏移量调整"): three presets and custom offsets.
#include "colour_dialogs/colour_offset_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orvane {

namespace {

constexpr int kBoxLength = 3;  // characters: -99 to 999

QLineEdit* offsetBox(QWidget* parent, const QString& name, QRect twips) {
  QLineEdit* box = DialogWindow::addBox(parent, name, twips);
  box->setMaxLength(kBoxLength);
  return box;
}

QLabel* colouredLabel(QWidget* parent, const QString& caption, QRect twips, QColor colour) {
  QLabel* label = DialogWindow::addLabel(parent, caption, twips);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

ColourOffsetDialog::ColourOffsetDialog(ExplorerState& offsets, ColourOffsetFields& fields,
                                       QWidget* parent)
    : DialogWindow(parent, QStringLiteral("色彩偏移量调整"), 4470, 2985),
      offsets_(offsets),
      fields_(fields) {
  FrmMove = addFrame(this, QStringLiteral("自定义偏移量"), {360, 120, 1935, 2175});
  colouredLabel(FrmMove, QStringLiteral("红"), {360, 360, 180, 180}, Qt::red);
  txtMoveRed = offsetBox(FrmMove, QStringLiteral("红"), {720, 360, 735, 270});
  colouredLabel(FrmMove, QStringLiteral("绿"), {360, 960, 180, 180}, QColor(0, 128, 0));
  txtMoveGreen = offsetBox(FrmMove, QStringLiteral("绿"), {720, 960, 735, 270});
  colouredLabel(FrmMove, QStringLiteral("蓝"), {360, 1560, 180, 180}, Qt::blue);
  txtMoveBlue = offsetBox(FrmMove, QStringLiteral("蓝"), {720, 1560, 735, 270});
  placeHintLine(FrmMove, {240, 1860, 1620, 270});  // under the blue box

  addLabel(this, QStringLiteral("导入配色方案"), {2640, 120, 1080, 180});
  const QColor optionColours[] = {Qt::red, QColor(0, 128, 0), Qt::blue,
                                  palette().color(QPalette::WindowText)};
  for (int i = 0; i < kCustomOption; ++i) {
    const int top = 480 + 480 * i;
    optMoveS[static_cast<std::size_t>(i)] = place<QRadioButton>(this, {2760, top, 255, 180});
    const QString caption =
        i < 3 ? QString::fromUtf8(kColourPresets[static_cast<std::size_t>(i)].caption)
              : QStringLiteral("自定义");
    colouredLabel(this, caption, {3240, top, i < 3 ? 360 : 540, 180}, optionColours[i]);
    optMoveS[static_cast<std::size_t>(i)]->setAccessibleName(caption);  // its caption is a label
  }
  CancelButton = addButton(this, QStringLiteral("取消"), {480, 2400, 975, 375});
  OKButton = addButton(this, QStringLiteral("确定"), {2880, 2400, 1095, 375});

  setTabOrder(OKButton, CancelButton);
  setTabOrder(CancelButton, txtMoveRed);
  setTabOrder(txtMoveRed, txtMoveGreen);
  setTabOrder(txtMoveGreen, txtMoveBlue);
  QWidget* previous = txtMoveBlue;
  for (QRadioButton* option : optMoveS) {
    setTabOrder(previous, option);
    previous = option;
  }
  setButtons(OKButton, CancelButton);
  connect(OKButton, &QPushButton::clicked, this, &ColourOffsetDialog::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &ColourOffsetDialog::CancelButton_Click);
  // The handler runs whenever an option becomes selected, by a click or from code; a click on
  // the option already selected changes nothing, so typed custom values are not wiped.
  for (int i = 0; i < kCustomOption; ++i) {
    connect(optMoveS[static_cast<std::size_t>(i)], &QRadioButton::toggled, this,
            [this, index = i + 1](bool selected) {
              if (selected) optMoveS_Click(index);
            });
  }

  // The opening steps: the default preset on the first opening, the last option re-applied.
  if (fields_.presetIndex < 1) {
    fields_.presetIndex = kDefaultPreset;
    const ColourPreset& preset = kColourPresets[kDefaultPreset - 1];
    offsets_.colr = preset.colr;
    offsets_.colg = preset.colg;
    offsets_.colb = preset.colb;
  }
  enableCustomFrame(fields_.presetIndex);
  optMoveS.at(static_cast<std::size_t>(fields_.presetIndex - 1))->setChecked(true);
  showOffsets();
  OKButton->setFocus();  // the dialog opens on "确定", the first stop of its tab order
  fields_.savedRed = offsets_.colr;
  fields_.savedGreen = offsets_.colg;
  fields_.savedBlue = offsets_.colb;
}

void ColourOffsetDialog::showOffsets() {
  txtMoveRed->setText(QString::number(offsets_.colr));
  txtMoveGreen->setText(QString::number(offsets_.colg));
  txtMoveBlue->setText(QString::number(offsets_.colb));
}

void ColourOffsetDialog::enableCustomFrame(int index) {
  FrmMove->setEnabled(index == kCustomOption);
}

// A preset sets its offsets at once; "自定义" keeps the offsets in force (the boxes, just
// filled with them, read back as the same values) and opens the boxes for typing.
void ColourOffsetDialog::optMoveS_Click(int index) {
  showOffsets();
  if (index < kCustomOption) {
    const ColourPreset& preset = kColourPresets[static_cast<std::size_t>(index - 1)];
    offsets_.colr = preset.colr;
    offsets_.colg = preset.colg;
    offsets_.colb = preset.colb;
  }
  fields_.presetIndex = static_cast<std::int16_t>(index);
  optMoveS[static_cast<std::size_t>(index - 1)]->setChecked(true);
  enableCustomFrame(index);
  showOffsets();
  // The options' group is one stop in the tab order, on the option selected, as on every
  // desktop; the arrow keys then move the selection.
  for (QRadioButton* option : optMoveS)
    option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

// Each box must hold a whole number (a fraction rounds, halves to even); otherwise the
// dialog stays open with the offending boxes marked and no offset changed.
void ColourOffsetDialog::OKButton_Click() {
  clearMarks();
  const std::optional<std::int16_t> red = readWholeNumberBox(txtMoveRed);
  const std::optional<std::int16_t> green = readWholeNumberBox(txtMoveGreen);
  const std::optional<std::int16_t> blue = readWholeNumberBox(txtMoveBlue);
  if (hasMarks()) return;
  offsets_.colr = *red;
  offsets_.colg = *green;
  offsets_.colb = *blue;
  accept();
}

void ColourOffsetDialog::CancelButton_Click() {
  offsets_.colr = fields_.savedRed;
  offsets_.colg = fields_.savedGreen;
  offsets_.colb = fields_.savedBlue;
  reject();
}

}  // namespace orvane
