// Numbers to text and back: the general decimal form and the locale-aware reading.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <QLocale>

#include "number_conversion.h"

namespace orvane {
namespace {

struct TextCase {
  double value;
  const char* text;
};

TEST(NumberText, WritesGeneralDecimalForm) {
  const TextCase cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {-0.5, "-0.5"},
      {0.3, "0.3"},
      {-0.4, "-0.4"},
      {1, "1"},
      {1.2, "1.2"},
      {0.12345678, "0.12345678"},
      {-0.12345679, "-0.12345679"},
      {-1e-08, "-1E-08"},
      {1e20, "1E+20"},
      {123456789012345, "123456789012345"},
      {1234567890123456, "1.23456789012346E+15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-05"},
      {1.0 / 3, "0.333333333333333"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(numberText(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST(NumberText, ReadsBackWhatItWrites) {
  for (double value : {-0.5, 0.1, 1e-300, 123.456, -9.87654321e100}) {
    const auto read = readNumber(numberText(value));
    ASSERT_TRUE(read.has_value()) << value;
    EXPECT_NEAR(*read, value, std::abs(value) * 1e-14);
  }
}

struct ReadCase {
  const char16_t* text;
  double value;
};

TEST(ReadNumber, AcceptsPlainFullWidthAndBlankSurroundedForms) {
  const ReadCase cases[] = {
      {u"12.5", 12.5},   {u"  -3 ", -3},         {u"+4", 4},          {u"1e-8", 1e-8},
      {u"1E+20", 1e20},  {u".5", 0.5},           {u"１２．５", 12.5}, {u"－０．２５", -0.25},
      {u"１Ｅ３", 1000}, {u"\u3000７\u3000", 7}, {u"３。５", 3.5},    {u"\u22122", -2},
  };
  for (const ReadCase& c : cases) {
    const auto read = readNumber(QStringView(c.text));
    ASSERT_TRUE(read.has_value()) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(*read, c.value) << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(ReadNumber, RefusesWhatIsNotAFiniteNumber) {
  for (const char16_t* text : {u"", u"   ", u"abc", u"1e400", u"-1e400", u"nan", u"inf", u"-inf",
                               u"1.2.3", u"12a", u"1,000", u"--1", u"1²"}) {
    EXPECT_FALSE(readNumber(QStringView(text)).has_value())
        << QString::fromUtf16(text).toStdString();
  }
}

TEST(ReadNumber, ReadsTheLocaleFormAndThePlainForm) {
  const QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(readNumber(u"2,5", german), 2.5);
  EXPECT_EQ(readNumber(u"2.5", german), 2.5);  // no group separators: the plain form reads it
  EXPECT_EQ(readNumber(u"-1,5e3", german), -1500);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  EXPECT_EQ(readNumber(u"０.１２５", chinese), 0.125);
  EXPECT_FALSE(readNumber(u"2,5", chinese).has_value());
}

TEST(WholeNumber16, RoundsHalvesToEvenWithinSixteenBits) {
  EXPECT_EQ(wholeNumber16(12.5), 12);
  EXPECT_EQ(wholeNumber16(13.5), 14);
  EXPECT_EQ(wholeNumber16(-0.5), 0);
  EXPECT_EQ(wholeNumber16(-45.2), -45);
  EXPECT_EQ(wholeNumber16(32767.4), 32767);
  EXPECT_EQ(wholeNumber16(-32768.5), -32768);
  EXPECT_FALSE(wholeNumber16(32767.5));
  EXPECT_FALSE(wholeNumber16(-32769));
  EXPECT_FALSE(wholeNumber16(1e300));
  EXPECT_FALSE(wholeNumber16(std::numeric_limits<double>::quiet_NaN()));
}

TEST(ReadWholeNumber16, ReadsTypedWholeNumbers) {
  EXPECT_EQ(readWholeNumber16(u"-99"), -99);
  EXPECT_EQ(readWholeNumber16(u"999"), 999);
  EXPECT_EQ(readWholeNumber16(u"2.5"), 2);
  EXPECT_EQ(readWholeNumber16(u"３"), 3);
  for (const char16_t* text : {u"", u"+", u"-", u"abc", u"1e9", u"."})
    EXPECT_FALSE(readWholeNumber16(QStringView(text))) << QString::fromUtf16(text).toStdString();
}

}  // namespace
}  // namespace orvane
