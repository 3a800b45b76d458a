// Numbers to text and back, as every text box and the status bar show and read them.
#pragma once

#include <cstdint>
#include <optional>

#include <QLocale>
#include <QString>
#include <QStringView>

namespace orvane {

// General decimal form: 15 significant digits, trailing zeros and point dropped, no leading
// blank, exponent form ("1E-08", "1E+20") where C's %.15G chooses it.
QString numberText(double value);

// Reads a number typed by the user: in the system locale's form or the plain C form,
// surrounding blanks ignored, full-width digits, signs and points (as a Chinese input method
// types them, "１２．５") read as their plain forms. Empty when the text is not a number or
// the number is not finite.
std::optional<double> readNumber(QStringView text, const QLocale& locale = QLocale::system());

// Whether a text `readNumber` refuses is a number all the same, only beyond the range of
// doubles ("1e999", "-1e999", "inf"): its hint then names the range rather than asking for a
// number.
bool isNumberTooLarge(QStringView text, const QLocale& locale = QLocale::system());

// The nearest whole number, halves to even, when it has a 16-bit value.
std::optional<std::int16_t> wholeNumber16(double value);

// A 16-bit whole number typed by the user, read as `readNumber` reads it and then rounded as
// `wholeNumber16` rounds ("2.5" is 2, "3.5" is 4).
std::optional<std::int16_t> readWholeNumber16(QStringView text,
                                              const QLocale& locale = QLocale::system());

}  // namespace orvane
