// readNumber and readWholeNumber16 on arbitrary text, as UTF-8 and as UTF-16, in the system,
// German and Chinese locales. readNumber gives nothing, or a finite double that neither blanks
// around the text nor full-width digits, signs and points change. readWholeNumber16 gives what
// readNumber reads, rounded to the nearest 16-bit whole number with halves to even, and
// nothing exactly when that number has no 16-bit value.
#include <cmath>

#include "fuzz_support.h"
#include "platform/number_conversion.h"

namespace {

using orvane::fuzz::check;

// Digits, signs and points in their full-width forms, as a Chinese input method types them.
QString fullWidth(const QString& text) {
  QString wide = text;
  for (QChar& c : wide) {
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u',')
      c = QChar(static_cast<char16_t>(u - u'!' + u'！'));
  }
  return wide;
}

void checkNumber(const QString& text, const QLocale& locale, std::optional<double> value) {
  const QString padded = QStringLiteral(" \t") + text + QStringLiteral("\u3000 ");
  check(!value || std::isfinite(*value), "readNumber returned a number that is not finite");
  check(orvane::fuzz::sameNumber(orvane::readNumber(padded, locale), value),
        "blanks around the text changed what readNumber read");
  check(orvane::fuzz::sameNumber(orvane::readNumber(fullWidth(text), locale), value),
        "full-width characters were not read as their plain forms");
}

// Checked without the rounding the code uses: the distance, and the tie rule.
void checkWholeNumber(const QString& text, const QLocale& locale, std::optional<double> number) {
  const std::optional<std::int16_t> whole = orvane::readWholeNumber16(text, locale);
  if (!number) return check(!whole, "a whole number read from text that is not a number");
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

void readEverywhere(const QString& text) {
  for (int i = 0; i < orvane::fuzz::kLocaleCount; ++i) {
    const QLocale& locale = orvane::fuzz::locales()[i];
    const std::optional<double> number = orvane::readNumber(text, locale);
    checkNumber(text, locale, number);
    checkWholeNumber(text, locale, number);
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
