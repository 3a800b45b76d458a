// What every dialog window shares: a fixed frame laid out in twips, OK on Enter and Cancel on
// Esc, and the way a box whose text OK cannot take is marked.
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>
#include <QList>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

// The hints beside a box whose text OK cannot take.
inline const QString kNotANumberHint = QStringLiteral("请输入一个数。");
inline const QString kNotAWholeNumberHint = QStringLiteral("请输入一个整数。");
inline const QString kTooLargeHint = QStringLiteral("数太大，须在 ±1.79e308 内。");

class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  // Dialog layouts are given in twips, 15 to a pixel at 96 dpi.
  static constexpr int kTwipsPerPixel = 15;
  static constexpr int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
  static QRect twipsRect(int left, int top, int width, int height);

  // Controls placed at a rectangle given in twips within `parent`.
  template <typename Widget>
  static Widget* place(QWidget* parent, QRect twips) {
    auto* widget = new Widget(parent);
    widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return widget;
  }
  static QLabel* addLabel(QWidget* parent, const QString& caption, QRect twips);
  // A text box, named for screen readers after the caption a separate label shows beside it.
  static QLineEdit* addBox(QWidget* parent, const QString& name, QRect twips);
  static QPushButton* addButton(QWidget* parent, const QString& caption, QRect twips);
  // A frame with a caption (an empty caption draws the bare frame).
  static QGroupBox* addFrame(QWidget* parent, const QString& caption, QRect twips);

  // The hint line shown beside a marked box, for the tests and for the eye.
  QLabel* hintLine() const { return hint_; }
  bool isMarked(const QLineEdit* box) const { return marked_.contains(box); }

 protected:
  // A fixed dialog frame with a close button only, not in the taskbar, sized to the client
  // area in twips.
  DialogWindow(QWidget* parent, const QString& caption, int clientWidthTwips,
               int clientHeightTwips);
  // The same with the client area in pixels.
  DialogWindow(QWidget* parent, const QString& caption, QSize clientPixels);

  // `ok` answers Enter, `cancel` answers Esc by running its own click handler. The title
  // bar's close button runs neither.
  void setButtons(QPushButton* ok, QPushButton* cancel);
  // Where the hint line sits, in twips within `parent` (a free spot of the layout).
  void placeHintLine(QWidget* parent, QRect twips);

  // Marks `box`: a red frame, the hint, and, for the first box marked since the last
  // clearMarks, the focus with its text selected. The mark goes when the text changes.
  void markBadInput(QLineEdit* box, const QString& hint);
  void clearMarks();
  bool hasMarks() const { return !marked_.isEmpty(); }

  // The number in `box` (see `readNumber`), or nothing with the box marked.
  std::optional<double> readNumberBox(QLineEdit* box);
  // The 16-bit whole number in `box` (see `readWholeNumber16`), or nothing with it marked.
  std::optional<std::int16_t> readWholeNumberBox(QLineEdit* box);

  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void unmark(QLineEdit* box);

  QPushButton* cancel_ = nullptr;
  QLabel* hint_;
  QList<const QLineEdit*> marked_;
};

}  // namespace orvane
