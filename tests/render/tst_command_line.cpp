// orvane-render's command line, parsed in process: the options it refuses, the view a picture
// keeps as the start of another, and the help made from the option table.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <string>

#include "render/command_line.h"
#include "render/view_chunk.h"

namespace orvane {
namespace {

template <class Row>
std::string rowName(const testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

// A picture in `dir` named in.png that keeps `view` (no view when null).
QString keptPicture(const QTemporaryDir& dir, const char* view) {
  QImage plain(4, 3, QImage::Format_RGB32);
  plain.fill(Qt::white);
  if (view) plain.setText(kViewChunkKey, view);
  const QString path = dir.filePath("in.png");
  EXPECT_TRUE(plain.save(path));
  return path;
}

// The command line given as one text split at blanks, "in.png" standing for `picture`.
ParsedCommandLine parse(const QString& arguments, const QString& picture = {}) {
  QStringList words = arguments.split(' ', Qt::SkipEmptyParts);
  for (QString& word : words)
    if (word == "in.png") word = picture;
  return parseRenderCommandLine(QStringList{"orvane-render"} + words);
}

struct Refusal {
  const char* name;
  const char* arguments;       // "-o out.png" is added unless the row is about the output
  const char* named;           // what the one line of error must mention
  const char* kept = nullptr;  // when given, in.png keeps this view text ("" for none)
};

class RefusedOption : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedOption, GivesOneLineNamingIt) {
  const Refusal& row = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString picture = row.kept ? keptPicture(dir, *row.kept ? row.kept : nullptr) : "in.png";
  const bool aboutOutput = row.named == std::string("-o");
  const ParsedCommandLine parsed =
      parse(row.arguments + QString(aboutOutput ? "" : " -o out.png"), picture);
  EXPECT_FALSE(parsed.request);
  EXPECT_FALSE(parsed.info);
  EXPECT_TRUE(parsed.help.empty());
  EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
  EXPECT_NE(parsed.error.find(row.named), std::string::npos) << parsed.error;
}

const Refusal kRefusals[] = {
    {"outputMissing", "--depth 16", "-o"},
    {"outputEmpty", "-o=", "-o"},
    {"depthZero", "--depth 0", "--depth"},
    {"depthAbove31Bits", "--depth 2147483648", "--depth"},
    {"depthFraction", "--depth 16.5", "--depth"},
    {"escapeZero", "--escape 0", "--escape"},
    {"rotationAbove16Bits", "--rotation 32768", "--rotation"},
    {"gridOne", "--grid 1", "--grid"},
    {"gridAboveLargest", "--grid 33", "--grid"},
    {"gridWord", "--grid lines", "--grid"},
    {"zoomNotANumber", "--zoom nan", "--zoom"},
    {"zoomInfinite", "--zoom inf", "--zoom"},
    {"zoomOverflowsDouble", "--zoom 1e400 --precision double", "--zoom"},
    {"centreOverflowsDouble", "--precision double --center 0,-1e309", "--center"},
    {"zoomBeyondAnyView", "--zoom 1e99999999999", "--zoom"},
    {"zoomBelowAnyView", "--zoom 1e-99999999999", "--zoom"},
    {"centreBeyondAnyView", "--center 1e99999999999,0", "--center"},
    {"zoomEmpty", "--zoom=", "--zoom"},
    {"zoomDecimalComma", "--zoom 1,5", "--zoom"},
    {"zoomHexadecimal", "--zoom 0x10", "--zoom"},
    {"centreOneNumber", "--center 1", "--center"},
    {"centreThreeNumbers", "--center 1,2,3", "--center"},
    {"centreTrailingText", "--center 1,2x", "--center"},
    {"componentsInfinite", "--components 0,inf", "--components"},
    {"componentsOverflowDouble", "--components 1e309,0", "--components"},
    {"componentsUnderflowDouble", "--components 0,-1e-400", "--components"},
    {"jitterNegative", "--jitter -1,2", "--jitter"},
    {"jitterAboveLargest", "--jitter 1,101", "--jitter"},
    {"offsetsTwo", "--offsets 1,2", "--offsets"},
    {"offsetsAbove16Bits", "--offsets 1,2,32768", "--offsets"},
    {"innerAboveLargest", "--inner 11", "--inner"},
    {"outerNegative", "--outer -1", "--outer"},
    {"colourModeUnknown", "--colour-mode blue", "--colour-mode"},
    {"formulaUnknown", "--formula x", "--formula"},
    {"threadsZero", "--threads 0", "--threads"},
    {"verifyAboveLargest", "--verify 1000001", "--verify"},
    {"verifyWithVideo", "--count-frames --seconds 1 --verify 10", "--verify"},
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
    {"fromKeptFrom", "--from in.png", "damaged", "--zoom=2 --from=in.png"},
    {"fromWords", "--from in.png", "damaged", "rm -rf /"},
    // A kept view that the command line makes impossible.
    {"fromKeptZoomAgainstDouble", "--from in.png --precision double", "--zoom", "--zoom=1e400"},
    // Zoom videos: refused before any frame is drawn.
    {"videoOddSize", "--video v.mp4 --seconds 1 --size 64x47", "--size"},
    {"videoOddKeptSize", "--from in.png --video v.mp4 --seconds 1", "--size", "--size=63x48"},
    {"videoOneFrame", "--count-frames --seconds 0.016", "--seconds"},
    {"videoWithoutSeconds", "--video v.mp4", "--seconds"},
    {"videoUnknownContainer", "--video v.avi --seconds 1", "--video"},
    {"videoCodecNotInContainer", "--video v.mp4 --codec vp9 --seconds 1", "--codec"},
    {"videoQualityAboveRange", "--video v.mp4 --seconds 1 --quality 52", "--quality"},
    {"videoZoomChangesSign", "--count-frames --seconds 1 --zoom -4", "--zoom-from"},
    {"videoZoomFromOverflowsDouble",
     "--count-frames --seconds 1 --zoom-from 1e400 --precision double", "--zoom-from"},
    {"videoOptionAlone", "--seconds 1", "--seconds"},
    {"framesPastTheLast", "--frames 25-30 --frames-dir f --seconds 1", "--frames"},
    {"framesWithoutFolder", "--frames 0-3 --seconds 1", "--frames-dir"},
    {"framesWithVideo", "--frames 0-3 --frames-dir f --video v.mp4 --seconds 1", "--frames"},
    {"outputWithVideo", "--video v.mp4 --seconds 1 -o out.png", "-o"},
    {"outputNotPng", "-o x.jpg", "-o"},
    {"framesLoneNumberPastTheLast", "--frames 25 --frames-dir f --seconds 1", "--frames"},
    {"framesStrideZero", "--frames 0/0 --frames-dir f --seconds 1", "--frames"},
    {"resumeWithoutFrames", "--video v.mp4 --seconds 1 --resume", "--resume"},
    {"missingFramesWithoutFolder", "--missing-frames --seconds 1", "--missing-frames"},
    // Zooming at a pixel, supersampling and --info.
    {"atWithoutPicture", "--at 1,2", "--at"},
    {"atPastTheKeptSize", "--from in.png --at 80,0 --size 400x300", "--at", "--size=80x60"},
    {"atNegative", "--from in.png --at -1,0", "--at", "--zoom=2"},
    {"atWithCentre", "--from in.png --at 1,1 --center 0,0", "--at", "--zoom=2"},
    {"zoomByZero", "--zoom-by 0", "--zoom-by"},
    {"zoomByNegative", "--zoom-by -2", "--zoom-by"},
    {"zoomByPastAnyView", "--zoom 1e315000 --zoom-by 1e1000", "--zoom-by"},
    {"supersampleAboveLargest", "--supersample 9", "--supersample"},
    {"supersampleWithVerify", "--supersample 2 --verify 10", "--verify"},
    {"infoWithOutput", "--info in.png", "--info", "--zoom=2"},
    {"infoAtPastTheSize", "--info in.png --at 0,60 -o=", "--info", "--size=80x60"},
};

INSTANTIATE_TEST_SUITE_P(Rows, RefusedOption, testing::ValuesIn(kRefusals), rowName<Refusal>);

// The numbers of a view enter once, as given: the text, digit for digit, and its double.
TEST(CommandLine, KeepsTheNumbersAsGiven) {
  const ParsedCommandLine parsed =
      parse("--zoom +2.50e3 --center -0.10,1e-400 --components 0.5,-0 -o out.png");
  ASSERT_TRUE(parsed.request) << parsed.error;
  const ViewRequest& view = parsed.request->view;
  EXPECT_EQ(view.zoom.text(), "2.50e3");
  EXPECT_EQ(view.zoom.nearest(), 2500);
  ASSERT_TRUE(view.centre);
  EXPECT_EQ(view.centre->first.text(), "-0.10");
  EXPECT_EQ(view.centre->first.nearest(), -0.1);
  EXPECT_EQ(view.centre->second.text(), "1e-400");
  ASSERT_TRUE(view.components);
  EXPECT_TRUE(std::signbit(view.components->second.nearest()));
  EXPECT_EQ(parsed.request->output, "out.png");
}

// With --from, the kept view comes first and every option given on the command line wins.
TEST(CommandLine, OptionsGivenWinOverTheKeptView) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString picture = keptPicture(
      dir, "--formula=julia --zoom=1e40 --center=0.1,0.2 --depth=900 --size=80x60 --depth=901");
  const ParsedCommandLine parsed = parse("--from in.png --zoom 7 --grid line -o out.png", picture);
  ASSERT_TRUE(parsed.request) << parsed.error;
  const ViewRequest& view = parsed.request->view;
  EXPECT_EQ(view.drawing, formula::kJulia);
  EXPECT_EQ(view.zoom.text(), "7");
  EXPECT_EQ(view.centre->first.text(), "0.1");
  EXPECT_EQ(view.depth, 901) << "the last of an option kept twice";
  EXPECT_EQ(view.size.width, 80);
  EXPECT_EQ(view.gridChoice, kLineMode);
  EXPECT_EQ(parsed.request->from, picture.toStdString());
}

// What a newcomer types: a lone frame, a .PNG name, a device; a folder where a file is
// meant, and a pasted number of a thousand digits, which the error shows by its start and
// its length.
TEST(CommandLine, NamesAndNumbersAsANewcomerTypesThem) {
  const ParsedCommandLine lone = parse("--frames 5 --frames-dir f --seconds 1");
  ASSERT_TRUE(lone.request) << lone.error;
  EXPECT_EQ(lone.request->video->frames, std::vector<long>{5});
  EXPECT_TRUE(parse("-o OUT.PNG").request);
  EXPECT_TRUE(parse("-o /dev/stdout").request);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"a.png", "v.mp4"}) ASSERT_TRUE(QDir(dir.path()).mkdir(name));
  for (const QString& arguments :
       {"-o " + dir.filePath("a.png"), "--video " + dir.filePath("v.mp4") + " --seconds 1"}) {
    const ParsedCommandLine folder = parse(arguments);
    EXPECT_FALSE(folder.request);
    EXPECT_NE(folder.error.find("is a folder"), std::string::npos) << folder.error;
  }
  const ParsedCommandLine pasted = parse("--zoom " + QString(1000, '9') + "x -o out.png");
  EXPECT_NE(pasted.error.find("(1001 characters)"), std::string::npos) << pasted.error;
  EXPECT_EQ(pasted.error.find(std::string(41, '9')), std::string::npos) << pasted.error;
}

