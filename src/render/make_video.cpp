// Zoom videos: the frame count, a share of the frames as PNGs, or the video itself.
#include "render/make_video.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "png/output_file.h"
#include "render/frame_check.h"
#include "render/frame_files.h"
#include "render/frame_plan.h"
#include "render/frame_progress.h"
#include "render/render_picture.h"
#include "render/view_chunk.h"
#include "video/video_encoder.h"

namespace orvane::render {

using video::EncoderSettings;
using video::VideoEncoder;

namespace {

constexpr int kFailed = 1;

int failed(const std::string& message) {
  std::fprintf(stderr, "orvane-render: %s\n", message.c_str());
  return kFailed;
}

// What the run did, for --stats.
struct RunFigures {
  long frames = 0;
  long deepFrames = 0;
  long references = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

  void print() const {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "frames %ld\ndeep frames %ld\nreference orbits computed %ld\nseconds %.6f\n"
        "frames per second %.4g\n",
        frames, deepFrames, references, seconds,
        seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
  }
};

// Draws the frames of one video, each exactly as a poster of its own view is drawn, into one
// picture that each frame overwrites: frames are handed on one at a time, never all held.
class FrameDrawer {
 public:
  FrameDrawer(const RenderRequest& request, ComputeOptions options)
      : request_(request),
        options_(options),
        size_(request.view.size),
        picture_(size_.width, size_.height) {}

  // Frame k; `progress` is told the share of it done.
  const FramePicture& draw(long k, const PosterProgress& progress, RunFigures& figures) {
    const RenderRequest frame = frameRequest(request_, k);
    const RenderedPicture rendered = renderPicture(
        frame, options_, [this](int y, std::span<const Colour> row) { picture_.setRow(y, row); },
        progress, {}, &reuse_);
    view_ = rendered.view;
    ++figures.frames;
    figures.deepFrames += rendered.choice.deep;
    figures.references = reuse_.computed;
    return picture_;
  }

  // The view of the frame last drawn.
  const std::string& view() const { return view_; }

