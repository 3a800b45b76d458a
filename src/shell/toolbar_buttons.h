// The toolbar's sixteen entries, in order: key, tooltip and image of each button; and the
// keys as the dispatch compares them.
#pragma once

#include <array>
#include <string_view>

namespace orvane {

// A separator is an entry with no key: a gap between groups, with no action.
struct ToolbarEntry {
  std::string_view key;  // what the dispatch compares
  std::string_view tooltip;
  std::string_view image;  // resource path of the 16 x 16 image
  constexpr bool isSeparator() const { return key.empty(); }
};

inline constexpr std::array<ToolbarEntry, 16> kToolbarEntries{{
    {"开始", "开始", ":/icons/toolbar_new.png"},
    {"保存", "保存", ":/icons/toolbar_save.png"},
    {},
    {"扩大", "立即扩大视域2倍", ":/icons/toolbar_zoom_out.png"},
    {"色彩", "色彩调整", ":/icons/toolbar_colours.png"},
    {"控制", "位置控制", ":/icons/toolbar_position.png"},
    {},
    {},
    {},
    {"停止", "停止绘图", ":/icons/toolbar_stop.png"},
    {},
    {},
    {},
    {"人形", "Mandel", ":/icons/toolbar_mandelbrot.png"},
    {"龙形", "Julia", ":/icons/toolbar_julia.png"},
    {"高维", "Mandel&Julia", ":/icons/toolbar_grid.png"},
}};

// Never defined and not constexpr: a key that reaches it while compiling stops the build, and
// the compiler's message names it.
void toolbarKeyNotOnTheBar();

// A button's key as the dispatch compares it. A key written in the code is looked up among
// the buttons' keys while compiling, so a misspelt case fails to build instead of never
// matching.
class ToolbarKey {
 public:
  // Implicit, so that the dispatch reads `key == "控制"`.
  consteval ToolbarKey(const char* key) : key_(key) {
    for (const ToolbarEntry& entry : kToolbarEntries) {
      if (!entry.isSeparator() && entry.key == key_) return;
    }
    toolbarKeyNotOnTheBar();
  }
  // The key of a button of the bar, as its click hands it on.
  static constexpr ToolbarKey of(const ToolbarEntry& entry) { return ToolbarKey(entry.key); }
  friend bool operator==(const ToolbarKey&, const ToolbarKey&) = default;

 private:
  constexpr explicit ToolbarKey(std::string_view key) : key_(key) {}
  std::string_view key_;
};

}  // namespace orvane