// --at takes the kept picture's own size and rotation; the digits of the centre follow the new
// magnification. Expected points worked by hand from the window's mapping.
TEST(CommandLine, ZoomsAtAPixelOfTheKeptPicture) {
  struct Row {
    const char* kept;
    const char* arguments;
    const char* zoom;
    const char* centre;
  };
  const Row rows[] = {
      // One pixel right of the centre is 1 / (100 x 1e40) down the imaginary axis.
      {"--zoom=1e40 --center=0.1,0", "--at 201,150 --zoom-by 1e10 -o out.png", "1e50",
       "0.1,-1e-42"},
      // Rotation 90 runs the real axis to the left and the imaginary one up; 800 x 300 keeps
      // the 300 rows' scale, so the top left pixel is 400 and 150 pixels from the centre.
      {"--zoom=2 --center=-0.5,0.25 --rotation=90 --size=800x300",
       "--at 0,0 --zoom-by 0.5 --size 40x30 -o out.png", "1", "1.5,1"},
      {"--zoom=3", "--zoom 1.5 --zoom-by 2 -o out.png", "3", ""},
      // A zoom video into the pixel.
      {"--zoom=2", "--at 200,150 --zoom-by 1e3 --video v.mp4 --seconds 1", "2000", "-0.5,0"},
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Row& row : rows) {
    const ParsedCommandLine parsed =
        parse(QStringLiteral("--from in.png %1").arg(row.arguments), keptPicture(dir, row.kept));
    ASSERT_TRUE(parsed.request) << parsed.error;
    const ViewRequest& view = parsed.request->view;
    EXPECT_EQ(view.zoom.text(), row.zoom) << row.arguments;
    const std::string centre =
        view.centre ? view.centre->first.text() + "," + view.centre->second.text() : "";
    EXPECT_EQ(centre, row.centre) << row.arguments;
  }
}

TEST(CommandLine, HelpAndHelpAllShowEveryOption) {
  for (const char* asked : {"--help", "--help-all", "-h"}) {
    const ParsedCommandLine parsed = parse(asked);
    EXPECT_FALSE(parsed.request);
    EXPECT_TRUE(parsed.error.empty()) << asked << ": " << parsed.error;
    for (const char* option : {"--formula", "--precision", "--size", "--video", "--count-frames"})
      EXPECT_NE(parsed.help.find(option), std::string::npos) << asked << " lacks " << option;
  }
}

}  // namespace
}  // namespace orvane

// The help names the program from the application object, as in orvane-render.
int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
