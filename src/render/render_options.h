// The command line of orvane-render: parsed into a request, applied to the explorer state.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

#include <QStringList>

#include "deep/precision_choice.h"
#include "engine/explorer_state.h"
#include "engine/poster.h"
#include "video/video_codec.h"

namespace orvane {

// A zoom video from --zoom-from to the view the other options give, or a share of its frames.
struct VideoRequest {
  std::string output;     // --video: the file to write; empty when frames are rendered
  std::string framesDir;  // --frames-dir: where frames go, or are encoded from
  std::optional<std::pair<long, long>> frames;  // --frames A-B, both inclusive
  bool countOnly = false;                       // --count-frames
  std::string zoomFrom = "1";
  int fps = 30;
  long frameCount = 0;  // round(seconds x fps), at least 2
  VideoCodec codec = VideoCodec::kH264;
  int quality = 0;  // the codec's constant rate factor
};

// What the command line asked for; every value left empty keeps the program's start-up state.
struct RenderRequest {
  std::optional<std::int16_t> drawing;
  // The view's numbers as given, of any length: plain decimals, kept verbatim in the file.
  std::optional<std::string> zoom;
  std::optional<std::pair<std::string, std::string>> centre;
  std::optional<std::int16_t> rotation;
  std::optional<std::pair<double, double>> components;
  std::optional<std::int16_t> depth;
  std::optional<std::int16_t> escape;
  std::optional<std::pair<float, float>> jitter;
  std::optional<std::int16_t> colourMode;
  std::optional<std::int16_t> inner;
  std::optional<std::int16_t> outer;
  std::optional<std::array<std::int16_t, 3>> offsets;
  std::optional<std::int16_t> gridChoice;
  std::optional<PosterSize> size;  // a poster of the same view; empty: the window's 400 x 300
  std::optional<deep::Precision> precision;  // empty: auto
  int threads = 0;                           // 0: all cores
  bool scalar = false;
  bool stats = false;
  std::string output;  // -o: the PNG; empty for a video
  std::string from;    // the PNG whose kept view the options start from, if any
  std::optional<VideoRequest> video;
};

struct ParsedCommandLine {
  std::optional<RenderRequest> request;  // empty on an error or when help was asked for
  std::string error;                     // one line naming the option, when refused
  std::string help;                      // the help text, when asked for
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
ParsedCommandLine parseRenderCommandLine(const QStringList& arguments);

// Sets up the state as the program is at start-up, then applies the request, the way the
// menus and dialogs would: the grid before the load routine, the rest into the fields and
// dialog values the render pass reads. The view's numbers go in rounded to doubles (see
// deep::nearestDouble); a deep view takes its exact ones from the request's texts.
void applyRenderRequest(const RenderRequest& request, ExplorerState& state, DialogValues& dialogs);

}  // namespace orvane
