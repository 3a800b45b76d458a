// The font of every window: "宋体" 9 pt, falling back to an installed Chinese font.
#pragma once

#include <QFont>

namespace orvane {

// The families are tried in order; on a machine without SimSun the installed CJK font
// (WenQuanYi Micro Hei or Noto Sans CJK) draws the captions with real glyphs.
QFont interfaceFont();

}  // namespace orvane
