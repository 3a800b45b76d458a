// What every dialog window shares: a fixed frame laid out in twips, OK on Enter and Cancel on
// Esc, and the way a box whose text OK cannot take is marked.
#pragma once

#include <QDialog>
#include <QList>
#include <QRect>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  // Dialog layouts are given in twips, 15 to a pixel at 96 dpi.
  static constexpr int kTwipsPerPixel = 15;
  static constexpr int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
  static QRect twipsRect(int left, int top, int width, int height);

  // The hint line shown beside a marked box, for the tests and for the eye.
  QLabel* hintLine() const { return hint_; }
  bool isMarked(const QLineEdit* box) const { return marked_.contains(box); }

 protected:
  // A fixed dialog frame with a close button only, not in the taskbar, sized to the client
  // area in twips.
  DialogWindow(QWidget* parent, const QString& caption, int clientWidthTwips,
               int clientHeightTwips);

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

  void keyPressEvent(QKeyEvent* event) override;

 private:
  void unmark(QLineEdit* box);

  QPushButton* cancel_ = nullptr;
  QLabel* hint_;
  QList<const QLineEdit*> marked_;
};

}  // namespace orvane
