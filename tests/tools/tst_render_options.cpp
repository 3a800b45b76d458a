// orvane-render: parsing and refusing command-line options, applying a request to the
// start-up state, and the real binary's exit status and PNG.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "load_routine.h"
#include "memory_surface.h"
#include "render_options.h"
#include "render_pass.h"
#include "view_chunk.h"

namespace orvane {
namespace {

ParsedCommandLine parse(const std::vector<std::string>& options) {
  QStringList arguments{"orvane-render"};
  for (const std::string& option : options) arguments << QString::fromStdString(option);
  return parseRenderCommandLine(arguments);
}

TEST(CommandLine, OutputFileIsRequired) {
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{}, {"--depth", "16"}, {"-o", ""}}) {
    const ParsedCommandLine parsed = parse(options);
    EXPECT_FALSE(parsed.request);
    EXPECT_NE(parsed.error.find("-o"), std::string::npos) << parsed.error;
  }
}

struct BadOption {
  const char* name;
  std::vector<std::string> options;
  const char* named;  // what the error must mention
};

class RefusedOption : public testing::TestWithParam<BadOption> {};

TEST_P(RefusedOption, ErrorNamesTheOption) {
  std::vector<std::string> options = GetParam().options;
  options.insert(options.end(), {"-o", "out.png"});
  const ParsedCommandLine parsed = parse(options);
  EXPECT_FALSE(parsed.request);
  EXPECT_TRUE(parsed.help.empty());
  EXPECT_NE(parsed.error.find(GetParam().named), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedOption,
    testing::Values(BadOption{"depthZero", {"--depth", "0"}, "--depth"},
                    BadOption{"depthTooLarge", {"--depth", "40000"}, "--depth"},
                    BadOption{"depthNotANumber", {"--depth", "abc"}, "--depth"},
                    BadOption{"depthFraction", {"--depth", "16.5"}, "--depth"},
                    BadOption{"escapeZero", {"--escape", "0"}, "--escape"},
                    BadOption{"rotationTooLarge", {"--rotation", "40000"}, "--rotation"},
                    BadOption{"gridOne", {"--grid", "1"}, "--grid"},
                    BadOption{"gridTooLarge", {"--grid", "33"}, "--grid"},
                    BadOption{"gridWord", {"--grid", "lines"}, "--grid"},
                    BadOption{"zoomNotANumber", {"--zoom", "nan"}, "--zoom"},
                    BadOption{"zoomInfinite", {"--zoom", "inf"}, "--zoom"},
                    BadOption{"zoomOverflows", {"--zoom", "1e400"}, "--zoom"},
                    BadOption{"zoomEmpty", {"--zoom", ""}, "--zoom"},
                    BadOption{"centreOneNumber", {"--center", "1"}, "--center"},
                    BadOption{"centreThreeNumbers", {"--center", "1,2,3"}, "--center"},
                    BadOption{"centreTrailingText", {"--center", "1,2x"}, "--center"},
                    BadOption{"componentsInfinite", {"--components", "0,inf"}, "--components"},
                    BadOption{"jitterNegative", {"--jitter", "-1,2"}, "--jitter"},
                    BadOption{"jitterTooLarge", {"--jitter", "1,101"}, "--jitter"},
                    BadOption{"offsetsTwo", {"--offsets", "1,2"}, "--offsets"},
                    BadOption{"offsetsOutOfRange", {"--offsets", "1,2,40000"}, "--offsets"},
                    BadOption{"innerTooLarge", {"--inner", "11"}, "--inner"},
                    BadOption{"outerNegative", {"--outer", "-1"}, "--outer"},
                    BadOption{"colourModeUnknown", {"--colour-mode", "blue"}, "--colour-mode"},
                    BadOption{"formulaUnknown", {"--formula", "x"}, "--formula"},
                    BadOption{"threadsZero", {"--threads", "0"}, "--threads"},
                    BadOption{"sizeZero", {"--size", "0x300"}, "--size"},
                    BadOption{"sizeTooLarge", {"--size", "16385x2"}, "--size"},
                    BadOption{"sizeOneSide", {"--size", "400"}, "--size"},
                    BadOption{"sizeStar", {"--size", "400*300"}, "--size"},
                    BadOption{"sizeNoWidth", {"--size", "x300"}, "--size"},
                    BadOption{"unknownOption", {"--colour", "rgb"}, "colour"},
                    BadOption{"strayArgument", {"picture.png"}, "picture.png"}),
    [](const testing::TestParamInfo<BadOption>& row) { return std::string(row.param.name); });

TEST(CommandLine, AcceptedValues) {
  const ParsedCommandLine parsed = parse(
      {"--formula",  "julia",      "--zoom",       "1e-300",     "--center",      "-0.5,0",
       "--rotation", "-30",        "--components", "-0.8,0.156", "--depth",       "32767",
       "--escape",   "100",        "--jitter",     "0.9,1.11",   "--colour-mode", "grey",
       "--inner",    "0",          "--outer",      "10",         "--offsets",     "255,-1,300",
       "--grid",     "line",       "--threads",    "2",          "--scalar",      "--stats",
       "-o",         "picture.png"});
  ASSERT_TRUE(parsed.request) << parsed.error;
  const RenderRequest& r = *parsed.request;
  EXPECT_EQ(r.drawing, formula::kJulia);
  EXPECT_EQ(r.zoom, 1e-300);
  EXPECT_EQ(r.centre, std::make_pair(-0.5, 0.0));
  EXPECT_EQ(r.rotation, -30);
  EXPECT_EQ(r.components, std::make_pair(-0.8, 0.156));
  EXPECT_EQ(r.depth, 32767);
  EXPECT_EQ(r.escape, 100);
  EXPECT_EQ(r.jitter, std::make_pair(0.9f, 1.11f));
  EXPECT_EQ(r.colourMode, colour_mode::kGrey);
  EXPECT_EQ(r.inner, 0);
  EXPECT_EQ(r.outer, 10);
  EXPECT_EQ(r.offsets, (std::array<std::int16_t, 3>{255, -1, 300}));
  EXPECT_EQ(r.gridChoice, kLineMode);
  EXPECT_EQ(r.threads, 2);
  EXPECT_TRUE(r.scalar);
  EXPECT_TRUE(r.stats);
  EXPECT_EQ(r.output, "picture.png");

  const ParsedCommandLine other = parse({"--formula", "hole", "--grid", "25", "--colour-mode",
                                         "mono", "--rotation", "-32768", "-o", "p.png"});
  ASSERT_TRUE(other.request) << other.error;
  EXPECT_EQ(other.request->drawing, formula::kHole);
  EXPECT_EQ(other.request->gridChoice, 25);
  EXPECT_EQ(other.request->colourMode, colour_mode::kTwoColour);
  EXPECT_EQ(other.request->rotation, -32768);
  EXPECT_FALSE(other.request->zoom);
  EXPECT_FALSE(other.request->scalar);
}

TEST(CommandLine, HelpIsNotAnError) {
  const ParsedCommandLine parsed = parse({"--help"});
  EXPECT_FALSE(parsed.request);
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_NE(parsed.help.find("--depth"), std::string::npos);
}

TEST(ApplyRequest, NoOptionsGiveTheStartUpState) {
  ExplorerState applied;
  DialogValues appliedDialogs;
  applyRenderRequest(*parse({"-o", "x.png"}).request, applied, appliedDialogs);
  ExplorerState launched;
  DialogValues launchedDialogs;
  formLoad(launched, launchedDialogs);

  EXPECT_EQ(applied.drawing, launched.drawing);
  EXPECT_EQ(applied.viewZoom, launched.viewZoom);
  EXPECT_EQ(applied.gridChoice, launched.gridChoice);
  EXPECT_EQ(applied.gridSide, launched.gridSide);
  EXPECT_EQ(applied.cellOrder, launched.cellOrder);
  EXPECT_EQ(applied.random.position(), launched.random.position());
  EXPECT_EQ(applied.renderIn, launched.renderIn);
  EXPECT_EQ(applied.renderOut, launched.renderOut);
  EXPECT_EQ(applied.iterDepth, launched.iterDepth);
  EXPECT_EQ(applied.escapeValue, launched.escapeValue);
  EXPECT_EQ(applied.jitterLow, launched.jitterLow);
  EXPECT_EQ(applied.jitterHigh, launched.jitterHigh);
  EXPECT_EQ(applied.colorMode, launched.colorMode);
  EXPECT_EQ(applied.colr, launched.colr);
  EXPECT_EQ(applied.colg, launched.colg);
  EXPECT_EQ(applied.colb, launched.colb);
  EXPECT_EQ(applied.zoomDivisor, launched.zoomDivisor);
  EXPECT_EQ(appliedDialogs.position.numzoom, launchedDialogs.position.numzoom);
  EXPECT_EQ(appliedDialogs.position.numx, launchedDialogs.position.numx);
  EXPECT_EQ(appliedDialogs.position.numy, launchedDialogs.position.numy);
  EXPECT_EQ(appliedDialogs.position.ct, launchedDialogs.position.ct);
  EXPECT_EQ(appliedDialogs.position.roo, launchedDialogs.position.roo);
  EXPECT_EQ(appliedDialogs.dimension.numDx, launchedDialogs.dimension.numDx);
  EXPECT_EQ(appliedDialogs.dimension.numDy, launchedDialogs.dimension.numDy);
  EXPECT_EQ(appliedDialogs.rendering.sldIn, launchedDialogs.rendering.sldIn);
  EXPECT_EQ(appliedDialogs.rendering.dcin, launchedDialogs.rendering.dcin);
  EXPECT_EQ(appliedDialogs.rendering.sldOut, launchedDialogs.rendering.sldOut);
  EXPECT_EQ(appliedDialogs.rendering.dcout, launchedDialogs.rendering.dcout);
}

TEST(ApplyRequest, OptionsReachTheFieldsThePassReads) {
  ExplorerState state;
  DialogValues dialogs;
  applyRenderRequest(
      *parse({"--formula",  "julia", "--zoom",       "2",          "--center",  "0.25,-1",
              "--rotation", "45",    "--components", "-0.8,0.156", "--grid",    "line",
              "--inner",    "3",     "--outer",      "7",          "--offsets", "1,2,3",
              "-o",         "x.png"})
           .request,
      state, dialogs);
  EXPECT_EQ(state.drawing, formula::kJulia);
  EXPECT_EQ(dialogs.position.numzoom, 2);
  EXPECT_EQ(dialogs.position.numx, 0.25);
  EXPECT_EQ(dialogs.position.numy, -1);
  EXPECT_EQ(dialogs.position.ct, 45);
  EXPECT_EQ(dialogs.dimension.numDx, -0.8);
  EXPECT_EQ(dialogs.dimension.numDy, 0.156);
  EXPECT_EQ(state.gridSide, 1);
  EXPECT_EQ(state.cellOrder, std::vector<std::int16_t>{0});
  EXPECT_EQ(dialogs.rendering.dcin, 3);
  EXPECT_EQ(dialogs.rendering.dcout, 7);
  EXPECT_EQ(state.colr, 1);
  EXPECT_EQ(state.colg, 2);
  EXPECT_EQ(state.colb, 3);
}

// --- The real binary ---

struct RunResult {
  int status;
  std::string errors;
};

RunResult runRenderer(const std::string& options, const QTemporaryDir& dir) {
  const std::string errors = dir.filePath("stderr.txt").toStdString();
  const std::string command =
      std::string("'") + ORVANE_RENDER_EXECUTABLE + "' " + options + " 2>'" + errors + "'";
  const int raw = std::system(command.c_str());
  std::ifstream file(errors);
  std::stringstream text;
  text << file.rdbuf();
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

std::vector<Colour> memoryRender(const std::vector<std::string>& options) {
  std::vector<std::string> withOutput = options;
  withOutput.insert(withOutput.end(), {"-o", "unused.png"});
  ExplorerState state;
  DialogValues dialogs;
  applyRenderRequest(*parse(withOutput).request, state, dialogs);
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass pass(state, dialogs, surface, {});
  pass.drawings();
  return surface.pixels();
}

std::vector<Colour> pngPixels(const QString& path) {
  const QImage image(path);
  EXPECT_EQ(image.width(), kPictureWidth);
  EXPECT_EQ(image.height(), kPictureHeight);
  std::vector<Colour> pixels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      pixels.push_back(packColour(qRed(c), qGreen(c), qBlue(c)));
    }
  return pixels;
}

TEST(Renderer, BadOptionExitsWithStatusTwoAndWritesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("out.png");
  const RunResult run = runRenderer("--depth 0 -o '" + png.toStdString() + "'", dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.errors.find("--depth"), std::string::npos) << run.errors;
  EXPECT_FALSE(QFile::exists(png));

  EXPECT_EQ(runRenderer("--grid 12", dir).status, 2);  // no output file named
}

TEST(Renderer, PngEqualsTheInMemoryPicture) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("start.png");
  ASSERT_EQ(runRenderer("-o '" + png.toStdString() + "'", dir).status, 0);
  EXPECT_EQ(pngPixels(png), memoryRender({}));

  const std::vector<std::string> options{"--formula", "hole",  "--grid",        "line",
                                         "--zoom",    "3",     "--colour-mode", "grey",
                                         "--jitter",  "0.5,2", "--scalar"};
  std::string line;
  for (const std::string& option : options) line += option + " ";
  const QString other = dir.filePath("hole.png");
  ASSERT_EQ(runRenderer(line + "-o '" + other.toStdString() + "'", dir).status, 0);
  EXPECT_EQ(pngPixels(other), memoryRender(options));
}