 private:
  const RenderRequest& request_;
  ComputeOptions options_;
  PosterSize size_;
  FramePicture picture_;
  std::string view_;
  ReferenceReuse reuse_;
};

EncoderSettings encoderSettings(const RenderRequest& request) {
  const VideoRequest& video = *request.video;
  const PosterSize size = request.view.size;
  return {size.width, size.height, video.fps, video.codec, video.quality};
}

std::vector<long> allFrames(long count) {
  std::vector<long> frames(static_cast<std::size_t>(count));
  std::iota(frames.begin(), frames.end(), 0L);
  return frames;
}

std::vector<double> frameScales(const RenderRequest& request, const std::vector<long>& frames) {
  const VideoRequest& video = *request.video;
  std::vector<double> scales;
  for (const long k : frames)
    scales.push_back(frameScale(video.zoomFrom, request.view.zoom, k, video.frameCount));
  return scales;
}

// The frames of --frames still to render: with --resume, those the folder lacks or holds for
// another view.
std::vector<long> framesToRender(const RenderRequest& request) {
  const VideoRequest& video = *request.video;
  if (!video.resume) return *video.frames;
  std::vector<long> frames;
  for (const long k : *video.frames)
    if (!frameFault(request, k).empty()) frames.push_back(k);
  const std::size_t kept = video.frames->size() - frames.size();
  if (kept > 0) {
    std::fprintf(stderr, "orvane-render: %zu of %zu frames are already in '%s'; rendering %zu\n",
                 kept, video.frames->size(), video.framesDir.c_str(), frames.size());
  }
  return frames;
}

int renderFrames(const RenderRequest& request, ComputeOptions options, RunFigures& figures) {
  const VideoRequest& video = *request.video;
  std::error_code made;
  std::filesystem::create_directories(video.framesDir, made);
  if (made) return failed("cannot make the folder '" + video.framesDir + "'");
  const std::vector<long> frames = framesToRender(request);
  FrameDrawer drawer(request, options);
  FrameProgress bar(frameScales(request, frames));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const long k = frames[i];
    const double before = static_cast<double>(i);
    const FramePicture& picture = drawer.draw(
        k, [&](double done) { bar.update(before + done); }, figures);
    const std::string path = framePath(video.framesDir, k);
    std::string error;
    if (!writeFramePng(picture, drawer.view(), path, options.threads, error)) return failed(error);
    bar.update(before + 1);
  }
  return 0;
}

// --missing-frames: the frames the folder lacks or holds for another view, one a line.
int printMissingFrames(const RenderRequest& request) {
  const VideoRequest& video = *request.video;
  for (const long k : video.frames ? *video.frames : allFrames(video.frameCount))
    if (!frameFault(request, k).empty()) std::printf("%ld\n", k);
  return 0;
}

// Encodes frames 0 to N-1, frame k as `frameOf` gives it (nothing, with the reason in
// `error`, when it cannot), into a file that takes the video's name only once complete.
// `scales` weigh the frames' costs for the time left.
using FrameSource =
    std::function<const FramePicture*(long k, FrameProgress& bar, std::string& error)>;

int encode(const RenderRequest& request, const std::vector<double>& scales,
           const FrameSource& frameOf) {
  const VideoRequest& video = *request.video;
  OutputFile file(video.output, OutputFile::Opening::byName);
  if (!file.error().empty()) return failed(file.error());
  std::string error;
  const std::unique_ptr<VideoEncoder> encoder =
      VideoEncoder::open(file.writePath(), video.output, encoderSettings(request), error);
  if (!encoder) return failed(video.output + ": " + error);
  FrameProgress bar(scales);
  for (long k = 0; k < video.frameCount; ++k) {
    const FramePicture* frame = frameOf(k, bar, error);
    if (!frame) return failed(error);
    if (!encoder->add(frame->bytes(), frame->stride(), error))
      return failed(video.output + ": " + error);
    bar.update(static_cast<double>(k + 1));
  }
  if (!encoder->finish(error)) return failed(video.output + ": " + error);
  if (!file.commit()) return failed(file.error());
  return 0;
}

int drawAndEncode(const RenderRequest& request, ComputeOptions options, RunFigures& figures) {
  FrameDrawer drawer(request, options);
  return encode(request, frameScales(request, allFrames(request.video->frameCount)),
                [&](long k, FrameProgress& bar, std::string&) {
                  const double before = static_cast<double>(k);
                  return &drawer.draw(
                      k, [&](double done) { bar.update(before + done); }, figures);
                });
}

// "--frames-dir: frame 3 of 60, 'DIR/frame-000003.png',", to be followed by what is wrong.
std::string frameNamed(const RenderRequest& request, long k) {
  const VideoRequest& video = *request.video;
  return "--frames-dir: frame " + std::to_string(k) + " of " + std::to_string(video.frameCount) +
         ", '" + framePath(video.framesDir, k) + "',";
}

// The frame as the folder holds it, checked again to be this video's frame k: the folder may
// change while the video is encoded.
bool readFrame(const RenderRequest& request, long k, FramePicture& frame, std::string& error) {
  const std::string path = framePath(request.video->framesDir, k);
  std::string view;
  if (!readFramePng(path, frame, view, error)) return false;
  const std::string difference = viewDifference(view, frameView(request, k));
  if (difference.empty()) return true;
  error = frameNamed(request, k) + " keeps another view: its " + difference;
  return false;
}

int encodeFolder(const RenderRequest& request, RunFigures& figures) {
  const VideoRequest& video = *request.video;
  // Every frame is checked before the video is begun: a foreign or missing one is named at
  // once, not after an hour of encoding.
  for (long k = 0; k < video.frameCount; ++k) {
    if (const std::string fault = frameFault(request, k); !fault.empty())
      return failed(frameNamed(request, k) + " " + fault);
  }
  const PosterSize size = request.view.size;
  FramePicture frame(size.width, size.height);
  // Reading a frame costs the same whatever its magnification.
  const std::vector<double> flat(static_cast<std::size_t>(video.frameCount), 0.0);
  return encode(request, flat,
                [&](long k, FrameProgress&, std::string& error) -> const FramePicture* {
                  if (!readFrame(request, k, frame, error)) return nullptr;
                  ++figures.frames;
                  return &frame;
                });
}

}  // namespace

int runVideo(const RenderRequest& request, ComputeOptions options) {
  const VideoRequest& video = *request.video;
  if (video.countOnly) {
    std::printf("%ld\n", video.frameCount);
    return 0;
  }
  if (video.missingOnly) return printMissingFrames(request);
  RunFigures figures;
  int status = 0;
  if (video.frames)
    status = renderFrames(request, options, figures);
  else if (!video.framesDir.empty())
    status = encodeFolder(request, figures);
  else
    status = drawAndEncode(request, options, figures);
  if (status == 0 && request.stats) figures.print();
  return status;
}

}  // namespace orvane::render
