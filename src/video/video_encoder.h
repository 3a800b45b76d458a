// A video written with FFmpeg's libraries, frame by frame as the frames are drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "video/video_codec.h"

namespace orvane::video {

struct EncoderSettings {
  int width = 0;  // even
  int height = 0;
  int fps = 30;
  VideoCodec codec = VideoCodec::kH264;
  int quality = 20;  // the codec's constant rate factor
};

class VideoEncoder {
 public:
  // Writes to `path` in the container that `containerName`'s ending names (.mp4, .webm,
  // .mkv); nothing, with the reason in `error`, when the encoder or the file cannot be opened.
  static std::unique_ptr<VideoEncoder> open(const std::string& path,
                                            const std::string& containerName,
                                            const EncoderSettings& settings, std::string& error);
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Encodes the next frame: `height` rows of `width` pixels, 4 bytes each in the order blue,
  // green, red, unused (FramePicture's words in memory), `stride` bytes apart.
  bool add(const std::uint8_t* pixels, int stride, std::string& error);
  // Encodes what the codec still holds and completes the file.
  bool finish(std::string& error);

 private:
  struct State;
  explicit VideoEncoder(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvane::video
