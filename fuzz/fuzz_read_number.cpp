// readNumber on arbitrary text, as UTF-8 and as UTF-16, in the system, German and Chinese
// locales: nothing, or a finite double that neither blanks around the text nor full-width
// digits, signs and points change.
#include <cmath>

#include "fuzz_support.h"
#include "number_conversion.h"

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

void readEverywhere(const QString& text) {
  const QString padded = QStringLiteral(" \t") + text + QStringLiteral("\u3000 ");
  const QString wide = fullWidth(text);
  for (int i = 0; i < orvane::fuzz::kLocaleCount; ++i) {
    const QLocale& locale = orvane::fuzz::locales()[i];
    const std::optional<double> value = orvane::readNumber(text, locale);
    check(!value || std::isfinite(*value), "readNumber returned a number that is not finite");
    check(orvane::fuzz::sameNumber(orvane::readNumber(padded, locale), value),
          "blanks around the text changed what readNumber read");
    check(orvane::fuzz::sameNumber(orvane::readNumber(wide, locale), value),
          "full-width characters were not read as their plain forms");
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
