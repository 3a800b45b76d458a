// A shown main window on the offscreen platform, with the helpers the window tests share.
#include "main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "memory_surface.h"
#include "picture_box.h"

namespace orvane {

void MainWindowFixture::SetUp() {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

void MainWindowFixture::trigger(std::string_view name, int index) {
  QAction* action =
      index == 0 ? window.menuItems().item(name) : window.menuItems().array(name).at(index - 1);
  ASSERT_NE(action, nullptr);
  action->trigger();
}

QStringList MainWindowFixture::tickedIn(std::string_view array) const {
  QStringList ticked;
  for (QAction* item : window.menuItems().array(array))
    if (item->isChecked()) ticked << item->text();
  return ticked;
}

QToolButton* MainWindowFixture::toolButton(const QString& key) {
  for (QAction* action : window.toolbar().actions())
    if (action->data().toString() == key)
      return qobject_cast<QToolButton*>(window.toolbar().widgetForAction(action));
  return nullptr;
}

QImage MainWindowFixture::expectedPicture() {
  ExplorerState state = window.state();
  DialogValues dialogs = window.dialogs();
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass pass(state, dialogs, surface, [] {});
  pass.drawings();
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x) {
      const Colour c = surface.pixel(x, y);
      image.setPixel(x, y, qRgb(redOf(c), greenOf(c), blueOf(c)));
    }
  return image;
}

int MainWindowFixture::backgroundPixels() {
  const QImage& image = window.picture().image();
  const QRgb face = window.picture().background().rgb();
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == face;
  return count;
}

void MainWindowFixture::whenModalShows(std::function<bool(QWidget*)> act) {
  auto* poll = new QTimer(&window);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
    QWidget* shown = QApplication::activeModalWidget();
    if (!shown || !shown->isVisible()) return;
    poll->stop();  // before acting: the act may open a dialog of its own
    if (act(shown)) {
      poll->deleteLater();
    } else {
      poll->start(0);
    }
  });
  poll->start(0);
}

}  // namespace orvane
