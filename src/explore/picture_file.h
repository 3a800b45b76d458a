// The explorer's pictures as files: PNGs that keep their view as the renderer's do, and the
// renderer's command lines for a poster or a zoom video of a view.
#pragma once

#include <QImage>

#include <atomic>
#include <string>

#include "render/render_picture.h"

namespace orvane::explore {

// Writes a full picture of the window with the view text it was drawn from; false with the
// reason in `error`.
bool writePicture(const std::string& path, const QImage& image, const std::string& view,
                  std::string& error);

// Draws `view` afresh and writes it, row by row as orvane-render does (for a supersampled
// save); `progress` follows the share done.
bool drawToFile(const std::string& path, const ViewRequest& view, ComputeOptions options,
                std::atomic<double>& progress, std::string& error);

// "orvane-render --formula=... -o orvane-poster.png": the view at twice the window's size in
// each direction, 2 x 2 samples a pixel.
std::string posterCommand(const ViewRequest& view);

// "orvane-render --formula=... --zoom-from=1 --seconds=20 --video=orvane-zoom.mp4": a zoom
// video from the whole set into this view, at the window's size made even.
std::string videoCommand(const ViewRequest& view);

}  // namespace orvane::explore
