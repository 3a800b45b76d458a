// The author-profile window `frmAbout`: the Orvane team, its picture and its links.
#pragma once

#include <QUrl>

#include "platform/dialog_window.h"

class QLabel;
class QPushButton;

namespace orvane {

class LinkLabel;

class AuthorWindow : public DialogWindow {
  Q_OBJECT

 public:
  static const QUrl kWebSite;
  static const QUrl kAlbum;
  static constexpr QSize kPictureSize{90, 120};

  explicit AuthorWindow(QWidget* parent = nullptr);

  // The profile's picture, drawn anew: a Julia set in 24-bit colour.
  static QImage profilePicture();

  QLabel* picIcon;
  QLabel* lblTitle;
  LinkLabel* lblFractal;
  LinkLabel* lblpic;
  QPushButton* cmdOK;
};

}  // namespace orvane
