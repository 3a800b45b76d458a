// PNG files as the renderer writes them, decoded by Qt's reader as the reference; their text
// chunks read back, from Qt's own files too; and the reasons a write fails.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "png/png_file.h"
#include "png/png_text.h"

namespace orvane {
namespace {

// Runs that repeat the row above, as fractal pictures have, beside pixels that repeat nothing.
Colour colourAt(int x, int y) {
  if ((x / 7 + y / 5) % 3 != 0) return packColour(x / 9 % 256, y / 4 % 256, 200);
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y);
  h ^= h >> 15;
  h *= 0x85EBCA77u;
  h ^= h >> 13;
  return h & 0xFFFFFF;
}

std::string pathIn(const QTemporaryDir& dir, const char* name) {
  return QFile::encodeName(dir.filePath(name)).toStdString();
}

// A writer on a plain file of its own, closed when the writer is done: where files land is
// not the writer's business.
struct PictureFile {
  PictureFile(const std::string& path, int width, int height, int threads = 0)
      : file(std::fopen(path.c_str(), "wb")), writer(file, path, width, height, threads) {}
  ~PictureFile() {
    if (file) std::fclose(file);
  }
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  std::FILE* file;
  PngWriter writer;
};

// Hands the writer every row of the picture above.
void writeRows(PngWriter& writer, int width, int height) {
  std::vector<Colour> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x)] = colourAt(x, y);
    writer.row(y, row);
  }
}

// The pixels that differ from the picture above, or -1 when the file does not decode to a
// picture of that size.
long long differingPixels(const QString& path, int width, int height) {
  const QImage image = QImage(path, "png").convertToFormat(QImage::Format_RGB32);
  if (image.width() != width || image.height() != height) return -1;
  long long differing = 0;
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      const Colour c = colourAt(x, y);
      differing += line[x] != qRgb(redOf(c), greenOf(c), blueOf(c));
    }
  }
  return differing;
}

struct Picture {
  const char* name;
  int width;
  int height;
  int threads = 0;
};

class WrittenPicture : public testing::TestWithParam<Picture> {};

// Whatever its shape and however its rows fall into bands, the file decodes to exactly the
// rows given, with the text given before them.
TEST_P(WrittenPicture, DecodesToTheRowsGivenWithItsText) {
  const Picture& picture = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  {
    PictureFile file(pathIn(dir, "out.png"), picture.width, picture.height, picture.threads);
    PngWriter& writer = file.writer;
    writer.addText("OrvaneView", "--zoom=2 --size=3x4");
    writeRows(writer, picture.width, picture.height);
    ASSERT_TRUE(writer.finish()) << writer.error();
  }
  EXPECT_EQ(differingPixels(dir.filePath("out.png"), picture.width, picture.height), 0);
  EXPECT_EQ(QImage(dir.filePath("out.png")).text("OrvaneView"), "--zoom=2 --size=3x4");
}

const Picture kPictures[] = {
    {"onePixel", 1, 1},
    {"oneRow", 5003, 1},
    {"oneColumn", 1, 3001},
    // 349 rows to a band: three bands, the last one short.
    {"bandsWithShortLast", 1000, 1000},
    {"bandsWithShortLastOnOneThread", 1000, 1000, 1},
    {"rowWiderThanABand", 400001, 3},
    {"manyBandsOnThreeThreads", 1601, 1201, 3},
};

INSTANTIATE_TEST_SUITE_P(Shapes, WrittenPicture, testing::ValuesIn(kPictures),
                         [](const auto& row) { return std::string(row.param.name); });

// Text given once rows are in the file comes after them; Qt and pngTexts still read it, and
// text that is not ASCII keeps its characters.
TEST(TextChunks, LateAndNonAsciiTextsReadBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = pathIn(dir, "out.png");
  const std::string accented =
      "centre \xC3\xA0 \xE2\x88\x92"
      "0.5";
  {
    PictureFile file(path, 2000, 1500, 2);
    PngWriter& writer = file.writer;
    writer.addText("Early", accented);
    writeRows(writer, 2000, 1500);
    ASSERT_GT(writer.rowsWritten(), 0);
    writer.addText("Late", "after the picture");
    ASSERT_TRUE(writer.finish()) << writer.error();
  }
  const QImage image(dir.filePath("out.png"));
  EXPECT_EQ(image.text("Early"), QString::fromUtf8(accented.c_str()));
  EXPECT_EQ(image.text("Late"), "after the picture");
  std::string error;
  const std::optional<PngTexts> texts = pngTexts(path, error);
  ASSERT_TRUE(texts) << error;
  EXPECT_EQ(*texts, (PngTexts{{"Early", accented}, {"Late", "after the picture"}}));
}

