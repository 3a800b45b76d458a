// Must not build: a misspelt menu name stops the compiler, which the test of the same name
// checks. Nothing links this file.
#include "shell/menu_tree.h"

namespace orvane {

QAction* startItem(const MenuItems& items) {
  return items.item("mnuStrat");
}

}  // namespace orvane
