// The view a picture was drawn from, kept in the PNG itself as a text chunk.
#include "render/view_chunk.h"

#include <array>
#include <charconv>

#include <QFile>

#include "png/png_text.h"

namespace orvane {

namespace {

// Only these may appear in a kept view: what the picture looks like, not how it was computed
// or where it went.
constexpr std::array<const char*, 15> kViewOptions = {
    "formula",     "zoom",  "center", "rotation", "components", "depth", "escape",   "jitter",
    "colour-mode", "inner", "outer",  "offsets",  "grid",       "size",  "precision"};

std::string formulaName(std::int16_t drawing) {
  switch (drawing) {
    case formula::kJulia:
      return "julia";
    case formula::kHole:
      return "hole";
    default:
      return "mandelbrot";
  }
}

std::string colourModeName(std::int16_t mode) {
  switch (mode) {
    case colour_mode::kTwoColour:
      return "mono";
    case colour_mode::kGrey:
      return "grey";
    default:
      return "rgb";
  }
}

std::string precisionName(deep::Precision precision) {
  switch (precision) {
    case deep::Precision::kDouble:
      return "double";
    case deep::Precision::kDeep:
      return "deep";
    default:
      return "auto";
  }
}

bool isViewOption(const QString& argument) {
  for (const char* name : kViewOptions)
    if (argument.startsWith(QStringLiteral("--%1=").arg(QLatin1String(name)))) return true;
  return false;
}

}  // namespace

std::string exactText(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, error == std::errc{} ? end : buffer);
}

std::string viewOptions(const ExplorerState& state, const DialogValues& dialogs, PosterSize size,
                        const RenderRequest& request) {
  const PositionValues& position = dialogs.position;
  const std::string grid = state.gridChoice == kLineMode ? "line" : std::to_string(state.gridSide);
  const std::string zoom = request.zoom.value_or(exactText(position.numzoom));
  const std::string centre = request.centre ? request.centre->first + "," + request.centre->second
                                            : exactText(state.viewX) + "," + exactText(state.viewY);
  const std::string precision =
      request.precision ? " --precision=" + precisionName(*request.precision) : "";
  return "--formula=" + formulaName(state.drawing) + " --zoom=" + zoom + " --center=" + centre +
         " --rotation=" + std::to_string(position.ct) +
         " --components=" + exactText(dialogs.dimension.numDx) + "," +
         exactText(dialogs.dimension.numDy) + " --depth=" + std::to_string(state.iterDepth) +
         " --escape=" + std::to_string(state.escapeValue) +
         " --jitter=" + exactText(state.jitterLow) + "," + exactText(state.jitterHigh) +
         " --colour-mode=" + colourModeName(state.colorMode) +
         " --inner=" + std::to_string(state.renderIn) +
         " --outer=" + std::to_string(state.renderOut) +
         " --offsets=" + std::to_string(state.colr) + "," + std::to_string(state.colg) + "," +
         std::to_string(state.colb) + " --grid=" + grid + " --size=" + std::to_string(size.width) +
         "x" + std::to_string(size.height) + precision;
}

std::optional<QStringList> viewOptionsFrom(const QString& path, std::string& error) {
  std::string reason;
  const std::optional<PngTexts> texts = pngTexts(QFile::encodeName(path).toStdString(), reason);
  if (!texts) {
    error = "--from: '" + path.toStdString() + "' is not a PNG picture that can be read (" +
            reason + ")";
    return std::nullopt;
  }
  // The last chunk of the key wins, as when the picture is loaded.
  QString kept;
  for (const auto& [key, text] : *texts)
    if (key == kViewChunkKey) kept = QString::fromStdString(text);
  if (kept.isEmpty()) {
    error = "--from: '" + path.toStdString() + "' carries no Orvane view";
    return std::nullopt;
  }
  const QStringList options = kept.split(u' ', Qt::SkipEmptyParts);
  for (const QString& option : options) {
    if (!isViewOption(option)) {
      error = "--from: the view in '" + path.toStdString() + "' is damaged near '" +
              option.left(40).toStdString() + "'";
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace orvane
