// What a screen reader hears: every control of the main window and of each dialog has a name
// of its own, never an empty one and never one it shares with another control of its window.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QSet>

#include "colour_dialogs/colour_offset_dialog.h"
#include "colour_dialogs/rendering_dialog.h"
#include "control/dimension_dialog.h"
#include "control/position_dialog.h"
#include "help/about_window.h"
#include "help/author_window.h"
#include "help/help_window.h"
#include "shell/main_window.h"

namespace orvane {
namespace {

void expectNamedControls(QWidget& window) {
  QSet<QString> names;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->focusPolicy() == Qt::NoFocus || control->isHidden()) continue;
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    const QString name = reader ? reader->text(QAccessible::Name) : QString();
    EXPECT_FALSE(name.isEmpty()) << window.windowTitle().toStdString() << ": a "
                                 << control->metaObject()->className() << " without a name";
    EXPECT_FALSE(names.contains(name))
        << window.windowTitle().toStdString() << ": two named " << name.toStdString();
    names.insert(name);
  }
}

TEST(AccessibleNames, EveryControlOfTheWindowAndTheDialogsHasItsOwn) {
  ExplorerState state;
  DialogValues values;
  ColourOffsetFields fields;
  MainWindow main;
  PositionDialog position(values.position);
  DimensionDialog dimension(values.dimension);
  RenderingDialog rendering(values.rendering);
  ColourOffsetDialog offsets(state, fields);
  AboutWindow about;
  AuthorWindow author;
  HelpWindow help;
  for (QWidget* window : std::initializer_list<QWidget*>{&main, &position, &dimension, &rendering,
                                                         &offsets, &about, &author, &help}) {
    window->show();
    expectNamedControls(*window);
  }
}

}  // namespace
}  // namespace orvane
