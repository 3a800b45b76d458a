// The main window's menu tree as a table, and the builder that turns it into menus.
#include "menu_tree.h"

#include <array>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "render_option_menus.h"
#include "utf8_text.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 6> kSizeCaptions{"320 X 240", "352 X 288", "400 X 300",
                                                        "640 X 480", "800 X 600", "1024 X 768"};
constexpr auto kColourCaptions = captionsOf(kColourModeItems);
constexpr auto kGridCaptions = captionsOf(kGridItems);
constexpr auto kDepthCaptions = captionsOf(kDepthItems);
constexpr auto kEscapeCaptions = captionsOf(kEscapeItems);
constexpr auto kJitterCaptions = captionsOf(kJitterItems);

constexpr MenuRow kRows[] = {
    {0, "mnuFile", "文件(&F)"},
    {1, "mnuStart", "开始(&S)", "Ctrl+S"},
    {1, "mnuStop", "停止(&P)", "Ctrl+P"},
    {1, "mnuClean", "清屏(&C)", "Ctrl+C"},
    {1, "mnuNew", "新建(&N)"},
    {1, "mnuFileBar0", "-"},
    {1, "mnuSave", "保存(&V)...", "Ctrl+A", true},
    {1, "mnuFileBar1", "-"},
    {1, "mnuExit", "退出(&X)", "Ctrl+X"},
    {0, "mnuPlan", "方案(&N)"},
    {1, "mnuMandel", "人形(&M)..."},
    {1, "mnuJulia", "龙形(&J)..."},
    {1, "mnuSix", "六度超弦(&S)...", {}, true},
    {1, "mnuPlanBar1", "-"},
    {1, "mnuHole", "轮回隧道(&H)..."},
    {0, "mnuOPerat", "操作(&P)"},
    {1, "mnuSize", "分辨率"},
    {2, "mnuSizes", {}, {}, true, false, kSizeCaptions, 3},
    {1, "mnuLie", "位置控制(&L)..."},
    {1, "mnucolor", "色彩控制(&C)"},
    {2, "mnuColors", {}, {}, false, false, kColourCaptions, kColourModeTickedAtStart},
    {2, "mnuColorBar1", "-"},
    {2, "mnuMove", "偏移(&M)..."},
    {2, "mnuSmooth", "渲染(&S)..."},
    {2, "mnuFlash", "闪烁(&F)...", {}, true},
    {1, "mnuOperateBar2", "-"},
    {1, "mnuZoomOut", "扩大视域(&O)"},
    {2, "mnuZoomOut2", "2倍"},
    {2, "mnuZoomOut4", "4倍"},
    {2, "mnuZoomOut16", "16倍"},
    {2, "mnuZoomOut256", "256倍"},
    {1, "mnuZoomIn", "缩小视域(&I)"},
    {2, "mnuZoomIn2", "2倍"},
    {2, "mnuZoomIn4", "4倍"},
    {1, "mnuOperateBar3", "-"},
    {1, "mnuLine", "线形"},
    {1, "mnuSqrt", "方阵(&S)"},
    {2, "mnuSqrts", {}, {}, false, false, kGridCaptions, kGridTickedAtStart},
    {1, "mnuOPerateBar4", "-"},
    {1, "mnuDeep", "迭代深度(&D)"},
    {2, "mnuDeeps", {}, {}, false, false, kDepthCaptions, kDepthTickedAtStart},
    {1, "mnuMax", "逃逸值(&M)"},
    {2, "mnuMaxs", {}, {}, false, false, kEscapeCaptions, kEscapeTickedAtStart},
    {1, "mnurnd", "边界抖动(&R)"},
    {2, "mnuRnds", {}, {}, false, false, kJitterCaptions, kJitterTickedAtStart},
    {0, "mnuVisual", "查看(&V)"},
    {1, "mnutools", "工具栏", {}, true, true},
    {1, "mnuVbar1", "-"},
    {1, "mnuCondition", "状态栏(&C)", {}, true, true},
    {0, "mnuHelp", "帮助(&H)"},
    {1, "mnuReadme", "说明(&M)", "F1"},
    {1, "mnuHelpBar1", "-"},
    {1, "mnuAbout", "关于(&A)"},
    {1, "mnuWriter", "作者简介"},
};

QAction* addItem(QMenu& menu, std::string_view caption, bool greyed, bool ticked) {
  QAction* action = menu.addAction(utf8Text(caption));
  action->setEnabled(!greyed);
  // Every item that can carry a tick is checkable; the handlers move the ticks themselves.
  action->setCheckable(ticked);
  action->setChecked(ticked);
  return action;
}

void addArray(QMenu& menu, const MenuRow& row, MenuItems& items) {
  for (std::size_t i = 0; i < row.items.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    QAction* action = addItem(menu, row.items[i], row.greyed, index == row.tickedItem);
    action->setCheckable(true);
    action->setObjectName(QStringLiteral("%1(%2)").arg(utf8Text(row.name)).arg(index));
    items.add(row.name, action);
  }
}

void addRow(QMenu& menu, const MenuRow& row, MenuItems& items) {
  if (!row.items.empty()) return addArray(menu, row, items);
  QAction* action =
      row.caption == "-" ? menu.addSeparator() : addItem(menu, row.caption, row.greyed, row.ticked);
  if (!row.shortcut.empty()) action->setShortcut(QKeySequence(utf8Text(row.shortcut)));
  action->setObjectName(utf8Text(row.name));
  items.add(row.name, action);
}

}  // namespace

const std::span<const MenuRow> kMenuTree{kRows};

QAction* MenuItems::item(std::string_view name) const {
  const QList<QAction*> found = byName_.value(utf8Text(name));
  return found.isEmpty() ? nullptr : found.front();
}

QList<QAction*> MenuItems::array(std::string_view name) const {
  return byName_.value(utf8Text(name));
}

void MenuItems::add(std::string_view name, QAction* action) {
  byName_[utf8Text(name)].append(action);
}

MenuItems buildMenuTree(QMenuBar& bar, std::span<const MenuRow> rows) {
  MenuItems items;
  QMenu* open[3] = {};  // the menu currently being filled at each level
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MenuRow& row = rows[i];
    const bool isSubmenu = i + 1 < rows.size() && rows[i + 1].level > row.level;
    if (row.level == 0 || isSubmenu) {
      QMenu* menu = row.level == 0 ? bar.addMenu(utf8Text(row.caption))
                                   : open[row.level - 1]->addMenu(utf8Text(row.caption));
      menu->setObjectName(utf8Text(row.name));
      menu->menuAction()->setObjectName(utf8Text(row.name));
      items.add(row.name, menu->menuAction());
      open[row.level] = menu;
    } else {
      addRow(*open[row.level - 1], row, items);
    }
  }
  return items;
}

void tickOnly(const QList<QAction*>& items, int index) {
  for (qsizetype i = 0; i < items.size(); ++i) items[i]->setChecked(i + 1 == index);
}

}  // namespace orvane
