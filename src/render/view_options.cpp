// The view options: the one table that names them.
#include "render/view_options.h"

#include <algorithm>
#include <array>
#include <limits>

#include "engine/supersample.h"

namespace orvane {

namespace {

constexpr long kMaxInt16 = std::numeric_limits<std::int16_t>::max();
constexpr long kMinInt16 = std::numeric_limits<std::int16_t>::min();
constexpr long kMaxDepth = std::numeric_limits<std::int32_t>::max();
constexpr double kMaxJitter = 100;

constexpr char kWholeInt16[] = "a whole number from -32768 to 32767";
constexpr char kPositiveInt16[] = "a whole number from 1 to 32767";
constexpr char kLevel[] = "a whole number from 0 to 10";
constexpr char kDoubleZoom[] = "a number in the range of a double";
constexpr char kDoubleCentre[] = "two numbers X,Y in the range of a double";

// The words of the options that take one, each read and written through the same row.
constexpr std::pair<const char*, std::int16_t> kFormulas[] = {
    {"mandelbrot", formula::kMandelbrot}, {"julia", formula::kJulia}, {"hole", formula::kHole}};
constexpr std::pair<const char*, std::int16_t> kColourModes[] = {
    {"mono", colour_mode::kTwoColour}, {"grey", colour_mode::kGrey}, {"rgb", colour_mode::kRgb}};
constexpr std::pair<const char*, deep::Precision> kPrecisions[] = {
    {"auto", deep::Precision::kAuto},
    {"double", deep::Precision::kDouble},
    {"deep", deep::Precision::kDeep}};

// The word of `value`; the table's last word for a value it lacks, as the pass reads one.
template <class T, std::size_t N>
std::string wordOf(const std::pair<const char*, T> (&choices)[N], T value) {
  for (const auto& [word, v] : choices)
    if (v == value) return word;
  return choices[N - 1].first;
}

std::string number(double value) {
  return deep::ViewNumber::of(value).text();
}

std::string pair(const NumberPair& numbers) {
  return numbers.first.text() + "," + numbers.second.text();
}

std::optional<std::string> writeFormula(const ViewRequest& v) {
  // Mandelbrot is the formula of anything else the pass may have.
  return v.drawing == formula::kJulia || v.drawing == formula::kHole ? wordOf(kFormulas, *v.drawing)
                                                                     : std::string("mandelbrot");
}

std::optional<std::string> writeColourMode(const ViewRequest& v) {
  return wordOf(kColourModes, *v.colourMode);
}

constexpr ViewOption kViewOptions[] = {
    {"formula", "name", "mandelbrot, julia or hole (default mandelbrot).",
     [](const OptionValue& o, ViewRequest& v) {
       v.drawing = o.choice(kFormulas, "mandelbrot, julia or hole");
     },
     writeFormula},
    {"zoom", "Z",
     "Magnification, a decimal of any size such as 1e1000; 0 reads as 1, and a negative one "
     "turns the picture a half turn, as the window does (default 1).",
     [](const OptionValue& o, ViewRequest& v) {
       constexpr char kExpected[] = "a number from 1e-315000 to 1e315000 in size";
       v.zoom = o.number(kExpected);
       if (!deep::zoomInRange(v.zoom)) o.fail(kExpected);
     },
     [](const ViewRequest& v) -> std::optional<std::string> { return v.zoom.text(); }},
    {"center", "X,Y",
     "View centre, decimals with any number of digits (default -0.5,0 for the Mandelbrot home "
     "view, else 0,0).",
     [](const OptionValue& o, ViewRequest& v) {
       constexpr char kExpected[] = "two numbers X,Y below 1e315000 in size";
       v.centre = o.numberPair(kExpected);
       if (!deep::centreInRange(v.centre->first) || !deep::centreInRange(v.centre->second))
         o.fail(kExpected);
     },
     [](const ViewRequest& v) -> std::optional<std::string> { return pair(*v.centre); }},
    {"rotation", "DEG", "Rotation in whole degrees, -32768 to 32767 (default 0).",
     [](const OptionValue& o, ViewRequest& v) {
       v.rotation = o.whole(kMinInt16, kMaxInt16, kWholeInt16);
     },
     [](const ViewRequest& v) -> std::optional<std::string> {
       return std::to_string(*v.rotation);
     }},
    {"components", "DX,DY", "Mandelbrot start value, or Julia constant (default 0,0).",
     [](const OptionValue& o, ViewRequest& v) {
       constexpr char kExpected[] = "two finite numbers DX,DY";
       v.components = o.numberPair(kExpected);
       if (!v.components->first.roundsToDouble() || !v.components->second.roundsToDouble())
         o.fail(kExpected);
     },
     [](const ViewRequest& v) -> std::optional<std::string> { return pair(*v.components); }},
    {"depth", "D",
     "Iteration depth, 1 to 2147483647 (default 64). Past 32767, the window's largest, a deep "
     "picture's reference orbits take 16 bytes a step.",
     [](const OptionValue& o, ViewRequest& v) {
       v.depth = o.whole(1, kMaxDepth, "a whole number from 1 to 2147483647");
     },
     [](const ViewRequest& v) -> std::optional<std::string> { return std::to_string(*v.depth); }},
    {"escape", "E", "Escape value, 1 to 32767 (default 4).",
     [](const OptionValue& o, ViewRequest& v) { v.escape = o.whole(1, kMaxInt16, kPositiveInt16); },
     [](const ViewRequest& v) -> std::optional<std::string> { return std::to_string(*v.escape); }},
    {"jitter", "LOW,HIGH",
     "Boundary jitter factors, each 0 to 100; a 0 reads as 1,1 (default 1,1).",
     [](const OptionValue& o, ViewRequest& v) {
       constexpr char kExpected[] = "two numbers LOW,HIGH from 0 to 100";
       const auto [low, high] = o.realPair(kExpected);
       if (low < 0 || high < 0 || low > kMaxJitter || high > kMaxJitter) o.fail(kExpected);
       v.jitter = {static_cast<float>(low), static_cast<float>(high)};
     },
     [](const ViewRequest& v) -> std::optional<std::string> {
       return number(v.jitter->first) + "," + number(v.jitter->second);
     }},
    {"colour-mode", "mode", "mono, grey or rgb (default rgb).",
     [](const OptionValue& o, ViewRequest& v) {
       v.colourMode = o.choice(kColourModes, "mono, grey or rgb");
     },
     writeColourMode},
    {"inner", "RI",
     "Inner rendering level, 0 to 10 (default 5): how strongly the inside colours follow the "
     "last |z|; 0 paints the inside flat.",
     [](const OptionValue& o, ViewRequest& v) { v.inner = o.whole(0, 10, kLevel); },
     [](const ViewRequest& v) -> std::optional<std::string> { return std::to_string(*v.inner); }},
    {"outer", "RO",
     "Outer rendering level, 0 to 10 (default 5): the colour step between neighbouring escape "
     "counts grows with its square; 1 shows spirals where 5 looks like noise.",
     [](const OptionValue& o, ViewRequest& v) { v.outer = o.whole(0, 10, kLevel); },
     [](const ViewRequest& v) -> std::optional<std::string> { return std::to_string(*v.outer); }},
    {"offsets", "R,G,B",
     "Colour offsets, each -32768 to 32767; above 255 reads as 160,64,192 (default 0,0,0).",
     [](const OptionValue& o, ViewRequest& v) {
       const std::vector<long> values =
           o.wholeList(3, kMinInt16, kMaxInt16, "three whole numbers R,G,B from -32768 to 32767");
       v.offsets = {static_cast<std::int16_t>(values[0]), static_cast<std::int16_t>(values[1]),
                    static_cast<std::int16_t>(values[2])};
     },
     [](const ViewRequest& v) -> std::optional<std::string> {
       const auto& [r, g, b] = *v.offsets;
       return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
     }},
    {"grid", "N|line",
     "Square-array side 2 to 32, or line for line mode (default 12): the order the window's "
     "picture is drawn in, never a pixel of it.",
     [](const OptionValue& o, ViewRequest& v) {
       v.gridChoice = o.text() == "line" ? kLineMode
                                         : o.whole(2, kMaxGridSide, "a side from 2 to 32, or line");
     },
     [](const ViewRequest& v) -> std::optional<std::string> {
       return *v.gridChoice == kLineMode ? std::string("line") : std::to_string(*v.gridChoice);
     }},
    {"size", "WxH",
     "Picture size, each side 1 to 16384 (default 400x300). The view keeps the window's "
     "framing: the same region of the plane, with the shorter side widened for another shape.",
     [](const OptionValue& o, ViewRequest& v) {
       constexpr char kExpected[] = "WxH, each side from 1 to 16384";
       const std::string& text = o.text();
       const std::size_t cross = text.find('x');
       if (cross == std::string::npos) o.fail(kExpected);
       const std::optional<long> width = readWhole(std::string_view(text).substr(0, cross));
       const std::optional<long> height = readWhole(std::string_view(text).substr(cross + 1));
       if (!width || !height || *width < 1 || *height < 1 || *width > kMaxPosterSide ||
           *height > kMaxPosterSide)
         o.fail(kExpected);
       v.size = PosterSize{static_cast<int>(*width), static_cast<int>(*height)};
     },
     [](const ViewRequest& v) -> std::optional<std::string> {
       return std::to_string(v.size.width) + "x" + std::to_string(v.size.height);
     }},
    {"precision", "mode",
     "auto, double or deep (default auto: double where it draws every pixel apart, as the "
     "window does, else deep zoom).",
     [](const OptionValue& o, ViewRequest& v) {
       v.precision = o.choice(kPrecisions, "auto, double or deep");
     },
     // Kept only when asked for: auto decides afresh for each picture.
     [](const ViewRequest& v) -> std::optional<std::string> {
       if (!v.precision) return std::nullopt;
       return wordOf(kPrecisions, *v.precision);
     }},
    {"supersample", "N",
     "Each pixel the mean of N x N samples on a regular grid within it, 1 to 8, averaged in "
     "linear light, as light mixes (default 1: one sample at the pixel's centre).",
     [](const OptionValue& o, ViewRequest& v) {
       v.supersample = o.whole(1, kMaxSupersample, "a whole number from 1 to 8");
     },
     // Kept only above 1, so a picture of one sample keeps the view it always kept.
     [](const ViewRequest& v) -> std::optional<std::string> {
       if (v.supersample.value_or(1) == 1) return std::nullopt;
       return std::to_string(*v.supersample);
     }},
};

}  // namespace

std::span<const ViewOption> viewOptions() {
  return kViewOptions;
}

const ViewOption* findViewOption(std::string_view name) {
  const auto row = std::find_if(std::begin(kViewOptions), std::end(kViewOptions),
                                [name](const ViewOption& option) { return option.name == name; });
  return row == std::end(kViewOptions) ? nullptr : row;
}

void checkView(const ViewRequest& view) {
  if (view.precision != deep::Precision::kDouble) return;
  if (!deep::fitsDouble(view.zoom)) OptionValue("zoom", view.zoom.text()).fail(kDoubleZoom);
  if (view.centre &&
      !(deep::fitsDouble(view.centre->first) && deep::fitsDouble(view.centre->second)))
    OptionValue("center", pair(*view.centre)).fail(kDoubleCentre);
}

}  // namespace orvane
