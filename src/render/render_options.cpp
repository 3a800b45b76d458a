// The command line of orvane-render: parsed into a request, applied to the explorer state.
#include "render/render_options.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include <QCommandLineParser>

#include "deep/deep_view.h"
#include "engine/load_routine.h"
#include "render/frame_plan.h"
#include "render/view_chunk.h"

namespace orvane {

namespace {

struct OptionError {
  std::string text;
};

// Numbers on the command line are read in the plain C form, whatever the locale.
std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  return text;
}

std::optional<double> readReal(std::string_view text) {
  text = withoutPlus(text);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<long> readWhole(std::string_view text) {
  text = withoutPlus(text);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> splitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

// Reads the option's value with the given reader, or throws an error naming the option.
class OptionReader {
 public:
  OptionReader(const QCommandLineParser& parser, const char* name, const char* expected)
      : name_(name), expected_(expected) {
    present_ = parser.isSet(name);
    if (present_) text_ = parser.value(name).toStdString();
  }

  bool present() const { return present_; }

  std::int16_t whole(long low, long high) const {
    const std::optional<long> value = readWhole(text_);
    if (!value || *value < low || *value > high) fail();
    return static_cast<std::int16_t>(*value);
  }

  std::pair<double, double> realPair() const {
    const std::vector<std::string_view> parts = splitCommas(text_);
    if (parts.size() != 2) fail();
    const std::optional<double> first = readReal(parts[0]);
    const std::optional<double> second = readReal(parts[1]);
    if (!first || !second) fail();
    return {*first, *second};
  }

  // A plain decimal of any length, as given.
  std::string decimal() const {
    if (!deep::isPlainDecimal(withoutPlus(text_))) fail();
    return std::string(withoutPlus(text_));
  }

  std::pair<std::string, std::string> decimalPair() const {
    const std::vector<std::string_view> parts = splitCommas(text_);
    if (parts.size() != 2) fail();
    for (const std::string_view part : parts)
      if (!deep::isPlainDecimal(withoutPlus(part))) fail();
    return {std::string(withoutPlus(parts[0])), std::string(withoutPlus(parts[1]))};
  }

  std::vector<long> wholeList(std::size_t count, long low, long high) const {
    const std::vector<std::string_view> parts = splitCommas(text_);
    if (parts.size() != count) fail();
    std::vector<long> values;
    for (const std::string_view part : parts) {
      const std::optional<long> value = readWhole(part);
      if (!value || *value < low || *value > high) fail();
      values.push_back(*value);
    }
    return values;
  }

  template <class T, std::size_t N>
  T choice(const std::pair<const char*, T> (&choices)[N]) const {
    for (const auto& [word, value] : choices)
      if (text_ == word) return value;
    fail();
  }

  // One-letter options are written with one dash, as the user typed them (-o).
  [[noreturn]] void fail() const {
    const std::string dashes = std::string_view(name_).size() == 1 ? "-" : "--";
    throw OptionError{dashes + std::string(name_) + ": expected " + expected_ + ", got '" + text_ +
                      "'"};
  }

  const std::string& text() const { return text_; }

 private:
  const char* name_;
  const char* expected_;
  bool present_ = false;
  std::string text_;
};

constexpr long kMaxInt16 = std::numeric_limits<std::int16_t>::max();
constexpr long kMinInt16 = std::numeric_limits<std::int16_t>::min();
constexpr double kMaxJitter = 100;

void addOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "Renders one view of Orvane headless and writes it as a PNG (400 x 300, or any size\n"
      "with --size), which keeps the view it was drawn from (see --from).\n"
      "Without options it draws the picture that Start draws right after launch.\n"
      "\n"
      "With --video it draws a zoom video instead: from --zoom-from to the view the other\n"
      "options give, about the same centre, the magnification growing by the same factor\n"
      "every frame. --frames and --frames-dir split that work over several runs or machines.");
  parser.addOptions({
      {"formula", "mandelbrot, julia or hole (default mandelbrot).", "name"},
      {"zoom", "Magnification, a decimal of any size such as 1e1000; 0 reads as 1 (default 1).",
       "Z"},
      {"center",
       "View centre, decimals with any number of digits (default -0.5,0 for the Mandelbrot "
       "home view, else 0,0).",
       "X,Y"},
      {"precision",
       "auto, double or deep (default auto: double where it draws every pixel apart, as the "
       "window does, else deep zoom).",
       "mode"},
      {"rotation", "Rotation in whole degrees, -32768 to 32767 (default 0).", "DEG"},
      {"components", "Mandelbrot start value, or Julia constant (default 0,0).", "DX,DY"},
      {"depth", "Iteration depth, 1 to 32767 (default 64).", "D"},
      {"escape", "Escape value, 1 to 32767 (default 4).", "E"},
      {"jitter", "Boundary jitter factors, each 0 to 100; a 0 reads as 1,1 (default 1,1).",
       "LOW,HIGH"},
      {"colour-mode", "mono, grey or rgb (default rgb).", "mode"},
      {"inner", "Inner rendering level, 0 to 10 (default 5).", "RI"},
      {"outer", "Outer rendering level, 0 to 10 (default 5).", "RO"},
      {"offsets",
       "Colour offsets, each -32768 to 32767; above 255 reads as 160,64,192 "
       "(default 0,0,0).",
       "R,G,B"},
      {"grid", "Square-array side 2 to 32, or line for line mode (default 12).", "N|line"},
      {"size",
       "Picture size, each side 1 to 16384 (default 400x300). The view keeps the window's "
       "framing: the same region of the plane, with the shorter side widened for another "
       "shape.",
       "WxH"},
      {"threads", "Threads to compute with, 1 to 1024 (default: all cores).", "T"},
      {"scalar", "Compute with the plain scalar loop instead of the SIMD lanes."},
      {"stats", "Print iterations, pixels, seconds and iterations per second."},
      {"from",
       "Draw the view kept in a PNG that orvane-render wrote; the other options change single "
       "values of it.",
       "FILE.png"},
      {"o", "The PNG file to write (required without --video, --frames or --count-frames).",
       "FILE.png"},
      {"video",
       "Write a zoom video: .mp4 (H.264), .webm (VP9) or .mkv (either, see --codec). With "
       "--frames-dir, encode the frames rendered there instead.",
       "OUT"},
      {"zoom-from",
       "The magnification of a video's first frame, of the sign of --zoom (default 1).", "Z0"},
      {"seconds", "A video's length in seconds (required for a video).", "S"},
      {"fps", "A video's frames per second, 1 to 1000 (default 30).", "F"},
      {"codec", "h264 or vp9, for an .mkv video (default h264).", "name"},
      {"quality",
       "Constant quality, lower is better: H.264 CRF 0 to 51 (default 20), VP9 CRF 0 to 63 "
       "(default 31).",
       "Q"},
      {"frames",
       "Render only frames A to B (0-based, inclusive) of the video as PNGs in --frames-dir, "
       "each keeping its view.",
       "A-B"},
      {"frames-dir", "The folder of frame-000000.png, frame-000001.png, ...", "DIR"},
      {"count-frames", "Print the video's frame count, round(seconds x fps), and stop."},
  });
  parser.addHelpOption();
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The video options, read only when a video, frames of one, or their count is asked for: the
// same options serve all three, so that scripts can pass one set to every step.
std::optional<VideoRequest> readVideoRequest(const QCommandLineParser& parser,
                                             const RenderRequest& request) {
  const bool frames = parser.isSet("frames");
  const bool encodes = parser.isSet("video");
  VideoRequest video;
  video.countOnly = parser.isSet("count-frames");
  if (!video.countOnly && !frames && !encodes) {
    for (const char* name : {"frames-dir", "zoom-from", "seconds", "fps", "codec", "quality"}) {
      if (parser.isSet(name))
        throw OptionError{"--" + std::string(name) +
                          ": only with --video, --frames or --count-frames"};
    }
    return std::nullopt;
  }
  bool webm = false, mp4 = false;
  if (OptionReader o(parser, "video", "a file name ending in .mp4, .webm or .mkv"); o.present()) {
    const std::string& name = o.text();
    mp4 = endsWith(name, ".mp4");
    webm = endsWith(name, ".webm");
    if (!mp4 && !webm && !endsWith(name, ".mkv")) o.fail();
    video.output = name;
  }
  video.codec = webm ? VideoCodec::kVp9 : VideoCodec::kH264;
  if (OptionReader o(parser, "codec", "h264 or vp9"); o.present()) {
    static constexpr std::pair<const char*, VideoCodec> kCodecs[] = {{"h264", VideoCodec::kH264},
                                                                     {"vp9", VideoCodec::kVp9}};
    video.codec = o.choice(kCodecs);
    if ((mp4 && video.codec != VideoCodec::kH264) || (webm && video.codec != VideoCodec::kVp9))
      throw OptionError{"--codec: an .mp4 video is h264 and a .webm video vp9; .mkv takes either"};
  }
  const bool inDouble = request.precision == deep::Precision::kDouble;
  const std::string zoomTo = request.zoom.value_or("1");
  if (OptionReader o(parser, "zoom-from",
                     inDouble ? "a number in the range of a double" : "a number");
      o.present()) {
    video.zoomFrom = o.decimal();
    if ((inDouble && !deep::fitsDouble(video.zoomFrom)) || !deep::zoomInRange(video.zoomFrom))
      o.fail();
  }
  if (!video::sameSign(video.zoomFrom, zoomTo))
    throw OptionError{"--zoom-from: a zoom keeps the sign of the magnification, and --zoom is " +
                      zoomTo};
  if (OptionReader o(parser, "fps", "a whole number from 1 to 1000"); o.present())
    video.fps = o.whole(1, 1000);
  if (OptionReader o(parser, "seconds", "a number of seconds above 0"); o.present()) {
    const std::optional<double> seconds = readReal(o.text());
    if (!seconds || *seconds <= 0) o.fail();
    const std::optional<long> count = video::frameCount(*seconds, video.fps);
    if (!count) {
      throw OptionError{"--seconds: " + o.text() + " s at " + std::to_string(video.fps) +
                        " frames per second is not 2 to " + std::to_string(video::kMaxFrames) +
                        " frames"};
    }
    video.frameCount = *count;
  } else {
    throw OptionError{"--seconds: a video's length is required"};
  }
  const bool vp9 = video.codec == VideoCodec::kVp9;
  video.quality = vp9 ? 31 : 20;
  if (OptionReader o(parser, "quality",
                     vp9 ? "a whole number from 0 to 63" : "a whole number from 0 to 51");
      o.present())
    video.quality = o.whole(0, vp9 ? 63 : 51);
  // Colour at half resolution (4:2:0), which every player takes, needs even sides.
  const PosterSize size = request.size.value_or(PosterSize{});
  if (size.width % 2 != 0 || size.height % 2 != 0) {
    throw OptionError{"--size: a video's sides must be even, got " + std::to_string(size.width) +
                      "x" + std::to_string(size.height)};
  }
  if (OptionReader o(parser, "frames-dir", "a folder name"); o.present()) {
    if (o.text().empty()) o.fail();
    video.framesDir = o.text();
  }
  const std::string range = "A-B with 0 <= A <= B < " + std::to_string(video.frameCount);
  if (OptionReader o(parser, "frames", range.c_str()); o.present()) {
    const std::string& text = o.text();
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string::npos) o.fail();
    const std::optional<long> first = readWhole(std::string_view(text).substr(0, dash));
    const std::optional<long> last = readWhole(std::string_view(text).substr(dash + 1));
    if (!first || !last || *first < 0 || *first > *last || *last >= video.frameCount) o.fail();
    video.frames = std::pair{*first, *last};
    if (encodes) throw OptionError{"--frames: renders frames only, not with --video"};
    if (video.framesDir.empty()) throw OptionError{"--frames: needs --frames-dir"};
  } else if (!video.framesDir.empty() && !encodes && !video.countOnly) {
    throw OptionError{"--frames-dir: needs --frames A-B to render, or --video OUT to encode"};
  }
  return video;
}

RenderRequest readRequest(const QCommandLineParser& parser) {
  RenderRequest request;
  if (OptionReader o(parser, "formula", "mandelbrot, julia or hole"); o.present()) {
    static constexpr std::pair<const char*, std::int16_t> kFormulas[] = {
        {"mandelbrot", formula::kMandelbrot}, {"julia", formula::kJulia}, {"hole", formula::kHole}};
    request.drawing = o.choice(kFormulas);
  }
  if (OptionReader o(parser, "precision", "auto, double or deep"); o.present()) {
    static constexpr std::pair<const char*, deep::Precision> kModes[] = {
        {"auto", deep::Precision::kAuto},
        {"double", deep::Precision::kDouble},
        {"deep", deep::Precision::kDeep}};
    request.precision = o.choice(kModes);
  }
  const bool inDouble = request.precision == deep::Precision::kDouble;
  if (OptionReader o(parser, "zoom",
                     inDouble ? "a number in the range of a double"
                              : "a number from 1e-315000 to 1e315000 in size");
      o.present()) {
    request.zoom = o.decimal();
    if (inDouble && !deep::fitsDouble(*request.zoom)) o.fail();
    if (!deep::zoomInRange(*request.zoom)) o.fail();
  }
  if (OptionReader o(parser, "center",
                     inDouble ? "two numbers X,Y in the range of a double"
                              : "two numbers X,Y below 1e315000 in size");
      o.present()) {
    request.centre = o.decimalPair();
    const auto [x, y] = *request.centre;
    if (inDouble && !(deep::fitsDouble(x) && deep::fitsDouble(y))) o.fail();
    if (!(deep::centreInRange(x) && deep::centreInRange(y))) o.fail();
  }
  if (OptionReader o(parser, "rotation", "a whole number from -32768 to 32767"); o.present())
    request.rotation = o.whole(kMinInt16, kMaxInt16);
  if (OptionReader o(parser, "components", "two finite numbers DX,DY"); o.present())
    request.components = o.realPair();
  if (OptionReader o(parser, "depth", "a whole number from 1 to 32767"); o.present())
    request.depth = o.whole(1, kMaxInt16);
  if (OptionReader o(parser, "escape", "a whole number from 1 to 32767"); o.present())
    request.escape = o.whole(1, kMaxInt16);
  if (OptionReader o(parser, "jitter", "two numbers LOW,HIGH from 0 to 100"); o.present()) {
    const auto [low, high] = o.realPair();
    if (low < 0 || high < 0 || low > kMaxJitter || high > kMaxJitter) o.fail();
    request.jitter = {static_cast<float>(low), static_cast<float>(high)};
  }
  if (OptionReader o(parser, "colour-mode", "mono, grey or rgb"); o.present()) {
    static constexpr std::pair<const char*, std::int16_t> kModes[] = {
        {"mono", colour_mode::kTwoColour},
        {"grey", colour_mode::kGrey},
        {"rgb", colour_mode::kRgb}};
    request.colourMode = o.choice(kModes);
  }
  if (OptionReader o(parser, "inner", "a whole number from 0 to 10"); o.present())
    request.inner = o.whole(0, 10);
  if (OptionReader o(parser, "outer", "a whole number from 0 to 10"); o.present())
    request.outer = o.whole(0, 10);
  if (OptionReader o(parser, "offsets", "three whole numbers R,G,B from -32768 to 32767");
      o.present()) {
    const std::vector<long> values = o.wholeList(3, kMinInt16, kMaxInt16);
    request.offsets = {static_cast<std::int16_t>(values[0]), static_cast<std::int16_t>(values[1]),
                       static_cast<std::int16_t>(values[2])};
  }
  if (OptionReader o(parser, "grid", "a side from 2 to 32, or line"); o.present())
    request.gridChoice =
        o.text() == "line" ? static_cast<std::int16_t>(kLineMode) : o.whole(2, kMaxGridSide);
  if (OptionReader o(parser, "size", "WxH, each side from 1 to 16384"); o.present()) {
    const std::string& text = o.text();
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) o.fail();
    const std::optional<long> width = readWhole(std::string_view(text).substr(0, cross));
    const std::optional<long> height = readWhole(std::string_view(text).substr(cross + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxPosterSide ||
        *height > kMaxPosterSide)
      o.fail();
    request.size = PosterSize{static_cast<int>(*width), static_cast<int>(*height)};
  }
  if (OptionReader o(parser, "threads", "a whole number from 1 to 1024"); o.present())
    request.threads = o.whole(1, 1024);
  request.scalar = parser.isSet("scalar");
  request.stats = parser.isSet("stats");
  request.video = readVideoRequest(parser, request);
  const bool writesElsewhere =
      request.video && (!request.video->output.empty() || request.video->frames);
  if (OptionReader o(parser, "o", "a file name"); o.present()) {
    if (o.text().empty()) o.fail();
    if (writesElsewhere)
      throw OptionError{"-o: a video goes to --video, its frames to --frames-dir"};
    request.output = o.text();
  } else if (!request.video) {
    throw OptionError{"-o: the PNG file to write is required"};
  }
  return request;
}

}  // namespace

