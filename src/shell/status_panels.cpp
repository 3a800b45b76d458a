// What the status bar's view panels show when clicked.
#include "shell/status_panels.h"

#include <cmath>

#include "platform/number_conversion.h"

namespace orvane {

namespace {

// A magnification of zero or below has no logarithm: the panel says so in the words the
// position dialog uses for a value that does not apply.
const QString kNoValue = QStringLiteral("无效");

QString zoomText(double viewZoom) {
  const double tenths = std::floor(std::log(viewZoom) * 4.343) / 10;
  return std::isfinite(tenths) ? numberText(tenths) : kNoValue;
}

// A centre so large that scaling it overflows has no digits after the point to floor.
QString centreText(double centre) {
  const double floored = std::floor(centre * 100000000) / 100000000;
  if (std::isfinite(floored)) return numberText(floored);
  return std::isfinite(centre) ? numberText(centre) : kNoValue;
}

}  // namespace

std::optional<QString> panelRefreshText(int panel, const ExplorerState& state) {
  switch (panel) {
    case status_panel::kZoom:
      return zoomText(state.viewZoom);
    case status_panel::kCentreX:
      return centreText(state.viewX);
    case status_panel::kCentreY:
      return centreText(state.viewY);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane
