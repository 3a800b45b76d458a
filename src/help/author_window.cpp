// The author-profile window `frmAbout`: the Orvane team, its picture and its links.
#include "author_window.h"

#include <complex>

#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "link_label.h"
#include "shell_open.h"

namespace orvane {

namespace {

QLabel* paragraph(QWidget* parent, const QString& text, QRect place, QColor colour = {}) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (colour.isValid()) label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
  return label;
}

LinkLabel* link(QWidget* parent, const QUrl& target, QRect place) {
  auto* label = new LinkLabel(parent);
  label->setGeometry(place);
  label->setText(target.toString());
  label->setStyleSheet(QStringLiteral("color: #ff00ff; text-decoration: underline;"));
  QObject::connect(label, &LinkLabel::clicked, parent, [target] { openInDesktopShell(target); });
  return label;
}

}  // namespace

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
  lblTitle = paragraph(this, QStringLiteral("Orvane 开发组"), {120, 16, 156, 12}, Qt::darkRed);
  paragraph(this,
            QStringLiteral("Orvane 开发组是一群喜爱分形的程序员，致力于把分形之美带给每一个人。"
                           "欢迎访问我们的网站："),
            {120, 40, 211, 77});
  lblFractal = link(this, kWebSite, {128, 120, 153, 17});
  paragraph(this, QStringLiteral("开发组用 Orvane 画出的更多分形图片，可在下面的相册页中找到："),
            {16, 152, 209, 45});
  lblpic = link(this, kAlbum, {24, 192, 201, 25});
  cmdOK = new QPushButton(QStringLiteral("确定"), this);
  cmdOK->setGeometry(248, 168, 76, 23);

  setButtons(cmdOK, cmdOK);  // OK is also the cancel button: Enter and Esc both close
  connect(cmdOK, &QPushButton::clicked, this, &AuthorWindow::accept);
}

}  // namespace orvane
