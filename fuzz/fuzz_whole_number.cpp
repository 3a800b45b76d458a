// readWholeNumber16 on arbitrary text, as UTF-8 and as UTF-16, in the system, German and
// Chinese locales: it reads what readNumber reads, rounded to the nearest 16-bit whole number
// with halves to even, and gives nothing exactly when that number has no 16-bit value.
#include <cmath>

#include "fuzz_support.h"
#include "number_conversion.h"

namespace {

using orvane::fuzz::check;

void readEverywhere(const QString& text) {
  for (int i = 0; i < orvane::fuzz::kLocaleCount; ++i) {
    const QLocale& locale = orvane::fuzz::locales()[i];
    const std::optional<std::int16_t> whole = orvane::readWholeNumber16(text, locale);
    const std::optional<double> number = orvane::readNumber(text, locale);
    check(whole == (number ? orvane::wholeNumber16(*number) : std::nullopt),
          "readWholeNumber16 disagrees with wholeNumber16(readNumber)");
    if (!number) {
      check(!whole, "a whole number read from text that is not a number");
      continue;
    }
    // Checked here without the rounding the code uses: the distance, and the tie rule.
    const double x = *number;
    if (whole) {
      const double distance = std::fabs(x - *whole);
      check(distance <= 0.5, "the whole number is not the nearest one");
      check(distance < 0.5 || *whole % 2 == 0, "a half was not rounded to even");
    } else {
      // -32768.5 rounds to even -32768, which has a value; 32767.5 rounds to 32768, which has not.
      check(!(x >= -32768.5 && x < 32767.5), "a number near a 16-bit value read as nothing");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  orvane::fuzz::quietQt();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  readEverywhere(orvane::fuzz::fromUtf8(data, size));
  readEverywhere(orvane::fuzz::fromUtf16(data, size));
  return 0;
}
