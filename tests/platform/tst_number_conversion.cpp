// Reading the numbers users type: the locale's form, the plain form and full-width forms.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/number_conversion.h"

namespace orvane {
namespace {

// A Chinese input method types full-width digits, signs and points.
TEST(ReadNumber, ReadsThePlainAndTheFullWidthForms) {
  const std::pair<const char16_t*, double> rows[] = {
      {u"  -3 ", -3},      {u"1E+20", 1e20},       {u".5", 0.5},
      {u"１２．５", 12.5}, {u"－０．２５", -0.25}, {u"１Ｅ３", 1000},
      {u"３。５", 3.5},    {u"\u22122", -2},       {u"\u3000７\u3000", 7},
  };
  for (auto [text, value] : rows) EXPECT_EQ(readNumber(text), value) << value;
  // Refused; the ones beyond the range of doubles are numbers all the same, and say so.
  const std::pair<const char16_t*, bool> refused[] = {
      {u"", false},    {u"   ", false},   {u"abc", false},   {u"1e400", true},
      {u"nan", false}, {u"-inf", true},   {u"1.2.3", false}, {u"12a", false},
      {u"--1", false}, {u"1,000", false}, {u"1²", false},    {u"－１ｅ９９９", true},
  };
  for (auto [text, tooLarge] : refused) {
    EXPECT_EQ(readNumber(text), std::nullopt) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(isNumberTooLarge(text), tooLarge) << QString::fromUtf16(text).toStdString();
  }
}

// German writes "2,5" and groups with "."; group separators are refused, so "2.5" is not 25
// but falls to the plain form.
TEST(ReadNumber, ReadsTheLocaleFormAndThePlainForm) {
  const QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(readNumber(u"2,5", german), 2.5);
  EXPECT_EQ(readNumber(u"2.5", german), 2.5);
  EXPECT_EQ(readNumber(u"-1,5e3", german), -1500);
  EXPECT_EQ(readNumber(u"2,5", QLocale(QLocale::Chinese, QLocale::China)), std::nullopt);
}

// Halves go to the even neighbour; only what fits in 16 bits after rounding is taken.
TEST(WholeNumber16, RoundsHalvesToEvenWithinSixteenBits) {
  const std::pair<double, std::optional<std::int16_t>> rows[] = {
      {12.5, 12},         {13.5, 14},    {-0.5, 0},    {-45.2, -45}, {32767.4, 32767},
      {-32768.5, -32768}, {32767.5, {}}, {-32769, {}}, {1e300, {}},  {std::nan(""), {}}};
  for (auto [value, whole] : rows) EXPECT_EQ(wholeNumber16(value), whole) << value;
  EXPECT_EQ(readWholeNumber16(u"３"), 3);
  EXPECT_EQ(readWholeNumber16(u"2.5"), 2);
  EXPECT_EQ(readWholeNumber16(u"+"), std::nullopt);
}

}  // namespace
}  // namespace orvane
