// A video written with FFmpeg's libraries, frame by frame as the frames are drawn.
#include "video/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace orvane::video {

namespace {

std::string reason(const char* what, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return std::string(what) + ": " + text;
}

}  // namespace

struct VideoEncoder::State {
  AVFormatContext* container = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scaler = nullptr;
  std::int64_t next = 0;

  ~State() {
    sws_freeContext(scaler);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (container) {
      if (container->pb) avio_closep(&container->pb);
      avformat_free_context(container);
    }
  }

  // Sends `input` (nothing: the end) and writes every packet the codec hands back.
  bool send(const AVFrame* input, std::string& error) {
    int code = avcodec_send_frame(codec, input);
    if (code < 0) {
      error = reason("cannot encode a frame", code);
      return false;
    }
    for (;;) {
      code = avcodec_receive_packet(codec, packet);
      if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
      if (code < 0) {
        error = reason("cannot encode a frame", code);
        return false;
      }
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      code = av_interleaved_write_frame(container, packet);
      if (code < 0) {
        error = reason("cannot write the video", code);
        return false;
      }
    }
  }
};

VideoEncoder::VideoEncoder(std::unique_ptr<State> state) : state_(std::move(state)) {}

VideoEncoder::~VideoEncoder() = default;

std::unique_ptr<VideoEncoder> VideoEncoder::open(const std::string& path,
                                                 const std::string& containerName,
                                                 const EncoderSettings& settings,
                                                 std::string& error) {
  // The libraries' own notes (x264's statistics at the end) would break the progress bar.
  av_log_set_level(AV_LOG_ERROR);
  auto state = std::make_unique<State>();
  const AVOutputFormat* format = av_guess_format(nullptr, containerName.c_str(), nullptr);
  int code = avformat_alloc_output_context2(&state->container, format, nullptr, path.c_str());
  if (code < 0 || !state->container) {
    error = reason("cannot make the container", code);
    return nullptr;
  }
  const bool vp9 = settings.codec == VideoCodec::kVp9;
  const char* encoder = traitsOf(settings.codec).encoder;
  const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
  if (!codec) {
    error = std::string("this FFmpeg has no ") + encoder + " encoder";
    return nullptr;
  }
  state->stream = avformat_new_stream(state->container, nullptr);
  state->codec = avcodec_alloc_context3(codec);
  state->frame = av_frame_alloc();
  state->packet = av_packet_alloc();
  if (!state->stream || !state->codec || !state->frame || !state->packet) {
    error = "not enough memory for the encoder";
    return nullptr;
  }
  AVCodecContext* c = state->codec;
  c->width = settings.width;
  c->height = settings.height;
  c->time_base = {1, settings.fps};
  c->framerate = {settings.fps, 1};
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  // The codec's own threads (FFmpeg's default is one): it then encodes while the next frame
  // is drawn, rather than holding the drawing up.
  c->thread_count = 0;
  // What the conversion below does, said in the stream so players convert back alike.
  c->color_range = AVCOL_RANGE_MPEG;
  c->colorspace = AVCOL_SPC_BT709;
  c->color_primaries = AVCOL_PRI_BT709;
  c->color_trc = AVCOL_TRC_IEC61966_2_1;
  if (state->container->oformat->flags & AVFMT_GLOBALHEADER)
    c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* options = nullptr;
  av_dict_set_int(&options, "crf", settings.quality, 0);
  if (vp9) {
    c->bit_rate = 0;  // constant quality alone
    av_dict_set(&options, "deadline", "good", 0);
    av_dict_set(&options, "cpu-used", "4", 0);
    av_dict_set(&options, "row-mt", "1", 0);
  } else {
    av_dict_set(&options, "preset", "medium", 0);
  }
  code = avcodec_open2(c, codec, &options);
  av_dict_free(&options);
  if (code < 0) {
    error = reason("cannot open the encoder", code);
    return nullptr;
  }
  code = avcodec_parameters_from_context(state->stream->codecpar, c);
  if (code < 0) {
    error = reason("cannot open the encoder", code);
    return nullptr;
  }
  state->stream->time_base = c->time_base;
  state->stream->avg_frame_rate = c->framerate;
  state->stream->r_frame_rate = c->framerate;

  state->frame->format = c->pix_fmt;
  state->frame->width = c->width;
  state->frame->height = c->height;
  code = av_frame_get_buffer(state->frame, 0);
  if (code < 0) {
    error = reason("not enough memory for a frame", code);
    return nullptr;
  }
  state->scaler =
      sws_getContext(c->width, c->height, AV_PIX_FMT_BGR0, c->width, c->height, c->pix_fmt,
                     SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!state->scaler) {
    error = "cannot convert the frames' colours";
    return nullptr;
  }
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(state->scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);

  code = avio_open(&state->container->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (code < 0) {
    error = reason(("cannot write '" + path + "'").c_str(), code);
    return nullptr;
  }
  AVDictionary* muxing = nullptr;
  // An .mp4 whose index comes first plays while it is still arriving.
  if (std::string_view(state->container->oformat->name).find("mp4") != std::string_view::npos)
    av_dict_set(&muxing, "movflags", "+faststart", 0);
  code = avformat_write_header(state->container, &muxing);
  av_dict_free(&muxing);
  if (code < 0) {
    error = reason("cannot write the video", code);
    return nullptr;
  }
  return std::unique_ptr<VideoEncoder>(new VideoEncoder(std::move(state)));
}

bool VideoEncoder::add(const std::uint8_t* pixels, int stride, std::string& error) {
  State& s = *state_;
  const int code = av_frame_make_writable(s.frame);
  if (code < 0) {
    error = reason("not enough memory for a frame", code);
    return false;
  }
  sws_scale(s.scaler, &pixels, &stride, 0, s.codec->height, s.frame->data, s.frame->linesize);
  s.frame->pts = s.next++;
  return s.send(s.frame, error);
}

bool VideoEncoder::finish(std::string& error) {
  State& s = *state_;
  if (!s.send(nullptr, error)) return false;
  const int code = av_write_trailer(s.container);
  if (code < 0) {
    error = reason("cannot complete the video", code);
    return false;
  }
  if (avio_closep(&s.container->pb) < 0) {
    error = "cannot complete the video";
    return false;
  }
  return true;
}

}  // namespace orvane::video
