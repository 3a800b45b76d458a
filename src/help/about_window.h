// The about window `frmFractalAbout` ("关于Orvane "): name, version, the team and its links.
#pragma once

#include <QUrl>

#include "platform/dialog_window.h"

class QLabel;
class QPushButton;

namespace orvane {

class LinkLabel;

class AboutWindow : public DialogWindow {
  Q_OBJECT

 public:
  static const QUrl kDownloadPage;
  static const QUrl kMailAddress;

  explicit AboutWindow(QWidget* parent = nullptr);

  LinkLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  LinkLabel* Label3;
  QPushButton* cmdOK;
};

}  // namespace orvane
