// Numbers to text and back, as every text box and the status bar show and read them.
#include "platform/number_conversion.h"

#include <cmath>

#include "engine/number_text.h"

namespace orvane {

namespace {

// Full-width forms and the ideographic blank and full stop become their plain forms. Only
// these: a wider normalisation would also read "1²" as 12.
QString plainForm(QStringView text) {
  constexpr char16_t kFullWidthFirst = u'！';  // U+FF01 .. U+FF5E mirror ASCII 0x21 .. 0x7E
  constexpr char16_t kFullWidthLast = u'～';
  constexpr char16_t kFullWidthOffset = kFullWidthFirst - u'!';
  QString plain;
  plain.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u >= kFullWidthFirst && u <= kFullWidthLast) {
      plain.append(QChar(static_cast<char16_t>(u - kFullWidthOffset)));
    } else if (u == u'\u3000') {
      plain.append(u' ');
    } else if (u == u'。') {
      plain.append(u'.');
    } else if (u == u'\u2212') {  // the typographic minus sign
      plain.append(u'-');
    } else {
      plain.append(c);
    }
  }
  return plain;
}

// Group separators are refused: nobody types thousands in a coordinate, and accepting them
// would read a German "1.5" as 15.
// What the locale reads, finite or not. An overflow reads as an infinity it calls not ok.
std::optional<double> readAnyIn(QLocale locale, const QString& text) {
  locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = locale.toDouble(text, &ok);
  if (ok || std::isinf(value)) return value;
  return std::nullopt;
}

std::optional<double> readIn(const QLocale& locale, const QString& text) {
  const std::optional<double> value = readAnyIn(locale, text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

}  // namespace

QString numberText(double value) {
  return QString::fromStdString(generalDecimal(value));
}

std::optional<double> readNumber(QStringView text, const QLocale& locale) {
  const QString plain = plainForm(text).trimmed();
  if (plain.isEmpty()) return std::nullopt;
  if (auto value = readIn(locale, plain)) return value;
  return readIn(QLocale::c(), plain);
}

bool isNumberTooLarge(QStringView text, const QLocale& locale) {
  const QString plain = plainForm(text).trimmed();
  for (const QLocale& form : {locale, QLocale::c()}) {
    if (const std::optional<double> value = readAnyIn(form, plain); value && std::isinf(*value))
      return true;
  }
  return false;
}

}  // namespace orvane

namespace orvane {

std::optional<std::int16_t> wholeNumber16(double value) {
  const double rounded = std::nearbyint(value);  // the default rounding: halves to even
  if (!(rounded >= -32768 && rounded <= 32767)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> readWholeNumber16(QStringView text, const QLocale& locale) {
  const std::optional<double> value = readNumber(text, locale);
  return value ? wholeNumber16(*value) : std::nullopt;
}

}  // namespace orvane
