// The rendering dialog `DialogC` ("渲染"): the inner and outer smoothing levels on two sliders.
#pragma once

#include "engine/explorer_state.h"
#include "platform/dialog_window.h"

class QPushButton;
class QSlider;

namespace orvane {

// A view over `dcin` and `dcout`, which outlive it. The sliders open where the caller puts
// them; OK takes their positions, "取消" and the title bar leave the levels as they were.
// Nothing here draws: the next pass copies the levels.
class RenderingDialog : public DialogWindow {
  Q_OBJECT

 public:
  static constexpr int kBackgroundWidth = 252;
  static constexpr int kBackgroundHeight = 200;

  explicit RenderingDialog(RenderingValues& publics, QWidget* parent = nullptr);

  // Puts the sliders at these levels (0 to 10).
  void setSliders(int inner, int outer);

  QSlider* sldIn;
  QSlider* sldOut;
  QPushButton* CancelButton;
  QPushButton* OKButton;

 private:
  void OKButton_Click();

  RenderingValues& publics_;
};

}  // namespace orvane
