// The codecs a zoom video can be encoded with, and what each takes.
#pragma once

namespace orvane {

enum class VideoCodec { kH264, kVp9 };

}  // namespace orvane
