// The render option menus: depth, escape value, boundary jitter, colour mode, drawing order.
// One table per menu array: the menu builder takes the captions, the handlers the values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/explorer_state.h"

namespace orvane {

struct DepthItem {
  std::string_view caption;
  std::int16_t iterDepth;
};
inline constexpr std::array<DepthItem, 8> kDepthItems{{
    {"3", 3},
    {"16", 16},
    {"64", 64},
    {"128", 128},
    {"256", 256},
    {"512", 512},
    {"1024", 1024},
    {"2048", 2048},
}};

struct EscapeItem {
  std::string_view caption;
  std::int16_t escapeValue;
};
inline constexpr std::array<EscapeItem, 3> kEscapeItems{{{"4", 4}, {"16", 16}, {"100", 100}}};

struct JitterItem {
  std::string_view caption;
  float jitterLow;
  float jitterHigh;
};
inline constexpr std::array<JitterItem, 5> kJitterItems{{
    {"100%", 1.0f, 1.0f},
    {"90%-111%", 0.9f, 1.11f},
    {"75%-133%", 0.75f, 1.33f},
    {"50%-200%", 0.5f, 2.0f},
    {"33%-300%", 0.33f, 3.0f},
}};

struct ColourModeItem {
  std::string_view caption;
  std::int16_t colorMode;
};
inline constexpr std::array<ColourModeItem, 3> kColourModeItems{{
    {"二值单色位图", colour_mode::kTwoColour},
    {"8位256级灰度", colour_mode::kGrey},
    {"RGB24位真彩色", colour_mode::kRgb},
}};

struct GridItem {
  std::string_view caption;
  std::int16_t gridChoice;
};
inline constexpr std::array<GridItem, 7> kGridItems{{
    {"8 x 8", 8},
    {"10 x 10", 10},
    {"12 x 12", 12},
    {"16 x 16", 16},
    {"20 x 20", 20},
    {"25 x 25", 25},
    {"32 x 32", 32},
}};

// The items ticked at start (numbered from 1): the values the readers use while a field is
// still 0.
inline constexpr int kDepthTickedAtStart = 3;       // 64
inline constexpr int kEscapeTickedAtStart = 1;      // 4
inline constexpr int kJitterTickedAtStart = 1;      // 100%
inline constexpr int kColourModeTickedAtStart = 3;  // 24-bit colour
inline constexpr int kGridTickedAtStart = 3;        // 12 x 12

// The captions of a menu array, for the menu builder.
template <typename Item, std::size_t N>
constexpr std::array<std::string_view, N> captionsOf(const std::array<Item, N>& items) {
  std::array<std::string_view, N> captions{};
  for (std::size_t i = 0; i < N; ++i) captions[i] = items[i].caption;
  return captions;
}

// What choosing item `index` (numbered from 1) stores. An index outside the table changes
// nothing and returns false. None of them draws.
bool chooseDepth(ExplorerState& state, int index);
bool chooseEscape(ExplorerState& state, int index);
bool chooseJitter(ExplorerState& state, int index);
bool chooseColourMode(ExplorerState& state, int index);
// These two rebuild the cell order at once.
bool chooseGrid(ExplorerState& state, DialogValues& dialogs, int index);
void chooseLineMode(ExplorerState& state, DialogValues& dialogs);

}  // namespace orvane
