// The help window `DialogReadme` ("帮助"): the whole help text, read-only.
#pragma once

#include "platform/dialog_window.h"

class QPlainTextEdit;
class QPushButton;

namespace orvane {

class HelpWindow : public DialogWindow {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // The help text as the program carries it.
  static QString helpText();

  QPlainTextEdit* txtReadme;
  QPushButton* CancelButton;
  QPushButton* OKButton;
};

}  // namespace orvane
