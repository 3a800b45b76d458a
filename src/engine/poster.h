// Posters: the view of the 400 x 300 window drawn at any size, row band by row band, so the
// memory needed stays small whatever the size.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "engine/explorer_state.h"
#include "engine/point_computer.h"
#include "engine/render_pass.h"

namespace orvane {

inline constexpr int kMaxPosterSide = 16384;

struct PosterSize {
  int width = kPictureWidth;
  int height = kPictureHeight;
};

// The frame that keeps the window's region of the plane: scaled by the smaller of the two
// size ratios, so another aspect ratio widens the shorter side about the centre.
PictureFrame posterFrame(PosterSize size);

// Receives the colours of row `y`, left to right; valid only during the call.
using PosterRowSink = std::function<void(int y, std::span<const Colour> row)>;
// Told the share of rows done, from 0 to 1, after each band.
using PosterProgress = std::function<void(double done)>;

// Makes the evaluation of the poster's points once its setup is known; an empty kernel keeps
// the double path's.
using PosterKernel = std::function<ShareKernel(const PointSetup& setup)>;

// What a poster may ask of the pass beyond its size.
struct PosterDetail {
  int depth = 0;        // above 0: replaces the state's 16-bit depth, so a poster may go deeper
  int supersample = 1;  // samples per pixel along each side, 1 to kMaxSupersample
};

// Prepares the state as a pass does, then colours every pixel of a `size` picture in row
// order and hands the rows to `sink`. A picture of a formula that is not drawn stays black.
// Within about 8 bytes per pixel of a band (32 when supersampled); the bands are a few hundred
// thousand pixels. Supersampled, every sample counts as a pixel in the statistics.
PassStatistics renderPoster(ExplorerState& state, DialogValues& dialogs, PosterSize size,
                            ComputeOptions options, const PosterRowSink& sink,
                            const PosterProgress& progress = {},
                            const PosterKernel& makeKernel = {}, PosterDetail detail = {});

}  // namespace orvane
