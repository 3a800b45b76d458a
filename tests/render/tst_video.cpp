// Zoom videos from orvane-render as a user runs it: the video read back with FFmpeg's own
// decoder, frames rendered in pieces against one run, and a frame against its own poster.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "render/view_chunk.h"

namespace orvane {
namespace {

struct Finished {
  int status;  // -1 for a crash or a hang
  QString output;
  QString errors;
};

Finished render(const QTemporaryDir& dir, const QString& arguments) {
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QStringLiteral(ORVANE_RENDER_EXECUTABLE), arguments.split(' ', Qt::SkipEmptyParts));
  const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
  return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString frameName(int k) {
  return QStringLiteral("frame-%1.png").arg(k, 6, 10, QLatin1Char('0'));
}

// The stream as FFmpeg reads it back, every frame decoded and converted to RGB.
struct DecodedVideo {
  std::string codec;
  int width = 0, height = 0;
  AVRational frameRate{0, 1};
  std::vector<QImage> frames;
};

DecodedVideo decode(const QString& path) {
  DecodedVideo video;
  AVFormatContext* container = nullptr;
  if (avformat_open_input(&container, path.toLocal8Bit().constData(), nullptr, nullptr) < 0)
    return video;
  avformat_find_stream_info(container, nullptr);
  const AVCodec* codec = nullptr;
  const int index = av_find_best_stream(container, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (index >= 0) {
    AVStream* stream = container->streams[index];
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    video.codec = codec->name;
    video.width = decoder->width;
    video.height = decoder->height;
    video.frameRate = stream->avg_frame_rate;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
      while (avcodec_receive_frame(decoder, frame) == 0) {
        QImage rgb(frame->width, frame->height, QImage::Format_RGB32);
        SwsContext* scaler = sws_getContext(
            frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), rgb.width(),
            rgb.height(), AV_PIX_FMT_BGR0, SWS_BICUBIC, nullptr, nullptr, nullptr);
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
        uint8_t* planes[] = {rgb.bits()};
        const int strides[] = {static_cast<int>(rgb.bytesPerLine())};
        sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
        sws_freeContext(scaler);
        video.frames.push_back(rgb);
      }
    };
    while (av_read_frame(container, packet) >= 0) {
      if (packet->stream_index == index) avcodec_send_packet(decoder, packet);
      av_packet_unref(packet);
      receive();
    }
    avcodec_send_packet(decoder, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
  }
  avformat_close_input(&container);
  return video;
}

// Brightness, which the codecs keep at full resolution (colour only at half).
double luma(QRgb p) {
  return 0.2126 * qRed(p) + 0.7152 * qGreen(p) + 0.0722 * qBlue(p);
}

double meanLumaDifference(const QImage& a, const QImage& b) {
  double total = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      total += std::fabs(luma(a.pixel(x, y)) - luma(b.pixel(x, y)));
  return total / (a.width() * a.height());
}

// The mean of each channel, which colour at half resolution keeps.
std::array<double, 3> channelMeans(const QImage& image) {
  std::array<double, 3> sums{};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      sums[0] += qRed(p);
      sums[1] += qGreen(p);
      sums[2] += qBlue(p);
    }
  }
  for (double& sum : sums) sum /= image.width() * image.height();
  return sums;
}

struct Container {
  const char* name;
  const char* extension;
  const char* options;
  const char* codec;  // FFmpeg's decoder name
};

class VideoFile : public testing::TestWithParam<Container> {};