namespace {

ParsedCommandLine refused(std::string error) {
  ParsedCommandLine parsed;
  parsed.error = std::move(error);
  return parsed;
}

// One parse of an argument list; the request or the reason it was refused.
ParsedCommandLine parseOnce(const QStringList& arguments) {
  QCommandLineParser parser;
  addOptions(parser);
  ParsedCommandLine parsed;
  if (!parser.parse(arguments)) {
    parsed.error = parser.errorText().toStdString();
    return parsed;
  }
  if (parser.isSet("help")) {
    parsed.help = parser.helpText().toStdString();
    return parsed;
  }
  if (!parser.positionalArguments().isEmpty()) {
    parsed.error =
        "unexpected argument '" + parser.positionalArguments().first().toStdString() + "'";
    return parsed;
  }
  try {
    parsed.request = readRequest(parser);
    if (parser.isSet("from")) parsed.request->from = parser.value("from").toStdString();
  } catch (const OptionError& error) {
    parsed.error = error.text;
  }
  return parsed;
}

}  // namespace

// With --from, the kept view's options come first and the command line's after them, so
// that an option given on the command line wins over the kept one.
ParsedCommandLine parseRenderCommandLine(const QStringList& arguments) {
  ParsedCommandLine parsed = parseOnce(arguments);
  if (!parsed.request || parsed.request->from.empty()) return parsed;
  const QString path = QString::fromStdString(parsed.request->from);
  std::string error;
  const std::optional<QStringList> kept = viewOptionsFrom(path, error);
  if (!kept) return refused(error);
  const QStringList program = arguments.mid(0, 1);
  const ParsedCommandLine alone = parseOnce(program + *kept + QStringList{"-o", "-"});
  if (!alone.request) {
    return refused("--from: the view in '" + parsed.request->from + "' is damaged: " + alone.error);
  }
  return parseOnce(program + *kept + arguments.mid(1));
}

