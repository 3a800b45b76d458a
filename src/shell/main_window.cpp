// The main window `frmFractal`: layout, the render pass and the end of the program.
#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QToolBar>

#include "engine/load_routine.h"
#include "platform/event_yield.h"
#include "platform/picture_box.h"
#include "shell/status_bar.h"

namespace orvane {

MainWindow::MainWindow(ComputeOptions compute, QWidget* parent)
    : QMainWindow(parent),
      picMyBmp_(new PictureBox(kPictureWidth, kPictureHeight, this)),
      Toolbar1_(new QToolBar(this)),
      StatusBar1_(new StatusBar(this)),
      menu_(buildMenuTree(*menuBar())),
      pass_(state_, dialogs_, *picMyBmp_, eventLoopYield(*picMyBmp_), compute),
      Dialog_([this] { return std::make_unique<PositionDialog>(dialogs_.position, this); }),
      DialogD_([this] { return std::make_unique<DimensionDialog>(dialogs_.dimension, this); }),
      DialogC_([this] { return std::make_unique<RenderingDialog>(dialogs_.rendering, this); }),
      DialogM_([this] {
        return std::make_unique<ColourOffsetDialog>(state_, colourOffsetFields_, this);
      }),
      DialogReadme_([this] { return std::make_unique<HelpWindow>(this); }),
      frmFractalAbout_([this] { return std::make_unique<AboutWindow>(this); }),
      frmAbout_([this] { return std::make_unique<AuthorWindow>(this); }) {
  setWindowTitle(QStringLiteral("Orvane"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.png")));
  // The toolbar and the status bar are always shown: no context menu offers to hide them.
  setContextMenuPolicy(Qt::PreventContextMenu);

  setupToolbar();
  setupStatusBar();
  setupPicture();
  setupFileActions();
  setupPlanActions();
  setupOperateActions();
  setupHelpActions();

  // The program lays itself out only at its design size, so the window keeps it and offers
  // no maximise button.
  setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);

  formLoad(state_, dialogs_);
  setRenderingSliders();
}

MainWindow::~MainWindow() = default;

void MainWindow::drawings() {
  pass_.drawings();
  picMyBmp_->publish();
}

// `lie`: takes the position dialog's values into the state and shows the dialog with them.
void MainWindow::lie() {
  showPositionDialog(prepareLie(state_, dialogs_.position));
}

// OK has stored the boxes in the dialog's public values; the pass starts once the dialog is
// gone, so a dialog opened again during that pass is a fresh one.
void MainWindow::showPositionDialog(const PositionTexts& texts) {
  Dialog_.window().setTexts(texts);
  if (Dialog_.showModal()) drawings();
}

void MainWindow::Mandel() {
  showDimensionDialog(mandelBeforeDialog(state_, dialogs_), mandelAfterDialog);
}

void MainWindow::Julia() {
  showDimensionDialog(juliaBeforeDialog(state_, dialogs_), juliaAfterDialog);
}

// "取消" leaves `ok` true, so the formula command stops there; everything it did before the
// dialog stays.
void MainWindow::showDimensionDialog(const DimensionTexts& texts,
                                     void (*after)(ExplorerState&, DialogValues&)) {
  DimensionValues& dimension = dialogs_.dimension;
  DialogD_.window().setTexts(texts);
  dimension.ok = true;
  DialogD_.showModal();
  after(state_, dialogs_);
  if (!dimension.ok) lie();
  dimension.ok = true;
}

// The sliders open at the levels last accepted; nothing is drawn when the dialog closes.
void MainWindow::smcolor() {
  state_.renderIn = dialogs_.rendering.dcin;
  state_.renderOut = dialogs_.rendering.dcout;
  DialogC_.window().setSliders(state_.renderIn, state_.renderOut);
  DialogC_.showModal();
}

void MainWindow::setRenderingSliders() {
  DialogC_.window().setSliders(dialogs_.rendering.sldIn, dialogs_.rendering.sldOut);
}

void MainWindow::connectItem(MenuItemName name, void (MainWindow::*handler)()) {
  connect(menu_.item(name), &QAction::triggered, this, handler);
}

void MainWindow::connectArray(MenuArrayName name, void (MainWindow::*handler)(int)) {
  const QList<QAction*>& items = menu_.array(name);
  for (qsizetype i = 0; i < items.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    connect(items[i], &QAction::triggered, this,
            [this, handler, index] { (this->*handler)(index); });
  }
}

// Closing the window from its title bar ends the program as Exit does; otherwise the window
// would vanish while the program, and perhaps a pass, went on running unseen.
void MainWindow::closeEvent(QCloseEvent* event) {
  endProgram();
  event->accept();
}

// Ends everything at once: a running pass is abandoned at its next yield without drawing
// further, no pass starts any more, and the event loop returns with status 0.
void MainWindow::endProgram() {
  if (ending_) return;
  ending_ = true;
  pass_.close();
  Dialog_.unload();
  DialogC_.unload();
  DialogD_.unload();
  DialogM_.unload();
  DialogReadme_.unload();
  frmAbout_.unload();
  close();
  frmFractalAbout_.unload();
  QCoreApplication::exit(0);
}

}  // namespace orvane
