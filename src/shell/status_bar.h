// The status bar `StatusBar1`: six sunken panels, the date and time kept up to date.
#pragma once

#include <array>

#include <QStatusBar>

class QLabel;
class QTimer;

namespace orvane {

class StatusBar : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kHeight = 36;

  explicit StatusBar(QWidget* parent = nullptr);

  // Panels are numbered from 1, left to right.
  QLabel* panel(int number) const;
  void setPanelText(int number, const QString& text);

 signals:
  // A click (press and release inside one panel).
  void panelClicked(int number);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showClock();

  std::array<QLabel*, 6> panels_{};
  QTimer* clock_;
};

}  // namespace orvane
