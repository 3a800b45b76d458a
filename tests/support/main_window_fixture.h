// A shown main window on the offscreen platform, with the helpers the window tests share.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

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

  // Runs `act` on the next modal dialog of type `Dialog` once it shows.
  template <typename Dialog>
  void whenDialogShows(std::function<void(Dialog&)> act) {
    whenModalShows([act](QWidget* shown) {
      auto* dialog = qobject_cast<Dialog*>(shown);
      if (dialog) act(*dialog);
      return dialog != nullptr;
    });
  }
  void whenPositionDialogShows(std::function<void(PositionDialog&)> act) {
    whenDialogShows<PositionDialog>(std::move(act));
  }

 private:
  // Polls the event loop for a visible modal widget that `act` accepts.
  void whenModalShows(std::function<bool(QWidget*)> act);

 protected:
  MainWindow window;
};

}  // namespace orvane
