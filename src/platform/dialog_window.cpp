// What every dialog window shares: a fixed frame laid out in twips, OK on Enter and Cancel on
// Esc, and the way a box whose text OK cannot take is marked.
#include "platform/dialog_window.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/number_conversion.h"

namespace orvane {

namespace {

const QString kMarkedStyle = QStringLiteral("QLineEdit { border: 2px solid #d00000; }");

}  // namespace

QRect DialogWindow::twipsRect(int left, int top, int width, int height) {
  return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

QLabel* DialogWindow::addLabel(QWidget* parent, const QString& caption, QRect twips) {
  auto* label = place<QLabel>(parent, twips);
  label->setText(caption);
  return label;
}

QLineEdit* DialogWindow::addBox(QWidget* parent, const QString& name, QRect twips) {
  auto* box = place<QLineEdit>(parent, twips);
  box->setAccessibleName(name);
  return box;
}

QPushButton* DialogWindow::addButton(QWidget* parent, const QString& caption, QRect twips) {
  auto* button = place<QPushButton>(parent, twips);
  button->setText(caption);
  return button;
}

QGroupBox* DialogWindow::addFrame(QWidget* parent, const QString& caption, QRect twips) {
  auto* frame = place<QGroupBox>(parent, twips);
  frame->setTitle(caption);
  return frame;
}

DialogWindow::DialogWindow(QWidget* parent, const QString& caption, int clientWidthTwips,
                           int clientHeightTwips)
    : DialogWindow(parent, caption, QSize(pixels(clientWidthTwips), pixels(clientHeightTwips))) {}

DialogWindow::DialogWindow(QWidget* parent, const QString& caption, QSize clientPixels)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      hint_(new QLabel(this)) {
  setWindowTitle(caption);
  setFixedSize(clientPixels);
  setModal(true);
  hint_->setWordWrap(true);
  hint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hint_->setStyleSheet(QStringLiteral("color: #d00000;"));
  hint_->hide();
}

void DialogWindow::setButtons(QPushButton* ok, QPushButton* cancel) {
  ok->setDefault(true);
  cancel_ = cancel;
}

void DialogWindow::placeHintLine(QWidget* parent, QRect twips) {
  hint_->setParent(parent);
  hint_->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

void DialogWindow::markBadInput(QLineEdit* box, const QString& hint) {
  if (marked_.isEmpty()) {
    hint_->setText(hint);
    hint_->show();
    hint_->raise();
    box->setFocus();
    box->selectAll();
  }
  if (marked_.contains(box)) return;
  marked_.append(box);
  box->setStyleSheet(kMarkedStyle);
  connect(box, &QLineEdit::textChanged, this, [this, box] { unmark(box); });
}

void DialogWindow::unmark(QLineEdit* box) {
  disconnect(box, &QLineEdit::textChanged, this, nullptr);
  box->setStyleSheet(QString());
  marked_.removeAll(box);
  if (marked_.isEmpty()) hint_->hide();
}

void DialogWindow::clearMarks() {
  while (!marked_.isEmpty()) unmark(const_cast<QLineEdit*>(marked_.front()));
}

std::optional<double> DialogWindow::readNumberBox(QLineEdit* box) {
  const std::optional<double> value = readNumber(box->text());
  if (!value) markBadInput(box, isNumberTooLarge(box->text()) ? kTooLargeHint : kNotANumberHint);
  return value;
}

std::optional<std::int16_t> DialogWindow::readWholeNumberBox(QLineEdit* box) {
  const std::optional<std::int16_t> value = readWholeNumber16(box->text());
  if (!value) markBadInput(box, kNotAWholeNumberHint);
  return value;
}

// Typing into a dialog just opened replaces the text of its first box, as on every desktop,
// whichever way the dialog was opened; reaching a box by Tab selects it as before.
void DialogWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
    if (auto* box = qobject_cast<QLineEdit*>(w); box && box->isEnabled()) {
      box->selectAll();
      return;
    }
  }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel_) {
    cancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace orvane
