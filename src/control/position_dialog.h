// The position dialog `Dialog` ("位置控制"): magnification, centre and rotation as text.
#pragma once

#include "control/position_control.h"
#include "engine/explorer_state.h"
#include "platform/dialog_window.h"

namespace orvane {

// A view over the dialog's public values `numzoom`, `numx`, `numy`, `ct` and `roo`, which
// outlive it. OK stores the four boxes there and closes with Accepted; the caller then
// starts the pass. "还原鼠标" closes with nothing changed.
class PositionDialog : public DialogWindow {
  Q_OBJECT

 public:
  PositionDialog(PositionValues& publics, QWidget* parent = nullptr);

  void setTexts(const PositionTexts& texts);
  PositionTexts texts() const;

  QLineEdit* txtZoom;
  QLineEdit* txtX;
  QLineEdit* txtY;
  QLineEdit* txtRound;
  QPushButton* cmdRoo;
  QPushButton* CancelButton;
  QPushButton* OKButton;

 private:
  void OKButton_Click();
  void CancelButton_Click();
  void cmdRoo_Click();

  PositionValues& publics_;
  QGroupBox* fraSample1;
};

}  // namespace orvane