// Pictures Qt wrote, as the renderer's files were written before: a long text compressed
// (zTXt), a short one plain (tEXt), one outside Latin-1 as UTF-8 (iTXt).
TEST(TextChunks, QtsOwnFilesReadBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string view =
      "--formula=mandelbrot --zoom=1 --center=-0.5,0 --rotation=0 --components=0,0 "
      "--depth=2048 --escape=4 --jitter=0,0 --colour-mode=rgb --size=4000x3000";
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  image.setText("OrvaneView", QString::fromStdString(view));
  image.setText("Short", "a");
  image.setText("Greek", QString::fromUtf8("\xCE\xB6\xCE\xB5\xCF\x8D\xCE\xBE"));
  ASSERT_TRUE(image.save(dir.filePath("qt.png"), "PNG"));
  std::string error;
  const std::optional<PngTexts> texts = pngTexts(pathIn(dir, "qt.png"), error);
  ASSERT_TRUE(texts) << error;
  const auto has = [&](const std::string& key, const std::string& text) {
    return std::count(texts->begin(), texts->end(), std::pair{key, text}) == 1;
  };
  EXPECT_TRUE(has("OrvaneView", view));
  EXPECT_TRUE(has("Short", "a"));
  EXPECT_TRUE(has("Greek", "\xCE\xB6\xCE\xB5\xCF\x8D\xCE\xBE"));
}

// A write that cannot be completed says why and is never reported as done.
TEST(FailedWrite, SaysWhy) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = pathIn(dir, "out.png");
  {
    PictureFile file(path, 300, 2000);
    writeRows(file.writer, 300, 1500);
    EXPECT_FALSE(file.writer.finish());
    EXPECT_NE(file.writer.error().find("1500 of 2000"), std::string::npos) << file.writer.error();
  }
  {
    PictureFile file(path, 4, 4);
    const std::vector<Colour> tooShort(3);
    file.writer.row(0, tooShort);
    EXPECT_FALSE(file.writer.finish());
    EXPECT_NE(file.writer.error().find("row 0 of 3 pixels"), std::string::npos)
        << file.writer.error();
  }
  {
    PictureFile file(path, 4, 4);
    file.writer.addText("", "a key is needed");
    writeRows(file.writer, 4, 4);
    EXPECT_FALSE(file.writer.finish());
    EXPECT_NE(file.writer.error().find("invalid key"), std::string::npos) << file.writer.error();
  }
  {
    // A small picture reaches the full disk only when the writer flushes, at the end.
    PictureFile file("/dev/full", 4, 4);
    writeRows(file.writer, 4, 4);
    EXPECT_FALSE(file.writer.finish());
    EXPECT_EQ(file.writer.error(), "cannot write '/dev/full': No space left on device");
  }
}

// A writer dropped with bands still being compressed waits for them before it goes.
TEST(FailedWrite, AbandonedWriterEndsItsWork) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const int rows : {1999, 2000}) {
    PictureFile file(pathIn(dir, "out.png"), 300, 2000, 3);
    writeRows(file.writer, 300, rows);
  }
}

// Bytes that are not a whole PNG are refused with a reason, never read past.
TEST(TextChunks, DamagedFilesAreRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = pathIn(dir, "good.png");
  {
    PictureFile file(path, 64, 64);
    file.writer.addText("OrvaneView", "--zoom=2");
    writeRows(file.writer, 64, 64);
    ASSERT_TRUE(file.writer.finish());
  }
  QFile file(dir.filePath("good.png"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray good = file.readAll();
  const qsizetype text = good.indexOf("tEXt") - 4;  // the text chunk's length field
  ASSERT_GT(text, 0);

  QByteArray wrongCrc = good;
  wrongCrc[text + 12] = 'Z';  // the key's first letter
  QByteArray hugeLength = good;
  hugeLength[text] = char(0x80);
  const QByteArray cases[] = {
      {},
      "GIF89a plain text",
      good.left(8),
      good.left(text + 10),         // cut inside the text chunk
      good.left(good.size() - 40),  // cut inside the picture data
      wrongCrc,
      hugeLength,
      good.left(8) + good.mid(text),  // no IHDR first
  };
  int index = 0;
  for (const QByteArray& bytes : cases) {
    QFile damaged(dir.filePath("damaged.png"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(bytes);
    damaged.close();
    std::string error;
    EXPECT_FALSE(pngTexts(pathIn(dir, "damaged.png"), error)) << "case " << index;
    EXPECT_FALSE(error.empty()) << "case " << index;
    ++index;
  }
}

}  // namespace
}  // namespace orvane
