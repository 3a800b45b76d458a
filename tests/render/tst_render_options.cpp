// orvane-render as a user runs it: the options it refuses, the view it keeps in the PNG to
// draw the picture again from the file alone, and posters of the window's view.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <utility>

#include "render/view_chunk.h"

namespace orvane {
namespace {

// Runs orvane-render in `dir` with the arguments, given as one text split at blanks; its exit
// status (-1 for a crash or a hang) and what it wrote on standard error.
std::pair<int, QString> render(const QTemporaryDir& dir, const QString& arguments) {
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QStringLiteral(ORVANE_RENDER_EXECUTABLE), arguments.split(' ', Qt::SkipEmptyParts));
  const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
  return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardError())};
}

template <class Row>
std::string rowName(const testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

struct Refusal {
  const char* name;
  const char* arguments;       // "-o out.png" is added unless the row is about the output
  const char* named;           // what the one line of error must mention
  const char* kept = nullptr;  // when given, in.png is written first with this view text
};

class RefusedOption : public testing::TestWithParam<Refusal> {};

// A refused command line ends with status 2 and one line naming the option, and writes
// nothing.
TEST_P(RefusedOption, EndsWithStatusTwoAndOneLineNamingIt) {
  const Refusal& row = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  if (row.kept) {
    QImage plain(4, 3, QImage::Format_RGB32);
    plain.fill(Qt::white);
    if (*row.kept) plain.setText(kViewChunkKey, row.kept);
    ASSERT_TRUE(plain.save(dir.filePath("in.png")));
  }
  const auto [status, errors] =
      render(dir, row.arguments + QString(row.named == QStringLiteral("-o") ? "" : " -o out.png"));
  EXPECT_EQ(status, 2);
  EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
  EXPECT_TRUE(errors.contains(row.named)) << errors.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("out.png")));
}

const Refusal kRefusals[] = {
    {"outputMissing", "--depth 16", "-o"},
    {"outputEmpty", "-o=", "-o"},
    {"depthZero", "--depth 0", "--depth"},
    {"depthAbove16Bits", "--depth 32768", "--depth"},
    {"depthFraction", "--depth 16.5", "--depth"},
    {"escapeZero", "--escape 0", "--escape"},
    {"rotationAbove16Bits", "--rotation 32768", "--rotation"},
    {"gridOne", "--grid 1", "--grid"},
    {"gridAboveLargest", "--grid 33", "--grid"},
    {"gridWord", "--grid lines", "--grid"},
    {"zoomNotANumber", "--zoom nan", "--zoom"},
    {"zoomInfinite", "--zoom inf", "--zoom"},
    {"zoomOverflowsDouble", "--zoom 1e400 --precision double", "--zoom"},
    {"zoomBeyondAnyView", "--zoom 1e99999999999", "--zoom"},
    {"centreBeyondAnyView", "--center 1e99999999999,0", "--center"},
    {"zoomEmpty", "--zoom=", "--zoom"},
    {"zoomDecimalComma", "--zoom 1,5", "--zoom"},
    {"centreOneNumber", "--center 1", "--center"},
    {"centreThreeNumbers", "--center 1,2,3", "--center"},
    {"centreTrailingText", "--center 1,2x", "--center"},
    {"componentsInfinite", "--components 0,inf", "--components"},
    {"jitterNegative", "--jitter -1,2", "--jitter"},
    {"jitterAboveLargest", "--jitter 1,101", "--jitter"},
    {"offsetsTwo", "--offsets 1,2", "--offsets"},
    {"offsetsAbove16Bits", "--offsets 1,2,32768", "--offsets"},
    {"innerAboveLargest", "--inner 11", "--inner"},
    {"outerNegative", "--outer -1", "--outer"},
    {"colourModeUnknown", "--colour-mode blue", "--colour-mode"},
    {"formulaUnknown", "--formula x", "--formula"},
    {"threadsZero", "--threads 0", "--threads"},
    {"sizeZero", "--size 0x300", "--size"},
    {"sizeAboveLargest", "--size 16385x2", "--size"},
    {"sizeOneSide", "--size 400", "--size"},
    {"unknownOption", "--colour rgb", "colour"},
    {"strayArgument", "picture.png", "picture.png"},
    {"fromMissingFile", "--from missing.png", "--from"},
    {"fromWithoutView", "--from in.png", "carries no Orvane view", ""},
    {"fromBadValue", "--from in.png", "damaged", "--depth=banana"},
    // A kept view may not send the picture elsewhere.
    {"fromKeptOutput", "--from in.png", "damaged", "--zoom=2 -o=/tmp/x.png"},
    {"fromWords", "--from in.png", "damaged", "rm -rf /"},
    // Zoom videos: refused before any frame is drawn.
    {"videoOddSize", "--video v.mp4 --seconds 1 --size 64x47", "--size"},
    {"videoOneFrame", "--count-frames --seconds 0.016", "--seconds"},
    {"videoWithoutSeconds", "--video v.mp4", "--seconds"},
    {"videoUnknownContainer", "--video v.avi --seconds 1", "--video"},
    {"videoCodecNotInContainer", "--video v.mp4 --codec vp9 --seconds 1", "--codec"},
    {"videoQualityAboveRange", "--video v.mp4 --seconds 1 --quality 52", "--quality"},
    {"videoZoomChangesSign", "--count-frames --seconds 1 --zoom -4", "--zoom-from"},
    {"videoOptionAlone", "--seconds 1", "--seconds"},
    {"framesPastTheLast", "--frames 25-30 --frames-dir f --seconds 1", "--frames"},
    {"framesWithoutFolder", "--frames 0-3 --seconds 1", "--frames-dir"},
};

