// The main window `frmFractal`: menus, toolbar, picture and status bar over the explorer
// state, and the procedures every command starts from.
#pragma once

#include <QMainWindow>
#include <QPointF>

#include "colour_dialogs/colour_offset_dialog.h"
#include "colour_dialogs/rendering_dialog.h"
#include "control/dimension_dialog.h"
#include "control/position_control.h"
#include "control/position_dialog.h"
#include "control/zoom_steps.h"
#include "engine/explorer_state.h"
#include "engine/render_pass.h"
#include "help/about_window.h"
#include "help/author_window.h"
#include "help/help_window.h"
#include "platform/single_dialog.h"
#include "shell/menu_tree.h"
#include "shell/toolbar_buttons.h"

class QToolBar;

namespace orvane {

class PictureBox;
class StatusBar;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The client area below the menu bar, in pixels: toolbar, picture and status bar.
  static constexpr int kClientWidth = 404;
  static constexpr int kClientHeight = 368;
  static constexpr int kToolbarHeight = 28;

  // `compute` chooses the engine's threads; the defaults use every core.
  explicit MainWindow(ComputeOptions compute = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  ExplorerState& state() { return state_; }
  DialogValues& dialogs() { return dialogs_; }
  PictureBox& picture() { return *picMyBmp_; }
  StatusBar& statusPanels() { return *StatusBar1_; }
  QToolBar& toolbar() { return *Toolbar1_; }
  const MenuItems& menuItems() const { return menu_; }
  bool passRunning() const { return pass_.running(); }
  SingleDialog<PositionDialog>& positionDialog() { return Dialog_; }
  SingleDialog<DimensionDialog>& dimensionDialog() { return DialogD_; }
  SingleDialog<RenderingDialog>& renderingDialog() { return DialogC_; }
  SingleDialog<ColourOffsetDialog>& colourOffsetDialog() { return DialogM_; }
  SingleDialog<HelpWindow>& helpWindow() { return DialogReadme_; }
  SingleDialog<AboutWindow>& aboutWindow() { return frmFractalAbout_; }
  SingleDialog<AuthorWindow>& authorWindow() { return frmAbout_; }

  // The window's procedures.
  void drawings();
  void Mandel();
  void Julia();
  void lie();
  void smcolor();

  // File menu.
  void mnuStart_Click();
  void mnuStop_Click();
  void mnuClean_Click();
  void mnuNew_Click();
  void mnuExit_Click();

  // Scheme menu: forwarded to the formula commands.
  void mnuMandel_Click();
  void mnuJulia_Click();
  void mnuHole_Click();

  // Operate menu: the option arrays, numbered from 1.
  void mnuDeeps_Click(int index);
  void mnuMaxs_Click(int index);
  void mnuRnds_Click(int index);
  void mnuColors_Click(int index);
  void mnuSqrts_Click(int index);
  void mnuLine_Click();
  void mnuLie_Click();
  void mnuMove_Click();
  void mnuSmooth_Click();
  void zoomStep_Click(const ZoomStep& step);  // the six items of the two view submenus

  // The picture's mouse events: the drag selection of the next view.
  void picMyBmp_MouseDown(int button, QPointF position);
  void picMyBmp_MouseMove(QPointF position);
  void picMyBmp_MouseUp(QPointF position);

  // Help menu.
  void mnuReadme_Click();
  void mnuAbout_Click();
  void mnuWriter_Click();

  // The toolbar's one handler: the key of the clicked button.
  void Toolbar1_ButtonClick(ToolbarKey key);
  // The status bar's one handler: the number of the clicked panel.
  void StatusBar1_PanelClick(int panel);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void setupFileActions();
  void setupPlanActions();
  void setupOperateActions();
  void setupToolbar();
  void setupStatusBar();
  void setupPicture();
  void setupHelpActions();
  // Fills the position dialog's boxes and shows it; its OK draws the confirmed view.
  void showPositionDialog(const PositionTexts& texts);
  // Shows the dimension dialog with the proposed components; after its OK the position
  // dialog follows. `after` is the formula's check of what was confirmed.
  void showDimensionDialog(const DimensionTexts& texts,
                           void (*after)(ExplorerState&, DialogValues&));
  // The rendering dialog's sliders at the levels the load routine or New has just set; the
  // dialog is loaded without being shown.
  void setRenderingSliders();
  void connectItem(MenuItemName name, void (MainWindow::*handler)());
  void connectArray(MenuArrayName name, void (MainWindow::*handler)(int));
  void endProgram();

  ExplorerState state_;
  DialogValues dialogs_;
  PictureBox* picMyBmp_;
  QToolBar* Toolbar1_;
  StatusBar* StatusBar1_;
  MenuItems menu_;
  RenderPass pass_;
  SingleDialog<PositionDialog> Dialog_;
  SingleDialog<DimensionDialog> DialogD_;
  SingleDialog<RenderingDialog> DialogC_;
  ColourOffsetFields colourOffsetFields_;
  SingleDialog<ColourOffsetDialog> DialogM_;
  SingleDialog<HelpWindow> DialogReadme_;
  SingleDialog<AboutWindow> frmFractalAbout_;
  SingleDialog<AuthorWindow> frmAbout_;
  bool ending_ = false;
};

}  // namespace orvane
