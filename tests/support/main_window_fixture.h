// A shown main window on the offscreen platform, with the helpers the window tests share.
#pragma once

#include <functional>
#include <string_view>

#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include "main_window.h"

class QToolButton;

namespace orvane {

class MainWindowFixture : public testing::Test {
 protected:
  void SetUp() override;

  // Triggers a menu item as a click would; `index` numbers the items of an item array.
  void trigger(std::string_view name, int index = 0);
  QStringList tickedIn(std::string_view array) const;
  QToolButton* toolButton(const QString& key);

  // The picture the engine draws headless for the window's state as it now is.
  QImage expectedPicture();
  int backgroundPixels();

  // Runs `act` on the position dialog once it shows modally.
  void whenPositionDialogShows(std::function<void(PositionDialog&)> act);

  MainWindow window;
};

}  // namespace orvane