INSTANTIATE_TEST_SUITE_P(Rows, RefusedOption, testing::ValuesIn(kRefusals), rowName<Refusal>);

struct RoundTrip {
  const char* name;
  const char* view;
  const char* changes;  // given with --from; they win over the kept view
};

class KeptView : public testing::TestWithParam<RoundTrip> {};

// Drawn again from its PNG with `changes`, a picture equals the one drawn from the view's
// options and the same changes, and keeps the same view text.
TEST_P(KeptView, DrawsThePictureAgain) {
  const RoundTrip& row = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(render(dir, QStringLiteral("%1 -o first.png").arg(row.view)).first, 0);
  ASSERT_EQ(render(dir, QStringLiteral("%1 %2 -o direct.png").arg(row.view, row.changes)).first, 0);
  ASSERT_EQ(render(dir, QStringLiteral("--from first.png %1 -o again.png").arg(row.changes)).first,
            0);
  const QImage direct(dir.filePath("direct.png"));
  const QImage again(dir.filePath("again.png"));
  EXPECT_EQ(again.text(kViewChunkKey).toStdString(), direct.text(kViewChunkKey).toStdString());
  EXPECT_TRUE(again == direct);
  // The view's numbers are kept as given, digit for digit.
  const QStringList words = QString(row.view).split(' ');
  for (qsizetype i = 0; i + 1 < words.size(); ++i) {
    if (words[i] == "--center" || words[i] == "--zoom") {
      EXPECT_TRUE(direct.text(kViewChunkKey).contains(words[i + 1])) << words[i + 1].toStdString();
    }
  }
}

const RoundTrip kRoundTrips[] = {
    {"startUp", "", ""},
    {"juliaWithEverySetting",
     "--formula julia --components -0.8,0.156 --zoom 1.7 --rotation 33 --jitter "
     "0.33,3 --grid 20 --offsets 300,1,2 --inner 0 --outer 9 --colour-mode grey",
     ""},
    {"holeInLines",
     "--formula hole --grid line --center -0.2,-0.055 --zoom 10 --escape 16 --depth 256", ""},
    // Kept with 16 significant digits, this centre would move by a tenth of a pixel, enough
    // to change some pixels.
    {"deepViewNeedsEveryDigit",
     "--center -0.7436438870371587,0.13182590420531196 --zoom 1e13 --depth 512", ""},
    // 10^120 deep on the needle near -2, with every one of 150 characters.
    {"deepCentreOf150Characters",
     "--center "
     "-1."
     "999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
     "999999999999999999999999994266857469037015248688734149,0 --zoom 1e120 --depth 2000 --size "
     "60x45",
     ""},
    {"posterKeepsItsSize", "--size 600x450 --colour-mode mono", ""},
    {"changesWin", "--formula julia --components 0.25,0", "--zoom 2 --rotation -10"}};

INSTANTIATE_TEST_SUITE_P(Rows, KeptView, testing::ValuesIn(kRoundTrips), rowName<RoundTrip>);

// An output that cannot be made ends with status 1 and one line naming it before the picture
// is drawn: a poster of minutes is not computed for nothing (this one would pass the time limit).
TEST(Output, UnwritablePlaceEndsWithStatusOneAtOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto [status, errors] = render(dir, "--size 16000x12000 --depth 30000 -o missing/out.png");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
  EXPECT_TRUE(errors.contains("missing/out.png")) << errors.toStdString();
}

// A poster twice the window's size lands its pixel (2x, 2y) exactly on the window's (x, y).
TEST(Poster, TwiceTheSizeRepeatsTheWindowsPixels) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(render(dir, "--formula julia --rotation 30 -o window.png").first, 0);
  ASSERT_EQ(render(dir, "--formula julia --rotation 30 --size 800x600 -o poster.png").first, 0);
  const QImage window(dir.filePath("window.png"));
  const QImage poster(dir.filePath("poster.png"));
  ASSERT_EQ(poster.size(), 2 * window.size());
  int differing = 0;
  for (int y = 0; y < window.height(); ++y)
    for (int x = 0; x < window.width(); ++x)
      differing += poster.pixel(2 * x, 2 * y) != window.pixel(x, y);
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace orvane
