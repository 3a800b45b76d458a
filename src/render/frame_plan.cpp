// The frames of a zoom video: how many, and the magnification of each.
#include "render/frame_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "deep/mpfr_number.h"
#include "render/option_value.h"

namespace orvane::render {

namespace {

// Every operation rounds correctly, so this precision alone fixes the result. The logarithm of
// the largest magnification allowed (2^(2^20)) has 20 integer bits: this leaves over 100 below
// the point, far finer than the digits written.
constexpr mpfr_prec_t kPlanBits = 128;

// The magnitude, 0 reading as 1 as the renderer reads it.
deep::MpfrNumber magnitude(const deep::ViewNumber& zoom) {
  deep::MpfrNumber number = zoom.exact(kPlanBits);
  if (mpfr_zero_p(number.get())) mpfr_set_ui(number.get(), 1, MPFR_RNDN);
  mpfr_abs(number.get(), number.get(), MPFR_RNDN);
  return number;
}

// Items that overlap name frames more than once; past this many in all, a list is refused
// rather than expanded, so that no list of any length takes long to read.
constexpr std::size_t kMaxNamed = 4 * kMaxFrames;

// Adds the frames one item of a selection names; false when it names none that exist.
bool addFrames(std::string_view item, long count, std::vector<long>& frames) {
  const std::size_t slash = item.find('/');
  if (slash != std::string_view::npos) {
    const std::optional<long> first = readWhole(item.substr(0, slash));
    const std::optional<long> step = readWhole(item.substr(slash + 1));
    if (!first || !step || *first < 0 || *first >= count || *step < 1) return false;
    if (frames.size() + static_cast<std::size_t>((count - 1 - *first) / *step + 1) > kMaxNamed)
      return false;
    for (long k = *first; k < count; k += *step) frames.push_back(k);
    return true;
  }
  // A dash past the first character: "-3" is a negative number, refused as a lone frame.
  const std::size_t dash = std::min(item.find('-', 1), item.size());
  const std::optional<long> first = readWhole(item.substr(0, dash));
  const std::optional<long> last = dash == item.size() ? first : readWhole(item.substr(dash + 1));
  if (!first || !last || *first < 0 || *first > *last || *last >= count) return false;
  if (frames.size() + static_cast<std::size_t>(*last - *first + 1) > kMaxNamed) return false;
  for (long k = *first; k <= *last; ++k) frames.push_back(k);
  return true;
}

}  // namespace

std::optional<std::vector<long>> readFrameSelection(std::string_view text, long count) {
  std::vector<long> frames;
  for (std::size_t start = 0;;) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (!addFrames(text.substr(start, comma - start), count, frames)) return std::nullopt;
    if (comma == text.size()) break;
    start = comma + 1;
  }
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

std::string framePath(const std::string& dir, long frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06ld.png", frame);
  return dir + "/" + name;
}

std::optional<long> frameCount(double seconds, int fps) {
  const double frames = std::round(seconds * fps);
  if (!(frames >= 2 && frames <= kMaxFrames)) return std::nullopt;
  return static_cast<long>(frames);
}

deep::ViewNumber frameZoom(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k,
                           long n) {
  if (k <= 0) return zoomFrom;
  if (k >= n - 1) return zoomTo;
  // exp(log z0 + (log z1 - log z0) * k / (n - 1))
  deep::MpfrNumber from = magnitude(zoomFrom);
  deep::MpfrNumber to = magnitude(zoomTo);
  mpfr_log(from.get(), from.get(), MPFR_RNDN);
  mpfr_log(to.get(), to.get(), MPFR_RNDN);
  mpfr_sub(to.get(), to.get(), from.get(), MPFR_RNDN);
  mpfr_mul_si(to.get(), to.get(), k, MPFR_RNDN);
  mpfr_div_si(to.get(), to.get(), n - 1, MPFR_RNDN);
  mpfr_add(to.get(), to.get(), from.get(), MPFR_RNDN);
  mpfr_exp(to.get(), to.get(), MPFR_RNDN);

  if (zoomTo.isNegative()) mpfr_neg(to.get(), to.get(), MPFR_RNDN);
  return deep::ViewNumber::of(to.get(), kFrameZoomDigits, deep::ViewNumber::Notation::kScientific);
}

double magnificationLog2(const deep::ViewNumber& zoom) {
  const deep::FloatExp wide = zoom.isZero() ? deep::FloatExp(1) : zoom.wide();
  return std::log2(std::fabs(wide.mantissa())) + static_cast<double>(wide.exponent());
}

double frameScale(const deep::ViewNumber& zoomFrom, const deep::ViewNumber& zoomTo, long k,
                  long n) {
  const double from = magnificationLog2(zoomFrom);
  return from +
         (magnificationLog2(zoomTo) - from) * static_cast<double>(k) / static_cast<double>(n - 1);
}

}  // namespace orvane::render