TEST(Renderer, APictureKeepsItsViewAndIsDrawnAgainFromIt) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string views[] = {
      "",
      "--formula julia --components -0.8,0.156 --zoom 1.7 --rotation 33 --jitter 0.33,3 "
      "--grid 20 --offsets 300,1,2 --inner 0 --colour-mode grey",
      "--formula hole --grid line --center -0.2,-0.055 --zoom 10 --escape 16 --depth 256",
  };
  int n = 0;
  for (const std::string& view : views) {
    const QString first = dir.filePath(QStringLiteral("first%1.png").arg(n));
    const QString again = dir.filePath(QStringLiteral("again%1.png").arg(n++));
    ASSERT_EQ(runRenderer(view + " -o '" + first.toStdString() + "'", dir).status, 0) << view;
    ASSERT_EQ(
        runRenderer("--from '" + first.toStdString() + "' -o '" + again.toStdString() + "'", dir)
            .status,
        0)
        << view;
    EXPECT_EQ(pngPixels(again), pngPixels(first)) << view;
    EXPECT_EQ(QImage(again).text(kViewChunkKey), QImage(first).text(kViewChunkKey)) << view;
  }
}

TEST(Renderer, APosterKeepsTheWindowsFramingAndItsSize) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString window = dir.filePath("window.png");
  const QString same = dir.filePath("same.png");
  const QString large = dir.filePath("large.png");
  const QString again = dir.filePath("again.png");
  ASSERT_EQ(runRenderer("--grid line -o '" + window.toStdString() + "'", dir).status, 0);
  ASSERT_EQ(runRenderer("--grid line --size 400x300 -o '" + same.toStdString() + "'", dir).status,
            0);
  EXPECT_EQ(pngPixels(same), pngPixels(window));
  ASSERT_EQ(runRenderer("--size 1200x900 -o '" + large.toStdString() + "'", dir).status, 0);
  const QImage poster(large);
  ASSERT_EQ(poster.size(), QSize(1200, 900));
  const QImage small(window);
  for (const QPoint p : {QPoint(0, 0), QPoint(200, 150), QPoint(123, 77), QPoint(399, 299)})
    EXPECT_EQ(poster.pixel(3 * p.x(), 3 * p.y()), small.pixel(p));
  EXPECT_TRUE(poster.text(kViewChunkKey).endsWith("--size=1200x900"));
  ASSERT_EQ(
      runRenderer("--from '" + large.toStdString() + "' -o '" + again.toStdString() + "'", dir)
          .status,
      0);
  EXPECT_EQ(QImage(again), poster);
}

