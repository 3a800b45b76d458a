// The command line of orvane-render, read into a request.
#include "render/command_line.h"

#include <sys/stat.h>
#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>

#include "render/frame_plan.h"
#include "render/verification.h"
#include "render/view_chunk.h"
#include "render/view_options.h"
#include "render/zoom_at.h"

namespace orvane {

namespace {

constexpr char kDescription[] =
    "Renders one view of Orvane headless and writes it as a PNG (400 x 300, or any size\n"
    "with --size), which keeps the view it was drawn from (see --from).\n"
    "Without options it draws the picture that Start draws right after launch.\n"
    "\n"
    "Geometry, as in the window: at --rotation 0 the real axis runs down the picture and the\n"
    "imaginary axis to the left, a mirror image of the usual view; --rotation 90 puts the real\n"
    "axis across, growing to the left, with the imaginary axis growing upward, and --rotation\n"
    "-90 the real axis growing to the right, the imaginary axis downward. A pixel is\n"
    "1 / (100 x zoom) wide at 400 x 300 (4 / (width x zoom) at any 4:3 size). Pixels are\n"
    "counted from 0,0 at the top left, as --at takes them.\n"
    "\n"
    "With --video it draws a zoom video instead: from --zoom-from to the view the other\n"
    "options give, about the same centre, the magnification growing by the same factor\n"
    "every frame. --frames and --frames-dir split that work over several runs or machines.";

// The options that say how and where to draw, beside the view's own.
void addProgramOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {"threads", "Threads to compute with, 1 to 1024 (default: all cores).", "T"},
      {"scalar", "Compute with the plain scalar loop instead of the SIMD lanes."},
      {"stats",
       "Print iterations, pixels, seconds, iterations per second, the steps per pixel and the "
       "pixels that reached the depth."},
      {"verify",
       "After drawing, iterate N pixels spread over the picture again directly in MPFR at twice "
       "the precision, and print how many are identical, 0 to 1000000 (default 0: none).",
       "N"},
      {"from",
       "Draw the view kept in a PNG that orvane-render wrote; the other options change single "
       "values of it.",
       "FILE.png"},
      {"at",
       "With --from: centre the view on pixel X,Y of that picture (from 0,0 at the top left), "
       "its plane point worked out exactly; with --info: print that point.",
       "X,Y"},
      {"zoom-by", "Multiply the magnification, kept or given, by F above 0 (below 1 zooms out).",
       "F"},
      {"info",
       "Print the view kept in a PNG as the command line that draws it again, its size and "
       "extent in the plane, and the mode it is drawn in; write nothing.",
       "FILE.png"},
      {"o", "The PNG file to write (required without --video, --frames or --count-frames).",
       "FILE.png"},
      {"video",
       "Write a zoom video: .mp4 (H.264), .webm (VP9) or .mkv (either, see --codec). With "
       "--frames-dir, encode the frames rendered there instead.",
       "OUT"},
      {"zoom-from",
       "The magnification of a video's first frame, of the sign of --zoom (default 1).", "Z0"},
      {"seconds", "A video's length in seconds (required for a video).", "S"},
      {"fps", "A video's frames per second, 1 to 1000 (default 30).", "F"},
      {"codec", "h264 or vp9, for an .mkv video (default h264).", "name"},
      {"quality",
       "Constant quality, lower is better: H.264 CRF 0 to 51 (default 20), VP9 CRF 0 to 63 "
       "(default 31).",
       "Q"},
      {"frames",
       "Render only these frames of the video (from 0) as PNGs in --frames-dir, each keeping "
       "its view: A-B, a lone N, K/T for every T-th frame from K, or a list of them such as "
       "0-9,20,3/16.",
       "A-B"},
      {"frames-dir", "The folder of frame-000000.png, frame-000001.png, ...", "DIR"},
      {"resume",
       "With --frames: skip the frames that --frames-dir already holds with the right view."},
      {"count-frames", "Print the video's frame count, round(seconds x fps), and stop."},
      {"missing-frames",
       "Print the frames of the video (or of --frames) that --frames-dir lacks or holds for "
       "another view, one a line, and stop."},
  });
}

void addOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  for (const ViewOption& option : viewOptions()) {
    parser.addOption({QString::fromLatin1(option.name), QString::fromUtf8(option.help),
                      QString::fromLatin1(option.valueName)});
  }
  addProgramOptions(parser);
  parser.addHelpOption();
}

// The option's value as given, when it was given.
std::optional<OptionValue> valueOf(const QCommandLineParser& parser, const char* name) {
  if (!parser.isSet(name)) return std::nullopt;
  return OptionValue(name, parser.value(name).toStdString());
}

