// The main window's menu tree as a table, and the builder that turns it into menus.
#include "shell/menu_tree.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "platform/utf8_text.h"

namespace orvane {

namespace {

QAction* addItem(QMenu& menu, std::string_view caption, bool greyed, bool ticked) {
  QAction* action = menu.addAction(utf8Text(caption));
  action->setEnabled(!greyed);
  // Every item that can carry a tick is checkable; the handlers move the ticks themselves.
  action->setCheckable(ticked);
  action->setChecked(ticked);
  return action;
}

void addArray(QMenu& menu, const MenuRow& row, QList<QAction*>& actions) {
  for (std::size_t i = 0; i < row.items.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    QAction* action = addItem(menu, row.items[i], row.greyed, index == row.tickedItem);
    action->setCheckable(true);
    action->setObjectName(QStringLiteral("%1(%2)").arg(utf8Text(row.name)).arg(index));
    actions.append(action);
  }
}

void addRow(QMenu& menu, const MenuRow& row, QList<QAction*>& actions) {
  if (!row.items.empty()) return addArray(menu, row, actions);
  QAction* action =
      row.caption == "-" ? menu.addSeparator() : addItem(menu, row.caption, row.greyed, row.ticked);
  if (!row.shortcut.empty()) action->setShortcut(QKeySequence(utf8Text(row.shortcut)));
  action->setObjectName(utf8Text(row.name));
  actions.append(action);
}

}  // namespace

MenuItems buildMenuTree(QMenuBar& bar) {
  MenuItems items;
  QMenu* open[3] = {};  // the menu currently being filled at each level
  const std::span<const MenuRow> rows(kMenuTree);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MenuRow& row = rows[i];
    QList<QAction*>& actions = items.byRow_[i];
    const bool isSubmenu = i + 1 < rows.size() && rows[i + 1].level > row.level;
    if (row.level == 0 || isSubmenu) {
      QMenu* menu = row.level == 0 ? bar.addMenu(utf8Text(row.caption))
                                   : open[row.level - 1]->addMenu(utf8Text(row.caption));
      menu->setObjectName(utf8Text(row.name));
      menu->menuAction()->setObjectName(utf8Text(row.name));
      actions.append(menu->menuAction());
      open[row.level] = menu;
    } else {
      addRow(*open[row.level - 1], row, actions);
    }
  }
  return items;
}

void tickOnly(const QList<QAction*>& items, int index) {
  for (qsizetype i = 0; i < items.size(); ++i) items[i]->setChecked(i + 1 == index);
}

}  // namespace orvane