void applyRenderRequest(const RenderRequest& request, ExplorerState& state, DialogValues& dialogs) {
  if (request.gridChoice) state.gridChoice = *request.gridChoice;
  formLoad(state, dialogs);
  if (request.drawing) state.drawing = *request.drawing;
  PositionValues& position = dialogs.position;
  if (request.zoom) position.numzoom = deep::nearestDouble(*request.zoom);
  if (request.centre) {
    position.numx = deep::nearestDouble(request.centre->first);
    position.numy = deep::nearestDouble(request.centre->second);
  }
  if (request.rotation) position.ct = *request.rotation;
  if (request.components)
    std::tie(dialogs.dimension.numDx, dialogs.dimension.numDy) = *request.components;
  if (request.depth) state.iterDepth = *request.depth;
  if (request.escape) state.escapeValue = *request.escape;
  if (request.jitter) std::tie(state.jitterLow, state.jitterHigh) = *request.jitter;
  if (request.colourMode) state.colorMode = *request.colourMode;
  if (request.inner) dialogs.rendering.dcin = dialogs.rendering.sldIn = *request.inner;
  if (request.outer) dialogs.rendering.dcout = dialogs.rendering.sldOut = *request.outer;
  if (request.offsets) {
    state.colr = (*request.offsets)[0];
    state.colg = (*request.offsets)[1];
    state.colb = (*request.offsets)[2];
  }
}

}  // namespace orvane
