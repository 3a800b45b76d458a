// orvane-explore's window: the picture filling it, menus in the main window's style, and the
// status bar; every gesture makes a new view, drawn in the background.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <optional>
#include <utility>
#include <vector>

#include "explore/explore_status.h"
#include "explore/picture_worker.h"
#include "explore/view_history.h"

class QAction;

namespace orvane::explore {

class ExploreCanvas;

class ExploreWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit ExploreWindow(ComputeOptions options = {}, QWidget* parent = nullptr);

  // Shows the view kept in a PNG, at the window's size; false with a message when it has none.
  bool open(const QString& path);
  // Writes the full picture of the current view, with its view; false with a message when
  // there is none yet or the file cannot be written.
  bool save(const QString& path);

  // What the window shows, for the tests: its view, its canvas, and the view's full picture
  // once drawn.
  const ViewRequest& view() const { return history_.current(); }
  ExploreCanvas* canvas() const { return canvas_; }
  const std::optional<DrawnPicture>& fullPicture() const { return full_; }

 private:
  void buildMenus();
  void buildFileMenu();
  void buildViewMenu();
  void buildFormulaMenu();
  void buildColourMenu();
  QAction* addAction(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                     const std::function<void()>& triggered);

  // A new view, entered in the history; `change` may refuse (the renderer's limits), which
  // leaves everything as it was and says why in the status bar.
  void go(const std::function<ViewRequest(const ViewRequest&)>& change);
  // Draws the history's current view at the canvas's size.
  void drawCurrent();
  void drawn(const DrawnPicture& picture);
  // Ticks the formula and colour mode of the current view.
  void syncMenus();
  // The text typed in a small dialog, or nothing when it was cancelled.
  std::optional<QString> askFor(const QString& title, const QString& label, const QString& shown);
  void askComponents();
  void askJuliaConstant();
  void askOffsets();
  // A PNG to open or to save, through a file dialog in Chinese; empty when cancelled.
  QString choosePng(const QString& title, bool saving);
  void saveAs();
  void saveSupersampled();
  void openFile();

  ComputeOptions options_;
  ExploreCanvas* canvas_;
  PictureWorker worker_;
  ExploreStatus status_;
  ViewHistory history_;
  long generation_ = 0;
  std::optional<DrawnPicture> full_;  // the current view's full picture, once drawn
  QTimer resizing_;                   // a resize redraws once the window stops changing
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  std::vector<std::pair<QAction*, std::int16_t>> formulaActions_;
  std::vector<std::pair<QAction*, std::int16_t>> colourActions_;
};

}  // namespace orvane::explore
