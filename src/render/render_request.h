// What orvane-render is asked for: plain data in small groups, read from the command line and
// from the view a picture keeps. A value left empty keeps the program's start-up state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "deep/precision_choice.h"
#include "deep/view_number.h"
#include "engine/explorer_state.h"
#include "engine/poster.h"
#include "video/video_codec.h"

namespace orvane {

using NumberPair = std::pair<deep::ViewNumber, deep::ViewNumber>;

// What the picture looks like: all that a picture keeps of its view, and nothing of how it was
// computed or where it went.
struct ViewRequest {
  std::optional<std::int16_t> drawing;  // see `formula`
  deep::ViewNumber zoom = deep::ViewNumber::of(1);
  std::optional<NumberPair> centre;  // empty: the formula's home view
  std::optional<std::int16_t> rotation;
  std::optional<NumberPair> components;
  std::optional<int> depth;  // 1 to 2^31 - 1; the window's state holds up to 32767
  std::optional<std::int16_t> escape;
  std::optional<std::pair<float, float>> jitter;
  std::optional<std::int16_t> colourMode;
  std::optional<std::int16_t> inner;
  std::optional<std::int16_t> outer;
  std::optional<std::array<std::int16_t, 3>> offsets;
  std::optional<std::int16_t> gridChoice;    // kLineMode, or a grid side
  PosterSize size;                           // the window's 400 x 300 unless asked
  std::optional<deep::Precision> precision;  // empty: auto, and not kept in the picture
  std::optional<int> supersample;            // samples per pixel along each side; empty: 1
};

// A zoom video from `zoomFrom` to the view's magnification, or a share of its frames.
struct VideoRequest {
  std::string output;     // --video: the file to write; empty when frames are rendered
  std::string framesDir;  // --frames-dir: where frames go, or are encoded from
  std::optional<std::vector<long>> frames;  // --frames: the frames to render, in order
  bool countOnly = false;                   // --count-frames
  bool missingOnly = false;                 // --missing-frames
  bool resume = false;                      // --resume: keep the frames already right
  deep::ViewNumber zoomFrom = deep::ViewNumber::of(1);
  int fps = 30;
  long frameCount = 0;  // round(seconds x fps), at least 2
  VideoCodec codec = VideoCodec::kH264;
  int quality = 0;  // the codec's constant rate factor
};

struct RenderRequest {
  ViewRequest view;
  int threads = 0;  // 0: all cores
  bool scalar = false;
  bool stats = false;
  int verify = 0;      // --verify: pixels to iterate again directly after drawing; 0: none
  std::string output;  // -o: the PNG; empty for a video
  std::string from;    // the PNG whose kept view the options start from, if any
  std::optional<VideoRequest> video;
};

// The largest depth the window's state holds; deeper pictures are drawn as posters.
inline constexpr int kMaxWindowDepth = 32767;

// Sets up the state as the program is at start-up, then applies the view the way the menus
// and dialogs would: the grid before the load routine, the rest into the fields and dialog
// values the render pass reads. The view's numbers go in as their nearest doubles; a deep view
// takes its exact ones from the request.
void applyViewRequest(const ViewRequest& view, ExplorerState& state, DialogValues& dialogs);

// The view a pass draws for `asked`, every value filled in: the state and dialog values are
// those the pass has prepared. A number keeps the text asked for where the pass draws the
// value it gives, and is the pass's own double otherwise (a default, or the home view).
ViewRequest drawnView(const ViewRequest& asked, const ExplorerState& prepared,
                      const DialogValues& preparedDialogs);

}  // namespace orvane