// The video decodes to round(seconds x fps) frames of the asked size and rate, and they are the
// frames drawn as posters: a frame of the wrong number, order or colours would differ far more
// than the lossy encoding does. The same video encoded from those posters holds the same.
TEST_P(VideoFile, DecodesToTheFramesDrawn) {
  const Container& row = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Grey, smooth and coarse: colour at half resolution and fine detail would cost the lossy
  // encoding more than the test can tell from a wrong frame.
  const QString view = QStringLiteral(
                           "--center -0.75,0.1 --zoom 8 --zoom-from 0.5 --depth 10 "
                           "--colour-mode grey --size 64x48 --seconds 0.7 --fps 10 "
                           "--quality 8 %1")
                           .arg(row.options);
  const QString out = QStringLiteral("zoom.%1").arg(row.extension);
  ASSERT_EQ(render(dir, view + " --video " + out).status, 0);
  ASSERT_EQ(render(dir, view + " --frames 0-6 --frames-dir frames").status, 0);
  ASSERT_EQ(render(dir, view + " --frames-dir frames --video again." + row.extension).status, 0);
  for (const QString& file : {out, "again." + QString(row.extension)}) {
    SCOPED_TRACE(file.toStdString());
    const DecodedVideo video = decode(dir.filePath(file));
    EXPECT_EQ(video.codec, row.codec);
    EXPECT_EQ(video.width, 64);
    EXPECT_EQ(video.height, 48);
    EXPECT_EQ(av_cmp_q(video.frameRate, AVRational{10, 1}), 0)
        << video.frameRate.num << "/" << video.frameRate.den;
    ASSERT_EQ(video.frames.size(), 7u);  // round(0.7 x 10)
    std::vector<QImage> posters;
    for (int k = 0; k < 7; ++k) posters.emplace_back(dir.filePath("frames/" + frameName(k)));
    for (int k = 0; k < 7; ++k) {
      const double own = meanLumaDifference(video.frames[k], posters[k]);
      EXPECT_LT(own, 3) << "frame " << k;
      // Far from the frames beside it, so a frame one off would show.
      for (int other : {k - 1, k + 1}) {
        if (other >= 0 && other < 7) {
          EXPECT_GT(meanLumaDifference(video.frames[k], posters[other]), 2 * own + 1)
              << "frame " << k;
        }
      }
      const std::array<double, 3> decoded = channelMeans(video.frames[k]);
      const std::array<double, 3> drawn = channelMeans(posters[k]);
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(decoded[c], drawn[c], 3) << "frame " << k;
    }
  }
  EXPECT_TRUE(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

const Container kContainers[] = {{"mp4", "mp4", "", "h264"},
                                 {"webm", "webm", "", "vp9"},
                                 {"mkv", "mkv", "--codec vp9", "vp9"},
                                 // In colour, so that red and blue cannot trade places.
                                 {"mkvInColour", "mkv", "--colour-mode rgb", "h264"}};

INSTANTIATE_TEST_SUITE_P(Rows, VideoFile, testing::ValuesIn(kContainers),
                         [](const auto& row) { return std::string(row.param.name); });

// A deep zoom in which neighbouring frames often share a precision, and so a reference orbit.
const QString kDeepZoom = QStringLiteral(
    "--center -0.7436438870371587,0.13182590420531196 --zoom-from 1e14 --zoom 1e15 --depth 300 "
    "--size 64x48 --seconds 0.8 --fps 10");

// Frames drawn in interleaved runs, where each run reuses orbits the other computes, equal the
// frames of one run byte for byte; and a deep frame drawn again from its own file (--from) as
// a poster is that frame.
TEST(VideoFrames, SplitRunsEqualOneRunAndAFrameItsPoster) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(render(dir, kDeepZoom + " --frames 0-7 --frames-dir whole").status, 0);
  ASSERT_EQ(render(dir, kDeepZoom + " --frames 0/3 --frames-dir split").status, 0);
  ASSERT_EQ(render(dir, kDeepZoom + " --frames 1/3,2/3 --frames-dir split").status, 0);
  EXPECT_EQ(QDir(dir.filePath("whole")).entryList(QDir::Files | QDir::Hidden).size(), 8);
  for (int k = 0; k < 8; ++k) {
    const QByteArray whole = bytesOf(dir.filePath("whole/" + frameName(k)));
    EXPECT_FALSE(whole.isEmpty());
    EXPECT_TRUE(whole == bytesOf(dir.filePath("split/" + frameName(k)))) << "frame " << k;
  }
  const Finished poster = render(dir, "--stats --from whole/" + frameName(5) + " -o poster.png");
  ASSERT_EQ(poster.status, 0);
  EXPECT_TRUE(poster.output.contains("mode deep"));
  const QImage frame(dir.filePath("whole/" + frameName(5)));
  const QImage drawn(dir.filePath("poster.png"));
  EXPECT_EQ(drawn.text(kViewChunkKey).toStdString(), frame.text(kViewChunkKey).toStdString());
  EXPECT_TRUE(drawn == frame);
}

// Encoding a folder refuses, naming the first missing frame, and writes no video; so does a
// folder that holds a frame of another view, naming the option that differs.
TEST(VideoFrames, EncodingRefusesAnIncompleteOrForeignFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString view = QStringLiteral("--depth 16 --size 32x24 --seconds 0.5 --fps 10");
  ASSERT_EQ(render(dir, view + " --frames 0-1,3-4 --frames-dir f").status, 0);
  const Finished missing = render(dir, view + " --frames-dir f --video v.mp4");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.errors.contains("frame-000002.png")) << missing.errors.toStdString();
  const std::pair<const char*, const char*> foreign[] = {
      {"--zoom 2", "--zoom is"},
      {"--center 0.001,1", "--center is 0.001,1"},
      {"--formula julia --colour-mode mono", "--formula is julia"}};
  for (const auto& [other, named] : foreign) {
    ASSERT_EQ(render(dir, view + " " + other + " --frames 2 --frames-dir f").status, 0);
    const Finished mixed = render(dir, view + " --frames-dir f --video v.mp4");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.errors.count('\n'), 1) << mixed.errors.toStdString();
    EXPECT_TRUE(mixed.errors.contains("frame-000002.png") && mixed.errors.contains(named))
        << mixed.errors.toStdString();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// --missing-frames names the frames a folder lacks or holds for another view, and --resume
// draws only those: the folder then equals one run's.
TEST(VideoFrames, ResumeDrawsOnlyWhatIsMissingOrForeign) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString view = QStringLiteral("--depth 40 --size 32x24 --seconds 0.6 --fps 10");
  ASSERT_EQ(render(dir, view + " --frames 0-5 --frames-dir whole").status, 0);
  ASSERT_EQ(render(dir, view + " --frames 0/2 --frames-dir f").status, 0);
  ASSERT_EQ(render(dir, view + " --rotation 5 --frames 2 --frames-dir f").status, 0);
  const Finished listed = render(dir, view + " --frames-dir f --missing-frames");
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.output.toStdString(), "1\n2\n3\n5\n");
  const Finished resumed = render(dir, view + " --frames 0-5 --frames-dir f --resume");
  EXPECT_EQ(resumed.status, 0);
  EXPECT_TRUE(resumed.errors.contains("2 of 6 frames are already in"))
      << resumed.errors.toStdString();
  for (int k = 0; k < 6; ++k) {
    EXPECT_TRUE(bytesOf(dir.filePath("whole/" + frameName(k))) ==
                bytesOf(dir.filePath("f/" + frameName(k))))
        << "frame " << k;
  }
}

}  // namespace
}  // namespace orvane
