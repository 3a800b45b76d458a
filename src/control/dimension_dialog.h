// The dimension components dialog `DialogD`: the Mandelbrot start value or the Julia constant.
#pragma once

#include "control/formula_selection.h"
#include "engine/explorer_state.h"
#include "platform/dialog_window.h"

namespace orvane {

// A view over `numDx`, `numDy` and `ok`, which outlive it. "确定>>..." stores the two boxes
// and sets `ok` to false, so the formula command goes on to the position dialog; "取消"
// and the title bar change nothing.
class DimensionDialog : public DialogWindow {
  Q_OBJECT

 public:
  explicit DimensionDialog(DimensionValues& publics, QWidget* parent = nullptr);

  void setTexts(const DimensionTexts& texts);

  QLineEdit* txtDx;
  QLineEdit* txtDy;
  QPushButton* CancelButton;
  QPushButton* OKButton;

 private:
  void OKButton_Click();

  DimensionValues& publics_;
  QGroupBox* Frame1;
};

}  // namespace orvane
