// orvane-render as a user runs it: its exit statuses, the view it keeps in the PNG to draw the
// picture again from the file alone, and posters of the window's view.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <utility>

#include "render/view_chunk.h"

namespace orvane {
namespace {

// Runs orvane-render in `dir` with the arguments, given as one text split at blanks; its exit
// status (-1 for a crash or a hang) and what it wrote on standard error, and on standard
// output into `output` when given.
std::pair<int, QString> render(const QTemporaryDir& dir, const QString& arguments,
                               QString* output = nullptr) {
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QStringLiteral(ORVANE_RENDER_EXECUTABLE), arguments.split(' ', Qt::SkipEmptyParts));
  const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
  if (output) *output = QString::fromUtf8(process.readAllStandardOutput());
  return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardError())};
}

template <class Row>
std::string rowName(const testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

// A refused command line ends with status 2 and one line, and writes nothing; which lines
// the parser gives is tested in process.
TEST(Refusal, EndsWithStatusTwoAndWritesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* arguments : {"--depth 0 -o out.png", "--from missing.png -o out.png",
                                "--video out.mp4 --seconds 1 --size 63x48"}) {
    const auto [status, errors] = render(dir, arguments);
    EXPECT_EQ(status, 2) << arguments;
    EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << arguments;
  }
}

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
    {"changesWin", "--formula julia --components 0.25,0", "--zoom 2 --rotation -10"},
    {"supersampledDeep", "--center 0,1 --zoom 1e30 --depth 300 --size 40x30 --supersample 3",
     "--supersample 2"}};

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

// --info prints the kept view as a command that draws the same picture, the picture's extent
// and one pixel's point, and writes nothing.
TEST(Info, PrintsTheViewAsACommandThatDrawsItAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(render(dir, "--zoom 2 --rotation 90 --size 800x600 --center -0.5,0.25 -o p.png").first,
            0);
  QString output;
  const auto [status, errors] = render(dir, "--info p.png --at 0,0", &output);
  EXPECT_EQ(status, 0) << errors.toStdString();
  const QStringList lines = output.split('\n');
  ASSERT_EQ(lines.size(), 9) << output.toStdString();
  EXPECT_EQ(lines.mid(1).join('\n').toStdString(),
            "size 800x600\nplane width 2\nplane height 1.5\npixel size 0.0025\nmode double\n"
            "reason pixels 0.0025 apart are at least 256 double steps of 4.44e-16\n"
            "at 0,0 0.5,1\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.png"});
  const QString command = lines[0].section(' ', 2);  // after "command orvane-render"
  ASSERT_EQ(render(dir, command).first, 0) << command.toStdString();
  EXPECT_TRUE(QImage(dir.filePath("redrawn.png")) == QImage(dir.filePath("p.png")));
}

// --stats adds its lines after the ones scripts read, --verify its own after them; a deep
// picture mostly at the depth warns on standard error, a double one does not.
TEST(Statistics, PrintedAfterTheDrawing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Row {
    const char* arguments;
    const char* output;  // a pattern of the whole standard output
    const char* errors;
  };
  const Row rows[] = {
      {"--center 0,1 --zoom 1e30 --depth 500 --size 80x60 --stats --verify 50",
       "mode deep\nreason [^\n]+\niterations \\d+\npixels 4800\nseconds [^\n]+\n"
       "iterations per second [^\n]+\nsteps per pixel [\\d.]+ perturbed [\\d.]+ approximate "
       "[\\d.]+\n"
       "reached depth \\d+ \\([\\d.]+ %\\)\nverified (49|50)/50 pixels identical\n",
       ""},
      {"--center -0.1,0 --zoom 1e20 --depth 200 --size 40x30", "",
       "orvane-render: 100 % of the pixels reached the depth 200; raise --depth to see more of "
       "the picture\n"},
      {"--center -0.1,0 --zoom 100 --depth 200 --size 40x30", "", ""},
  };
  for (const Row& row : rows) {
    QString output;
    const auto [status, errors] =
        render(dir, QStringLiteral("%1 -o out.png").arg(row.arguments), &output);
    EXPECT_EQ(status, 0) << row.arguments;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1$").arg(row.output)).match(output).hasMatch())
        << output.toStdString();
    EXPECT_EQ(errors.toStdString(), row.errors);
  }
}

}  // namespace
}  // namespace orvane
