// The author-profile window `frmAbout`: the Orvane team, its picture and its links.
#include "help/author_window.h"

#include <complex>

#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "help/window_text.h"

namespace orvane {

const QUrl AuthorWindow::kWebSite(QStringLiteral("https://orvane.example.org/"));
const QUrl AuthorWindow::kAlbum(QStringLiteral("https://orvane.example.org/album/"));

QImage AuthorWindow::profilePicture() {
  QImage picture(kPictureSize, QImage::Format_RGB32);
  const std::complex<double> c(-0.8, 0.156);
  constexpr int kDepth = 96;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      // Upright, so the set's long axis runs down the portrait.
      std::complex<double> z((y - 60) / 40.0, (x - 45) / 40.0);
      int n = 0;
      while (n < kDepth && std::norm(z) < 4) {
        z = z * z + c;
        ++n;
      }
      const int shade = n == kDepth ? 0 : 255 * n / kDepth;
      picture.setPixel(x, y, qRgb(shade / 3, shade, 80 + shade * 2 / 3));
    }
  }
  return picture;
}

AuthorWindow::AuthorWindow(QWidget* parent)
    : DialogWindow(parent, QStringLiteral("Orvane 开发组简介"), {351, 224}) {
  picIcon = new QLabel(this);
  picIcon->setGeometry(16, 16, 94, 124);
  picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picIcon->setAlignment(Qt::AlignCenter);
  picIcon->setPixmap(QPixmap::fromImage(profilePicture()));
  lblTitle = placeText(this, QStringLiteral("Orvane 开发组"), {120, 16, 156, 12}, Qt::darkRed);
  placeText(this,
            QStringLiteral("Orvane 开发组是一群喜爱分形的程序员，致力于把分形之美带给每一个人。"
                           "欢迎访问我们的网站："),
            {120, 40, 211, 77});
  lblFractal = placeLink(this, kWebSite.toString(), {128, 120, 153, 17}, Qt::magenta, kWebSite);
  placeText(this, QStringLiteral("开发组用 Orvane 画出的更多分形图片，可在下面的相册页中找到："),
            {16, 152, 209, 45});
  lblpic = placeLink(this, kAlbum.toString(), {24, 192, 201, 25}, Qt::magenta, kAlbum);
  cmdOK = new QPushButton(QStringLiteral("确定"), this);
  cmdOK->setGeometry(248, 168, 76, 23);

  setButtons(cmdOK, cmdOK);  // OK is also the cancel button: Enter and Esc both close
  connect(cmdOK, &QPushButton::clicked, this, &AuthorWindow::accept);
}

}  // namespace orvane
