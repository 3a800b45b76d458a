// orvane-explore's window.
#include "explore/explore_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>

#include <atomic>
#include <future>

#include "control/render_option_menus.h"
#include "engine/supersample.h"
#include "explore/explore_canvas.h"
#include "explore/explore_steering.h"
#include "explore/picture_file.h"
#include "render/memory_budget.h"
#include "render/view_chunk.h"
#include "render/view_options.h"

namespace orvane::explore {

namespace {

constexpr int kResizeSettleMs = 150;
constexpr int kStartWidth = 800;
constexpr int kStartHeight = 600;
constexpr char kClickZoom[] = "4";
constexpr char kClickZoomOut[] = "0.25";
constexpr char kWheelZoom[] = "2";
constexpr char kWheelZoomOut[] = "0.5";
const QString kPngFilter = QStringLiteral("PNG 图片 (*.png)");

// Reads one of the renderer's view options into the view, as the command line would.
ViewRequest withOption(const ViewRequest& view, const char* name, const QString& text) {
  ViewRequest next = view;
  findViewOption(name)->read(OptionValue(name, text.trimmed().toStdString()), next);
  checkView(next);
  return next;
}

}  // namespace

ExploreWindow::ExploreWindow(ComputeOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(options),
      canvas_(new ExploreCanvas(this)),
      worker_(options),
      status_(statusBar()),
      history_(homeView({kStartWidth, kStartHeight})) {
  setWindowTitle(QStringLiteral("Orvane 深度探索"));
  setCentralWidget(canvas_);
  resize(kStartWidth, kStartHeight);
  buildMenus();
  connect(canvas_, &ExploreCanvas::clicked, this,
          [this](PicturePixel p) { go([p](auto& v) { return zoomedInto(v, p, kClickZoom); }); });
  connect(canvas_, &ExploreCanvas::rightClicked, this,
          [this](PicturePixel) { go([](auto& v) { return zoomedBy(v, kClickZoomOut); }); });
  connect(canvas_, &ExploreCanvas::wheeled, this, [this](PicturePixel p, int steps) {
    const char* factor = steps > 0 ? kWheelZoom : kWheelZoomOut;
    go([p, factor](auto& v) { return zoomedAbout(v, p, factor); });
  });
  connect(canvas_, &ExploreCanvas::dragged, this, [this](PicturePixel from, PicturePixel to) {
    go([from, to](auto& v) { return panned(v, from, to); });
  });
  resizing_.setSingleShot(true);
  resizing_.setInterval(kResizeSettleMs);
  connect(canvas_, &ExploreCanvas::resized, this, [this] { resizing_.start(); });
  connect(&resizing_, &QTimer::timeout, this, &ExploreWindow::drawCurrent);
  connect(&worker_, &PictureWorker::drawn, this, &ExploreWindow::drawn);
}

QAction* ExploreWindow::addAction(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                  const std::function<void()>& triggered) {
  QAction* action = menu->addAction(caption);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, triggered);
  return action;
}

void ExploreWindow::buildMenus() {
  buildFileMenu();
  buildViewMenu();
  buildFormulaMenu();
  buildColourMenu();
  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  addAction(help, QStringLiteral("关于(&A)"), {}, [this] {
    QMessageBox about(QMessageBox::Information, QStringLiteral("关于 Orvane 深度探索"),
                      QStringLiteral("Orvane 深度探索 %1\n以任意精度探索逃逸时间分形。\n"
                                     "左键放大四倍，右键缩小四倍，滚轮缩放，拖动平移。")
                          .arg(QApplication::applicationVersion()),
                      QMessageBox::NoButton, this);
    about.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    about.exec();
  });
}

void ExploreWindow::buildFileMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  addAction(file, QStringLiteral("打开(&O)..."), QKeySequence::Open, [this] { openFile(); });
  addAction(file, QStringLiteral("保存(&V)..."), QKeySequence::Save, [this] { saveAs(); });
  addAction(file, QStringLiteral("超采样保存(&U)..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
            [this] { saveSupersampled(); });
  file->addSeparator();
  addAction(file, QStringLiteral("复制海报命令(&P)"), {}, [this] {
    QApplication::clipboard()->setText(QString::fromStdString(posterCommand(history_.current())));
    status_.say(QStringLiteral("海报命令已复制"));
  });
  addAction(file, QStringLiteral("复制视频命令(&M)"), {}, [this] {
    QApplication::clipboard()->setText(QString::fromStdString(videoCommand(history_.current())));
    status_.say(QStringLiteral("视频命令已复制"));
  });
  file->addSeparator();
  addAction(file, QStringLiteral("退出(&X)"), QKeySequence(QStringLiteral("Ctrl+Q")),
            [this] { close(); });
}

void ExploreWindow::buildViewMenu() {
  QMenu* view = menuBar()->addMenu(QStringLiteral("操作(&P)"));
  back_ = addAction(view, QStringLiteral("后退(&B)"), QKeySequence(Qt::Key_Backspace), [this] {
    history_.back();
    drawCurrent();
  });
  back_->setShortcuts({QKeySequence(Qt::Key_Backspace), QKeySequence::Back});
  forward_ = addAction(view, QStringLiteral("前进(&F)"), QKeySequence::Forward, [this] {
    history_.forward();
    drawCurrent();
  });
  view->addSeparator();
  addAction(view, QStringLiteral("缩小视域 4倍(&I)"), QKeySequence(Qt::Key_Plus),
            [this] { go([](auto& v) { return zoomedBy(v, kClickZoom); }); });
  addAction(view, QStringLiteral("扩大视域 4倍(&O)"), QKeySequence(Qt::Key_Minus),
            [this] { go([](auto& v) { return zoomedBy(v, kClickZoomOut); }); });
  addAction(view, QStringLiteral("全图(&H)"), QKeySequence(Qt::Key_Home), [this] {
    go([this](auto& v) {
      ViewRequest home = homeView(canvas_->pictureSize());
      home.components = v.components;
      return withFormula(home, v.drawing.value_or(formula::kMandelbrot));
    });
  });
  view->addSeparator();
  addAction(view, QStringLiteral("迭代深度加倍(&D)"), QKeySequence(Qt::Key_BracketRight),
            [this] { go(deeper); });
  addAction(view, QStringLiteral("迭代深度减半(&E)"), QKeySequence(Qt::Key_BracketLeft),
            [this] { go(shallower); });
}

void ExploreWindow::buildFormulaMenu() {
  QMenu* plan = menuBar()->addMenu(QStringLiteral("方案(&N)"));
  const std::pair<QString, std::int16_t> formulas[] = {
      {QStringLiteral("人形(&M)"), formula::kMandelbrot},
      {QStringLiteral("龙形(&J)"), formula::kJulia},
      {QStringLiteral("轮回隧道(&H)"), formula::kHole}};
  auto* group = new QActionGroup(this);
  for (const auto& [caption, drawing] : formulas) {
    QAction* action = addAction(plan, caption, {}, [this, drawing] {
      if (drawing == formula::kJulia) {
        askJuliaConstant();
      } else {
        go([drawing](auto& v) { return withFormula(v, drawing); });
      }
      syncMenus();  // a refused or cancelled choice leaves the formula as it was
    });
    action->setCheckable(true);
    group->addAction(action);
    formulaActions_.emplace_back(action, drawing);
  }
  plan->addSeparator();
  addAction(plan, QStringLiteral("参数(&C)..."), {}, [this] { askComponents(); });
}

void ExploreWindow::buildColourMenu() {
  QMenu* colour = menuBar()->addMenu(QStringLiteral("色彩控制(&C)"));
  auto* group = new QActionGroup(this);
  for (const ColourModeItem& item : kColourModeItems) {
    const std::int16_t mode = item.colorMode;
    QAction* action = addAction(colour, QString::fromUtf8(item.caption.data(), item.caption.size()),
                                {}, [this, mode] {
                                  go([mode](auto& v) {
                                    ViewRequest next = v;
                                    next.colourMode = mode;
                                    return next;
                                  });
                                });
    action->setCheckable(true);
    group->addAction(action);
    colourActions_.emplace_back(action, mode);
  }
  colour->addSeparator();
  addAction(colour, QStringLiteral("外部渲染加一(&O)"), QKeySequence(Qt::Key_O),
            [this] { go([](auto& v) { return withOuterLevel(v, 1); }); });
  addAction(colour, QStringLiteral("外部渲染减一(&U)"), QKeySequence(Qt::SHIFT | Qt::Key_O),
            [this] { go([](auto& v) { return withOuterLevel(v, -1); }); });
  addAction(colour, QStringLiteral("内部渲染加一(&I)"), QKeySequence(Qt::Key_I),
            [this] { go([](auto& v) { return withInnerLevel(v, 1); }); });
  addAction(colour, QStringLiteral("内部渲染减一(&N)"), QKeySequence(Qt::SHIFT | Qt::Key_I),
            [this] { go([](auto& v) { return withInnerLevel(v, -1); }); });
  addAction(colour, QStringLiteral("偏移(&M)..."), {}, [this] { askOffsets(); });
}

void ExploreWindow::go(const std::function<ViewRequest(const ViewRequest&)>& change) {
  try {
    ViewRequest next = change(history_.current());
    next.size = canvas_->pictureSize();
    RenderRequest request;
    request.view = next;
    // The window shares the machine: its orbits may take half of the memory.
    const std::string refusal = depthMemoryRefusal(request, machineMemory() / 2);
    if (!refusal.empty()) throw OptionError{refusal};
    history_.go(std::move(next));
  } catch (const OptionError& refused) {
    status_.say(QStringLiteral("视图未改变：") + QString::fromStdString(refused.text));
    return;
  }
  drawCurrent();
}

void ExploreWindow::drawCurrent() {
  history_.replace(resized(history_.current(), canvas_->pictureSize()));
  full_.reset();
  generation_ = worker_.draw(history_.current());
  status_.showView(history_.current());
  back_->setEnabled(history_.canGoBack());
  forward_->setEnabled(history_.canGoForward());
  syncMenus();
}

void ExploreWindow::drawn(const DrawnPicture& picture) {
  if (picture.generation != generation_) return;  // a view since replaced
  canvas_->showPicture(picture.image);
  if (!picture.full) return;
  full_ = picture;
  status_.showDrawn(picture.rendered);
}

bool ExploreWindow::open(const QString& path) {
  ViewRequest view;
  std::string error;
  if (!readKeptView("打开", path.toStdString(), view, error)) {
    status_.say(QString::fromStdString(error));
    return false;
  }
  go([view](const ViewRequest&) { return view; });
  return true;
}

bool ExploreWindow::save(const QString& path) {
  if (!full_) {
    status_.say(QStringLiteral("图像尚未画完，画完后再保存"));
    return false;
  }
  std::string error;
  if (!writePicture(path.toStdString(), full_->image, full_->rendered.view, error)) {
    status_.say(QString::fromStdString(error));
    return false;
  }
  status_.say(QStringLiteral("已保存 %1").arg(path));
  return true;
}

QString ExploreWindow::choosePng(const QString& title, bool saving) {
  QFileDialog dialog(this, title, {}, kPngFilter);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("位置:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型:"));
  dialog.setLabelText(QFileDialog::Accept,
                      saving ? QStringLiteral("保存") : QStringLiteral("打开"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void ExploreWindow::openFile() {
  const QString path = choosePng(QStringLiteral("打开图片"), false);
  if (!path.isEmpty()) open(path);
}

void ExploreWindow::saveAs() {
  const QString path = choosePng(QStringLiteral("保存图片"), true);
  if (!path.isEmpty()) save(path);
}

void ExploreWindow::saveSupersampled() {
  QInputDialog ask(this);
  ask.setWindowTitle(QStringLiteral("超采样保存"));
  ask.setLabelText(QStringLiteral("每个像素的采样（N×N）:"));
  ask.setIntRange(2, kMaxSupersample);
  ask.setIntValue(3);
  ask.setOkButtonText(QStringLiteral("确定"));
  ask.setCancelButtonText(QStringLiteral("取消"));
  if (ask.exec() != QDialog::Accepted) return;
  const int samples = ask.intValue();
  const QString path = choosePng(QStringLiteral("超采样保存"), true);
  if (path.isEmpty()) return;
  ViewRequest view = history_.current();
  view.supersample = samples;
  std::atomic<double> progress{0};
  std::atomic<bool> cancelled{false};
  ComputeOptions options = options_;
  options.stop = &cancelled;
  std::string error;
  auto drawing = std::async(std::launch::async, [&] {
    return drawToFile(path.toStdString(), view, options, progress, error);
  });
  QProgressDialog dialog(QStringLiteral("正在绘制 %1×%1 超采样图片…").arg(samples),
                         QStringLiteral("取消"), 0, 1000, this);
  dialog.setWindowModality(Qt::WindowModal);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &dialog, [&] {
    dialog.setValue(static_cast<int>(progress * 1000));
    if (drawing.wait_for(std::chrono::seconds(0)) == std::future_status::ready) dialog.accept();
  });
  connect(&dialog, &QProgressDialog::canceled, &dialog, [&] { cancelled = true; });
  poll.start(50);
  dialog.exec();
  const bool written = drawing.get() && !cancelled;
  status_.say(written     ? QStringLiteral("已保存 %1").arg(path)
              : cancelled ? QStringLiteral("已取消")
                          : QString::fromStdString(error));
}

void ExploreWindow::syncMenus() {
  const ViewRequest& view = history_.current();
  for (const auto& [action, drawing] : formulaActions_)
    action->setChecked(drawing == view.drawing.value_or(formula::kMandelbrot));
  for (const auto& [action, mode] : colourActions_)
    action->setChecked(mode == view.colourMode.value_or(colour_mode::kRgb));
}

std::optional<QString> ExploreWindow::askFor(const QString& title, const QString& label,
                                             const QString& shown) {
  QInputDialog dialog(this);
  dialog.setWindowTitle(title);
  dialog.setLabelText(label);
  dialog.setTextValue(shown);
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

void ExploreWindow::askComponents() {
  const ViewRequest& view = history_.current();
  const QString shown = view.components
                            ? QString::fromStdString(view.components->first.text() + "," +
                                                     view.components->second.text())
                            : QStringLiteral("0,0");
  if (const auto text = askFor(QStringLiteral("参数"),
                               QStringLiteral("人形的起点 z0，或龙形的常数 c（X,Y）:"), shown))
    go([text](auto& v) { return withOption(v, "components", *text); });
}

void ExploreWindow::askJuliaConstant() {
  // A constant of 0 draws a plain disc: a well-known one is offered instead.
  const ViewRequest& view = history_.current();
  const bool zero =
      !view.components || (view.components->first.isZero() && view.components->second.isZero());
  const QString shown = zero ? QStringLiteral("-0.8,0.156")
                             : QString::fromStdString(view.components->first.text() + "," +
                                                      view.components->second.text());
  if (const auto text =
          askFor(QStringLiteral("龙形"), QStringLiteral("龙形的常数 c（X,Y）:"), shown)) {
    go([text](auto& v) {
      return withOption(withFormula(v, formula::kJulia), "components", *text);
    });
  }
}

void ExploreWindow::askOffsets() {
  const ViewRequest& view = history_.current();
  QString shown = QStringLiteral("0,0,0");
  if (view.offsets) {
    const auto& [r, g, b] = *view.offsets;
    shown = QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
  }
  if (const auto text = askFor(QStringLiteral("色彩偏移量"),
                               QStringLiteral("红、绿、蓝的偏移量（R,G,B）:"), shown))
    go([text](auto& v) { return withOption(v, "offsets", *text); });
}

}  // namespace orvane::explore