bool endsWithPng(const std::string& name) {
  return QString::fromStdString(name).endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

// A device or a pipe that exists, such as /dev/stdout, is written directly, whatever its name.
bool isStream(const std::string& name) {
  struct stat status {};
  return stat(name.c_str(), &status) == 0 && (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
}

// A file name that names a folder could never be written.
void refuseFolder(const OptionValue& o) {
  if (QFileInfo(QString::fromStdString(o.text())).isDir())
    throw OptionError{o.flag() + ": " + o.text() + " is a folder; name a file to write"};
}

// The video's file, and the codec its container takes or --codec asks for.
void readEncoding(const QCommandLineParser& parser, VideoRequest& video) {
  // Frames, or their count, may be for a video of either codec.
  VideoContainer container = VideoContainer::kMkv;
  if (const auto o = valueOf(parser, "video")) {
    const std::optional<VideoContainer> named = containerOf(o->text());
    if (!named) o->fail("a file name ending in .mp4, .webm or .mkv");
    refuseFolder(*o);
    container = *named;
    video.output = o->text();
  }
  video.codec = defaultCodec(container);
  if (const auto o = valueOf(parser, "codec")) {
    static constexpr std::pair<const char*, VideoCodec> kCodecs[] = {
        {traitsOf(VideoCodec::kH264).name, VideoCodec::kH264},
        {traitsOf(VideoCodec::kVp9).name, VideoCodec::kVp9}};
    video.codec = o->choice(kCodecs, "h264 or vp9");
    if (!takes(container, video.codec))
      throw OptionError{"--codec: an .mp4 video is h264 and a .webm video vp9; .mkv takes either"};
  }
  const VideoCodecTraits codec = traitsOf(video.codec);
  video.quality = codec.defaultQuality;
  if (const auto o = valueOf(parser, "quality")) {
    video.quality = o->whole(0, codec.worstQuality,
                             "a whole number from 0 to " + std::to_string(codec.worstQuality));
  }
}

// The frames: how many, at what magnifications, and which this run renders where.
void readFrames(const QCommandLineParser& parser, VideoRequest& video) {
  if (const auto o = valueOf(parser, "zoom-from")) {
    constexpr char kExpected[] = "a number";
    video.zoomFrom = o->number(kExpected);
    if (!deep::zoomInRange(video.zoomFrom)) o->fail(kExpected);
  }
  if (const auto o = valueOf(parser, "fps"))
    video.fps = o->whole(1, 1000, "a whole number from 1 to 1000");
  const auto seconds = valueOf(parser, "seconds");
  if (!seconds) throw OptionError{"--seconds: a video's length is required"};
  const std::optional<double> length = readReal(seconds->text());
  if (!length || *length <= 0) seconds->fail("a number of seconds above 0");
  const std::optional<long> count = render::frameCount(*length, video.fps);
  if (!count) {
    throw OptionError{"--seconds: " + seconds->text() + " s at " + std::to_string(video.fps) +
                      " frames per second is not 2 to " + std::to_string(render::kMaxFrames) +
                      " frames"};
  }
  video.frameCount = *count;
  if (const auto o = valueOf(parser, "frames-dir")) {
    if (o->text().empty()) o->fail("a folder name");
    video.framesDir = o->text();
  }
  if (const auto o = valueOf(parser, "frames")) {
    video.frames = render::readFrameSelection(o->text(), video.frameCount);
    if (!video.frames) {
      o->fail("frames from 0 to " + std::to_string(video.frameCount - 1) +
              ": A-B, N, K/T or a list of them");
    }
    if (!video.output.empty()) throw OptionError{"--frames: renders frames only, not with --video"};
    if (video.framesDir.empty()) throw OptionError{"--frames: needs --frames-dir"};
  } else if (!video.framesDir.empty() && video.output.empty() && !video.countOnly &&
             !video.missingOnly) {
    throw OptionError{"--frames-dir: needs --frames A-B to render, or --video OUT to encode"};
  }
  if (video.missingOnly && video.framesDir.empty())
    throw OptionError{"--missing-frames: needs --frames-dir, the folder to look in"};
  if (video.resume && !video.frames)
    throw OptionError{"--resume: skips frames that --frames renders"};
}

// The video options, read only when a video, frames of one, or their count is asked for: the
// same options serve all three, so that scripts can pass one set to every step.
std::optional<VideoRequest> readVideoRequest(const QCommandLineParser& parser) {
  VideoRequest video;
  video.countOnly = parser.isSet("count-frames");
  video.missingOnly = parser.isSet("missing-frames");
  video.resume = parser.isSet("resume");
  if (!video.countOnly && !video.missingOnly && !parser.isSet("frames") && !parser.isSet("video")) {
    for (const char* name :
         {"frames-dir", "zoom-from", "seconds", "fps", "codec", "quality", "resume"}) {
      if (parser.isSet(name))
        throw OptionError{"--" + std::string(name) +
                          ": only with --video, --frames, --count-frames or --missing-frames"};
    }
    return std::nullopt;
  }
  readEncoding(parser, video);
  readFrames(parser, video);
  return video;
}

// What a video asks of the view: checked once the kept view and the command line are read.
void checkVideo(const VideoRequest& video, const ViewRequest& view) {
  if (view.precision == deep::Precision::kDouble && !deep::fitsDouble(video.zoomFrom))
    OptionValue("zoom-from", video.zoomFrom.text()).fail("a number in the range of a double");
  if (video.zoomFrom.isNegative() != view.zoom.isNegative())
    throw OptionError{"--zoom-from: a zoom keeps the sign of the magnification, and --zoom is " +
                      view.zoom.text()};
  // Colour at half resolution (4:2:0), which every player takes, needs even sides.
  if (view.size.width % 2 != 0 || view.size.height % 2 != 0) {
    throw OptionError{"--size: a video's sides must be even, got " +
                      std::to_string(view.size.width) + "x" + std::to_string(view.size.height)};
  }
}

void readOutput(const QCommandLineParser& parser, RenderRequest& request) {
  const bool writesElsewhere =
      request.video && (!request.video->output.empty() || request.video->frames);
  if (const auto o = valueOf(parser, "o")) {
    if (!endsWithPng(o->text()) && !isStream(o->text())) o->fail("a file name ending in .png");
    refuseFolder(*o);
    if (writesElsewhere)
      throw OptionError{"-o: a video goes to --video, its frames to --frames-dir"};
    request.output = o->text();
  } else if (!request.video) {
    throw OptionError{"-o: the PNG file to write is required"};
  }
}

// The view kept in the picture `option` names.
ViewRequest keptView(const OptionValue& option) {
  ViewRequest view;
  std::string error;
  if (!readKeptView(option.flag(), option.text(), view, error)) throw OptionError{error};
  return view;
}

// --zoom-by and --at, once the view options are read: the magnification first, since the
// centre's digits follow it.
void zoomAtPixel(const QCommandLineParser& parser, const std::optional<ViewRequest>& picture,
                 ViewRequest& view) {
  if (const auto o = valueOf(parser, "zoom-by")) view.zoom = zoomedBy(view.zoom, *o);
  const auto at = valueOf(parser, "at");
  if (!at) return;
  if (!picture) throw OptionError{"--at: names a pixel of the picture that --from reads"};
  if (parser.isSet("center")) throw OptionError{"--at: picks the centre, so not with --center"};
  view.centre = pixelCentre(*picture, readPicturePixel(*at, picture->size), view.zoom);
}

RenderRequest readRequest(const QCommandLineParser& parser) {
  RenderRequest request;
  std::optional<ViewRequest> picture;  // as kept, before the options change it
  if (const auto o = valueOf(parser, "from")) {
    request.from = o->text();
    picture = keptView(*o);
    request.view = *picture;
  }
  for (const ViewOption& option : viewOptions()) {
    if (const auto o = valueOf(parser, option.name)) option.read(*o, request.view);
  }
  zoomAtPixel(parser, picture, request.view);
  if (const auto o = valueOf(parser, "threads"))
    request.threads = o->whole(1, 1024, "a whole number from 1 to 1024");
  request.scalar = parser.isSet("scalar");
  request.stats = parser.isSet("stats");
  if (const auto o = valueOf(parser, "verify")) {
    request.verify = static_cast<int>(
        o->wholeList(1, 0, kMaxVerifiedPixels, "a whole number from 0 to 1000000").front());
  }
  if (request.verify > 0 && request.view.supersample.value_or(1) > 1)
    throw OptionError{"--verify: iterates single samples, so not with --supersample above 1"};
  request.video = readVideoRequest(parser);
  if (request.video && request.verify > 0)
    throw OptionError{"--verify: checks a picture, not a video or its frames"};
  checkView(request.view);
  if (request.video) checkVideo(*request.video, request.view);
  readOutput(parser, request);
  return request;
}

// --info takes --at and nothing else: it draws nothing.
InfoRequest readInfoRequest(const QCommandLineParser& parser) {
  for (const QString& name : parser.optionNames()) {
    if (name != QStringLiteral("info") && name != QStringLiteral("at")) {
      throw OptionError{"--info: prints a picture's view and takes only --at, not " +
                        OptionValue(name.toStdString(), "").flag()};
    }
  }
  const OptionValue file = *valueOf(parser, "info");
  InfoRequest info{file.text(), keptView(file), std::nullopt};
  if (const auto at = valueOf(parser, "at")) info.at = readPicturePixel(*at, info.picture.size);
  return info;
}

}  // namespace

ParsedCommandLine parseRenderCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  addOptions(parser);
  ParsedCommandLine parsed;
  if (!parser.parse(arguments)) {
    parsed.error = parser.errorText().toStdString();
    return parsed;
  }
  // The renderer has no options of Qt's own, so --help-all, which --help names, shows the same.
  if (parser.isSet("help") || parser.isSet("help-all")) {
    parsed.help = parser.helpText().toStdString();
    return parsed;
  }
  if (!parser.positionalArguments().isEmpty()) {
    parsed.error =
        "unexpected argument '" + parser.positionalArguments().first().toStdString() + "'";
    return parsed;
  }
  try {
    if (parser.isSet("info")) {
      parsed.info = readInfoRequest(parser);
    } else {
      parsed.request = readRequest(parser);
    }
  } catch (const OptionError& error) {
    parsed.error = error.text;
  }
  return parsed;
}

}  // namespace orvane
