// PNG files as the renderer writes them, decoded by Qt's reader as the reference; their text
// chunks read back, from Qt's own files too; and what a failed write leaves behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
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
    PngWriter writer(pathIn(dir, "out.png"), picture.width, picture.height, picture.threads);
    writer.addText("OrvaneView", "--zoom=2 --size=3x4");
    writeRows(writer, picture.width, picture.height);
    ASSERT_TRUE(writer.finish()) << writer.error();
  }
  EXPECT_EQ(differingPixels(dir.filePath("out.png"), picture.width, picture.height), 0);
  EXPECT_EQ(QImage(dir.filePath("out.png")).text("OrvaneView"), "--zoom=2 --size=3x4");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.png"});
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
    PngWriter writer(path, 2000, 1500, 2);
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

// A write that fails leaves nothing under the final name and no temporary file; a file that
// was there keeps its content.
TEST(FailedWrite, LeavesNothingBehind) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = pathIn(dir, "out.png");
  {
    PngWriter writer(path, 300, 2000);
    writeRows(writer, 300, 1500);  // rows missing
    EXPECT_FALSE(writer.finish());
    EXPECT_NE(writer.error().find("1500 of 2000"), std::string::npos) << writer.error();
  }
  {
    PngWriter abandoned(path, 300, 2000);
    writeRows(abandoned, 300, 2000);
  }
  {
    PngWriter writer(path, 4, 4);
    const std::vector<Colour> tooShort(3);
    writer.row(0, tooShort);
    EXPECT_FALSE(writer.finish());
  }
  {
    PngWriter writer(path, 4, 4);
    writer.addText("", "a key is needed");
    writeRows(writer, 4, 4);
    EXPECT_FALSE(writer.finish());
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

  QFile before(dir.filePath("out.png"));
  ASSERT_TRUE(before.open(QIODevice::WriteOnly));
  before.write("kept");
  before.close();
  {
    PngWriter writer(path, 4, 4);
    writeRows(writer, 4, 3);
    EXPECT_FALSE(writer.finish());
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.png"});
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  EXPECT_EQ(before.readAll(), "kept");
}

// A place where no file can be made is reported at once, before any row is computed.
TEST(FailedWrite, MissingFolderIsReportedAtOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  PngWriter writer(pathIn(dir, "missing/out.png"), 4, 4);
  EXPECT_NE(writer.error().find("missing/out.png"), std::string::npos) << writer.error();
  writeRows(writer, 4, 4);
  EXPECT_FALSE(writer.finish());
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// A device is written in place, and a symbolic link is written through: the link stays, the
// file it names (made if missing) gets the picture.
TEST(Places, DevicesAndLinksStayWhatTheyAre) {
  {
    PngWriter writer("/dev/null", 300, 2000);
    writeRows(writer, 300, 2000);
    EXPECT_TRUE(writer.finish()) << writer.error();
  }
  EXPECT_TRUE(QFileInfo("/dev/null").exists() && !QFileInfo("/dev/null").isFile());

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"existing.png", "missing.png"}) {
    if (name == std::string("existing.png")) {
      QFile existing(dir.filePath(name));
      ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(name, dir.filePath("link.png")));
    {
      PngWriter writer(pathIn(dir, "link.png"), 30, 20);
      writeRows(writer, 30, 20);
      ASSERT_TRUE(writer.finish()) << writer.error();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("link.png")).isSymLink()) << name;
    EXPECT_EQ(differingPixels(dir.filePath(name), 30, 20), 0) << name;
    ASSERT_TRUE(QFile::remove(dir.filePath("link.png")));
  }
}

// Bytes that are not a whole PNG are refused with a reason, never read past.
TEST(TextChunks, DamagedFilesAreRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = pathIn(dir, "good.png");
  {
    PngWriter writer(path, 64, 64);
    writer.addText("OrvaneView", "--zoom=2");
    writeRows(writer, 64, 64);
    ASSERT_TRUE(writer.finish());
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
