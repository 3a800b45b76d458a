// The main window's menu tree as a table, the names by which the code finds its rows, and the
// builder that turns it into menus.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include <QList>

#include "control/render_option_menus.h"

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

inline constexpr std::array<std::string_view, 6> kSizeCaptions{
    "320 X 240", "352 X 288", "400 X 300", "640 X 480", "800 X 600", "1024 X 768"};
inline constexpr auto kColourCaptions = captionsOf(kColourModeItems);
inline constexpr auto kGridCaptions = captionsOf(kGridItems);
inline constexpr auto kDepthCaptions = captionsOf(kDepthItems);
inline constexpr auto kEscapeCaptions = captionsOf(kEscapeItems);
inline constexpr auto kJitterCaptions = captionsOf(kJitterItems);

// In the header, so that the names the handlers and ticks use are looked up while compiling.
inline constexpr MenuRow kMenuTree[] = {
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

// Never defined and not constexpr: a name lookup that reaches it while compiling stops the
// build, and the compiler's message names it.
void menuNameNotInTheTree();

// The row called `name` that is an item array, or is not, as `isArray` says.
consteval std::size_t menuRowNamed(std::string_view name, bool isArray) {
  for (std::size_t i = 0; i < std::size(kMenuTree); ++i) {
    if (kMenuTree[i].name == name && kMenuTree[i].items.empty() != isArray) return i;
  }
  menuNameNotInTheTree();
  return 0;
}

// A row of the tree by its name in the table ("mnuStart"), found while compiling: a name no
// row has, or an item array's name where a single item's is wanted (or the reverse), does
// not build.
template <bool isArray>
class MenuName {
 public:
  // Implicit, so that a call reads `item("mnuStart")`.
  consteval MenuName(const char* name) : MenuName(std::string_view(name)) {}
  consteval explicit MenuName(std::string_view name) : row_(menuRowNamed(name, isArray)) {}
  std::size_t row() const { return row_; }

 private:
  std::size_t row_;
};
using MenuItemName = MenuName<false>;  // a single item, a separator or a submenu
using MenuArrayName = MenuName<true>;  // an item array

// A row that repeats an earlier row's name could never be found, so none may.
consteval bool menuNamesUnique() {
  for (std::size_t i = 0; i < std::size(kMenuTree); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (kMenuTree[i].name == kMenuTree[j].name) return false;
    }
  }
  return true;
}
static_assert(menuNamesUnique(), "two rows of the menu tree have one name");

// The built menus' actions, one list per row of the tree: one action for a single item, a
// separator or a submenu; an item array's items in their numbering order (item 1 first).
class MenuItems {
 public:
  QAction* item(MenuItemName name) const { return byRow_[name.row()].front(); }
  const QList<QAction*>& array(MenuArrayName name) const { return byRow_[name.row()]; }

 private:
  friend MenuItems buildMenuTree(QMenuBar& bar);
  std::array<QList<QAction*>, std::size(kMenuTree)> byRow_;
};

MenuItems buildMenuTree(QMenuBar& bar);

// Moves an item array's tick to item `index` (numbered from 1), off every other item.
void tickOnly(const QList<QAction*>& items, int index);

}  // namespace orvane
