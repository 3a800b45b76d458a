// The frames of a video as numbered PNG files, each keeping its view.
#pragma once

#include <string>

#include <QImage>

namespace orvane::video {

// DIR/frame-000123.png for frame 123.
std::string framePath(const std::string& dir, long frame);

// Writes a picture, its view attached, as a PNG that appears under `path` only once complete.
bool writeFramePng(const QImage& picture, const std::string& path);

}  // namespace orvane::video
