// The frames of a video: one picture in memory, and the numbered PNG files that keep them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/colour.h"

namespace orvane::render {

// One frame's pixels, row after row, each a 32-bit word 0xffRRGGBB: the layout FFmpeg calls
// BGR0 on little-endian processors, which its converter takes as it stands.
class FramePicture {
 public:
  FramePicture(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  const std::uint8_t* bytes() const {
    return reinterpret_cast<const std::uint8_t*>(pixels_.data());
  }
  int stride() const { return width_ * 4; }

  void setRow(int y, std::span<const Colour> row);
  void setPixel(int x, int y, int red, int green, int blue) {
    pixels_[static_cast<std::size_t>(y) * width_ + x] =
        0xff000000u | static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
  }
  // Row y as the engine's colours, for writing.
  void rowColours(int y, std::vector<Colour>& row) const;

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// Writes the frame with its view as a PNG that appears under `path` only once complete; false
// with the reason in `error` when it cannot.
bool writeFramePng(const FramePicture& frame, const std::string& view, const std::string& path,
                   int threads, std::string& error);

// Reads a frame written by writeFramePng into `frame`, which must have its size, and its view
// into `view`; false with the reason in `error` when the file is not such a frame.
bool readFramePng(const std::string& path, FramePicture& frame, std::string& view,
                  std::string& error);

}  // namespace orvane::render
