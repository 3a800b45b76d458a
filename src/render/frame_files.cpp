// The frames of a video: one picture in memory, and the numbered PNG files that keep them.
#include "render/frame_files.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "png/output_file.h"
#include "png/png_file.h"
#include "render/view_chunk.h"

namespace orvane::render {

void FramePicture::setRow(int y, std::span<const Colour> row) {
  for (std::size_t x = 0; x < row.size(); ++x)
    setPixel(static_cast<int>(x), y, redOf(row[x]), greenOf(row[x]), blueOf(row[x]));
}

void FramePicture::rowColours(int y, std::vector<Colour>& row) const {
  row.resize(static_cast<std::size_t>(width_));
  const std::uint32_t* line = &pixels_[static_cast<std::size_t>(y) * width_];
  for (int x = 0; x < width_; ++x) {
    const std::uint32_t p = line[x];
    row[static_cast<std::size_t>(x)] = packColour(p >> 16 & 0xff, p >> 8 & 0xff, p & 0xff);
  }
}

bool writeFramePng(const FramePicture& frame, const std::string& view, const std::string& path,
                   int threads, std::string& error) {
  OutputFile output(path);
  PngWriter file(output.stream(), path, frame.width(), frame.height(), threads);
  file.addText(kViewChunkKey, view);
  std::vector<Colour> row;
  for (int y = 0; y < frame.height() && file.error().empty(); ++y) {
    frame.rowColours(y, row);
    file.row(y, row);
  }
  if (file.finish() && output.commit()) return true;
  error = !output.error().empty() ? output.error() : file.error();
  return false;
}

namespace {

struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};

// The picture of a PNG file, decoded by FFmpeg's PNG decoder into 8-bit RGB.
bool decodePng(const std::string& path, FramePicture& frame, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    error = "cannot read the frame '" + path + "'";
    return false;
  }
  const std::size_t size = bytes.size();
  bytes.resize(size + AV_INPUT_BUFFER_PADDING_SIZE);  // the decoder reads a little past the end
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_PNG);
  std::unique_ptr<AVCodecContext, CodecContextFree> context(avcodec_alloc_context3(codec));
  std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, FrameFree> picture(av_frame_alloc());
  if (!context || !packet || !picture || avcodec_open2(context.get(), codec, nullptr) < 0) {
    error = "cannot start FFmpeg's PNG decoder";
    return false;
  }
  packet->data = bytes.data();
  packet->size = static_cast<int>(size);
  if (avcodec_send_packet(context.get(), packet.get()) < 0 ||
      avcodec_receive_frame(context.get(), picture.get()) < 0 ||
      picture->format != AV_PIX_FMT_RGB24) {
    error = "the frame '" + path + "' is not an 8-bit RGB PNG";
    return false;
  }
  if (picture->width != frame.width() || picture->height != frame.height()) {
    error = "the frame '" + path + "' is " + std::to_string(picture->width) + "x" +
            std::to_string(picture->height) + ", the video " + std::to_string(frame.width()) + "x" +
            std::to_string(frame.height());
    return false;
  }
  for (int y = 0; y < frame.height(); ++y) {
    const std::uint8_t* line =
        picture->data[0] + static_cast<std::ptrdiff_t>(y) * picture->linesize[0];
    for (int x = 0; x < frame.width(); ++x)
      frame.setPixel(x, y, line[3 * x], line[3 * x + 1], line[3 * x + 2]);
  }
  return true;
}

}  // namespace

bool readFramePng(const std::string& path, FramePicture& frame, std::string& view,
                  std::string& error) {
  const std::optional<std::string> kept = keptViewText(path, error);
  if (!kept) {
    error = "cannot read the frame '" + path + "': " + error;
    return false;
  }
  view = *kept;
  return decodePng(path, frame, error);
}

}  // namespace orvane::render
