// The main window's menu tree as a table, and the builder that turns it into menus.
#pragma once

#include <span>
#include <string_view>

#include <QHash>
#include <QList>
#include <QString>

class QAction;
class QMenuBar;

namespace orvane {

// One row per menu item, in menu order. A row is a submenu when the row after it is one
// level deeper. An item array (`mnuDeeps`…) is one row whose items are numbered from 1.
struct MenuRow {
  int level;                       // 0 on the menu bar, 1 in its menu, 2 in a submenu of that
  std::string_view name;           // the item's name; separators have one too
  std::string_view caption;        // "-" is a separator; "&" marks the access key
  std::string_view shortcut = {};  // portable text, "Ctrl+S"
  bool greyed = false;             // greyed at start; an item with no action stays greyed
  bool ticked = false;             // ticked at start
  std::span<const std::string_view> items = {};  // an item array's captions
  int tickedItem = 0;                            // the array item ticked at start
};

extern const std::span<const MenuRow> kMenuTree;

// The built menus' items by name: `item` for a single item or a submenu, `array` for the
// items of an item array in their numbering order (item 1 first).
class MenuItems {
 public:
  QAction* item(std::string_view name) const;
  QList<QAction*> array(std::string_view name) const;

  void add(std::string_view name, QAction* action);

 private:
  QHash<QString, QList<QAction*>> byName_;
};

MenuItems buildMenuTree(QMenuBar& bar, std::span<const MenuRow> rows);

// Moves an item array's tick to item `index` (numbered from 1), off every other item.
void tickOnly(const QList<QAction*>& items, int index);

}  // namespace orvane