TEST(Renderer, OptionsGivenWithFromChangeSingleValuesOfTheKeptView) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString kept = dir.filePath("kept.png");
  const QString changed = dir.filePath("changed.png");
  ASSERT_EQ(runRenderer("--formula julia --components 0.25,0 -o '" + kept.toStdString() + "'", dir)
                .status,
            0);
  ASSERT_EQ(
      runRenderer("--from '" + kept.toStdString() + "' --zoom 2 -o '" + changed.toStdString() + "'",
                  dir)
          .status,
      0);
  EXPECT_EQ(pngPixels(changed),
            memoryRender({"--formula", "julia", "--components", "0.25,0", "--zoom", "2"}));
}

TEST(Renderer, APictureWithoutAViewOrWithADamagedOneIsRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage plain(4, 3, QImage::Format_RGB32);
  plain.fill(Qt::white);
  const QString none = dir.filePath("none.png");
  ASSERT_TRUE(plain.save(none));
  const std::pair<const char*, const char*> damaged[] = {
      {"depth.png", "--depth=banana"},
      {"output.png", "--zoom=2 -o=/tmp/elsewhere.png"},
      {"words.png", "rm -rf /"},
  };
  std::vector<std::pair<QString, std::string>> refused{{none, "carries no Orvane view"},
                                                       {dir.filePath("missing.png"), "--from"}};
  for (const auto& [file, text] : damaged) {
    QImage image = plain;
    image.setText(kViewChunkKey, text);
    ASSERT_TRUE(image.save(dir.filePath(file)));
    refused.emplace_back(dir.filePath(file), "damaged");
  }
  const QString out = dir.filePath("out.png");
  for (const auto& [file, reason] : refused) {
    const RunResult run =
        runRenderer("--from '" + file.toStdString() + "' -o '" + out.toStdString() + "'", dir);
    EXPECT_EQ(run.status, 2) << file.toStdString();
    EXPECT_NE(run.errors.find(reason), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    EXPECT_FALSE(QFile::exists(out));
  }
}

}  // namespace
}  // namespace orvane
