// Zoom videos: the frame count, a share of the frames as PNGs, or the video itself.
#include "tools/video/make_video.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "tools/render_picture.h"
#include "tools/video/frame_files.h"
#include "tools/video/frame_plan.h"
#include "tools/video/frame_progress.h"
#include "tools/video/pending_file.h"
#include "tools/video/video_encoder.h"
#include "tools/view_chunk.h"

namespace orvane::video {

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
        size_(request.size.value_or(PosterSize{})),
        picture_(size_.width, size_.height, QImage::Format_RGB32) {}

  bool ready() const { return !picture_.isNull(); }

  // Frame k, its view attached; `progress` is told the share of it done.
  const QImage& draw(long k, const PosterProgress& progress, RunFigures& figures) {
    const VideoRequest& video = *request_.video;
    RenderRequest frame = request_;
    frame.video.reset();
    frame.zoom = frameZoom(video.zoomFrom, request_.zoom.value_or("1"), k, video.frameCount);
    const RenderedPicture rendered = renderPicture(
        frame, options_,
        [this](int y, std::span<const Colour> row) {
          auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
          for (std::size_t x = 0; x < row.size(); ++x)
            line[x] = qRgb(redOf(row[x]), greenOf(row[x]), blueOf(row[x]));
        },
        progress, &reuse_);
    attachView(picture_, rendered.view);
    ++figures.frames;
    figures.deepFrames += rendered.choice.deep;
    figures.references = reuse_.computed;
    return picture_;
  }

 private:
  const RenderRequest& request_;
  ComputeOptions options_;
  PosterSize size_;
  QImage picture_;
  ReferenceReuse reuse_;
};

EncoderSettings encoderSettings(const RenderRequest& request) {
  const VideoRequest& video = *request.video;
  const PosterSize size = request.size.value_or(PosterSize{});
  return {size.width, size.height, video.fps, video.codec, video.quality};
}

int renderFrames(const RenderRequest& request, ComputeOptions options, RunFigures& figures) {
  const VideoRequest& video = *request.video;
  if (!QDir().mkpath(QString::fromStdString(video.framesDir)))
    return failed("cannot make the folder '" + video.framesDir + "'");
  FrameDrawer drawer(request, options);
  if (!drawer.ready()) return failed("not enough memory for a frame");
  const auto [first, last] = *video.frames;
  FrameProgress bar(last - first + 1);
  for (long k = first; k <= last; ++k) {
    const double before = static_cast<double>(k - first);
    const QImage& picture = drawer.draw(
        k, [&](double done) { bar.update(before + done); }, figures);
    const std::string path = framePath(video.framesDir, k);
    if (!writeFramePng(picture, path)) return failed("cannot write '" + path + "'");
    bar.update(before + 1);
  }
  return 0;
}

int drawAndEncode(const RenderRequest& request, ComputeOptions options, RunFigures& figures) {
  const VideoRequest& video = *request.video;
  FrameDrawer drawer(request, options);
  if (!drawer.ready()) return failed("not enough memory for a frame");
  PendingFile file(video.output);
  std::string error;
  const std::unique_ptr<VideoEncoder> encoder =
      VideoEncoder::open(file.temporary(), video.output, encoderSettings(request), error);
  if (!encoder) return failed(video.output + ": " + error);
  FrameProgress bar(video.frameCount);
  for (long k = 0; k < video.frameCount; ++k) {
    const double before = static_cast<double>(k);
    const QImage& picture = drawer.draw(
        k, [&](double done) { bar.update(before + done); }, figures);
    if (!encoder->add(picture.constBits(), static_cast<int>(picture.bytesPerLine()), error))
      return failed(video.output + ": " + error);
    bar.update(before + 1);
  }
  if (!encoder->finish(error)) return failed(video.output + ": " + error);
  if (!file.commit()) return failed("cannot write '" + video.output + "'");
  return 0;
}

// The frame as the folder holds it, checked to be this video's frame k.
bool readFrame(const RenderRequest& request, long k, QImage& frame, std::string& error) {
  const VideoRequest& video = *request.video;
  const std::string path = framePath(video.framesDir, k);
  frame = QImage(QString::fromStdString(path), "PNG");
  if (frame.isNull()) {
    error = "cannot read the frame '" + path + "'";
    return false;
  }
  const PosterSize size = request.size.value_or(PosterSize{});
  if (frame.width() != size.width || frame.height() != size.height) {
    error = "the frame '" + path + "' is " + std::to_string(frame.width()) + "x" +
            std::to_string(frame.height()) + ", the video " + std::to_string(size.width) + "x" +
            std::to_string(size.height);
    return false;
  }
  // A frame of another video (other magnifications, another frame count) would pass unseen.
  const std::string zoom =
      frameZoom(video.zoomFrom, request.zoom.value_or("1"), k, video.frameCount);
  const std::string kept = frame.text(QString::fromLatin1(kViewChunkKey)).toStdString() + " ";
  if (kept.find(" --zoom=" + zoom + " ") == std::string::npos) {
    error = "the frame '" + path + "' is not frame " + std::to_string(k) +
            " of this video, whose magnification is " + zoom;
    return false;
  }
  if (frame.format() != QImage::Format_RGB32) frame = frame.convertToFormat(QImage::Format_RGB32);
  return true;
}

int encodeFolder(const RenderRequest& request, RunFigures& figures) {
  const VideoRequest& video = *request.video;
  for (long k = 0; k < video.frameCount; ++k) {
    const std::string path = framePath(video.framesDir, k);
    if (!QFileInfo::exists(QString::fromStdString(path))) {
      return failed("--frames-dir: frame " + std::to_string(k) + " of " +
                    std::to_string(video.frameCount) + " is missing: '" + path + "'");
    }
  }
  PendingFile file(video.output);
  std::string error;
  const std::unique_ptr<VideoEncoder> encoder =
      VideoEncoder::open(file.temporary(), video.output, encoderSettings(request), error);
  if (!encoder) return failed(video.output + ": " + error);
  FrameProgress bar(video.frameCount);
  QImage frame;
  for (long k = 0; k < video.frameCount; ++k) {
    if (!readFrame(request, k, frame, error)) return failed(error);
    if (!encoder->add(frame.constBits(), static_cast<int>(frame.bytesPerLine()), error))
      return failed(video.output + ": " + error);
    ++figures.frames;
    bar.update(static_cast<double>(k + 1));
  }
  if (!encoder->finish(error)) return failed(video.output + ": " + error);
  if (!file.commit()) return failed("cannot write '" + video.output + "'");
  return 0;
}

}  // namespace

int runVideo(const RenderRequest& request, ComputeOptions options) {
  const VideoRequest& video = *request.video;
  if (video.countOnly) {
    std::printf("%ld\n", video.frameCount);
    return 0;
  }
  removePendingOnInterrupt();
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

}  // namespace orvane::video
