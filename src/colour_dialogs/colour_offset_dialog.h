// The colour offset dialog `DialogM` ("色彩偏移量调整"): three presets and custom offsets.
#pragma once

#include <array>
#include <cstdint>

#include "engine/explorer_state.h"
#include "platform/dialog_window.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

// The dialog's own fields, kept for the whole run while its window comes and goes.
struct ColourOffsetFields {
  std::int16_t presetIndex = 0;  // the option last chosen, 1 to 4; 0 before the first opening
  std::int16_t savedRed = 0;     // the offsets as the opening left them; Cancel restores them
  std::int16_t savedGreen = 0;
  std::int16_t savedBlue = 0;
};

// The options `optMoveS`, numbered from 1: three presets and "自定义" (custom).
struct ColourPreset {
  const char* caption;
  std::int16_t colr, colg, colb;
};
inline constexpr int kCustomOption = 4;
inline constexpr int kDefaultPreset = 2;
inline constexpr std::array<ColourPreset, 3> kColourPresets{{
    {"火海", 0, 240, 224},
    {"草原", 160, 64, 192},
    {"碧天", 192, 128, 16},
}};

// A view over the main window's offsets `colr`, `colg`, `colb`. Choosing a preset changes
// them at once; OK takes the three boxes; "取消" puts back the offsets of the opening; the
// title bar leaves what the options set.
class ColourOffsetDialog : public DialogWindow {
  Q_OBJECT

 public:
  ColourOffsetDialog(ExplorerState& offsets, ColourOffsetFields& fields, QWidget* parent = nullptr);

  QLineEdit* txtMoveRed;
  QLineEdit* txtMoveGreen;
  QLineEdit* txtMoveBlue;
  std::array<QRadioButton*, 4> optMoveS;  // option i at index i - 1
  QGroupBox* FrmMove;
  QPushButton* CancelButton;
  QPushButton* OKButton;

 private:
  void optMoveS_Click(int index);
  void OKButton_Click();
  void CancelButton_Click();
  void showOffsets();
  void enableCustomFrame(int index);

  ExplorerState& offsets_;
  ColourOffsetFields& fields_;
};

}  // namespace orvane
