// The codecs a zoom video can be encoded with, the containers that take each, and the
// constant quality each understands.
#pragma once

#include <optional>
#include <string_view>

namespace orvane {

enum class VideoCodec { kH264, kVp9 };

struct VideoCodecTraits {
  const char* name;     // as --codec takes it
  const char* encoder;  // FFmpeg's encoder
  int defaultQuality;   // constant rate factor: lower is better
  int worstQuality;
};

constexpr VideoCodecTraits traitsOf(VideoCodec codec) {
  return codec == VideoCodec::kVp9 ? VideoCodecTraits{"vp9", "libvpx-vp9", 31, 63}
                                   : VideoCodecTraits{"h264", "libx264", 20, 51};
}

// The container a file name's ending names.
enum class VideoContainer { kMp4, kWebm, kMkv };

constexpr std::optional<VideoContainer> containerOf(std::string_view fileName) {
  const auto endsWith = [fileName](std::string_view end) {
    return fileName.size() >= end.size() && fileName.substr(fileName.size() - end.size()) == end;
  };
  if (endsWith(".mp4")) return VideoContainer::kMp4;
  if (endsWith(".webm")) return VideoContainer::kWebm;
  if (endsWith(".mkv")) return VideoContainer::kMkv;
  return std::nullopt;
}

// The codec a container holds unless another is asked for: a .webm holds VP9 alone, an .mp4
// H.264 alone (as browsers play them), an .mkv either.
constexpr VideoCodec defaultCodec(VideoContainer container) {
  return container == VideoContainer::kWebm ? VideoCodec::kVp9 : VideoCodec::kH264;
}
constexpr bool takes(VideoContainer container, VideoCodec codec) {
  return container == VideoContainer::kMkv || codec == defaultCodec(container);
}

}  // namespace orvane
