// ViewNumber: a number of a view read once from its decimal text.
#include "deep/view_number.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace orvane::deep {

namespace {

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

// A 64-bit mantissa settles the size of any text: enough for the exponent and a double's
// mantissa rounded once.
constexpr mpfr_prec_t kSizeBits = 64;

}  // namespace

// MPFR would also take "inf", "nan", "@" exponents, hexadecimal and leading blanks: the
// grammar is checked here so that only plain decimals reach it.
bool isPlainDecimal(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const std::size_t intEnd = skipDigits(text, at);
  std::size_t digits = intEnd - at;
  at = intEnd;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fracEnd = skipDigits(text, at + 1);
    digits += fracEnd - at - 1;
    at = fracEnd;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t expEnd = skipDigits(text, at);
    if (expEnd == at) return false;
    at = expEnd;
  }
  return at == text.size();
}

std::optional<ViewNumber> ViewNumber::read(std::string_view text) {
  if (!isPlainDecimal(text)) return std::nullopt;
  ViewNumber number;
  number.text_ = std::string(text);
  const MpfrNumber size = number.exact(kSizeBits);
  if (!mpfr_number_p(size.get())) return std::nullopt;
  number.wide_ = toFloatExp(size.get());
  if (!mpfr_zero_p(size.get())) number.binaryExponent_ = mpfr_get_exp(size.get());
  number.negative_ = mpfr_sgn(size.get()) < 0;
  number.zero_ = text.find_first_of("123456789") >= text.find_first_of("eE");
  // from_chars rounds correctly, subnormals included, and takes no leading plus.
  const std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number.nearest_);
  if (mpfr_zero_p(size.get())) {
    // 0 itself, or a value below even MPFR's exponents.
    number.nearest_ = mpfr_signbit(size.get()) ? -0.0 : 0.0;
    number.roundsToDouble_ = number.zero_;
  } else if (error != std::errc{} || stop != end) {
    // Out of range: past the largest double, or below the smallest.
    const bool large = number.binaryExponent_ > 0;
    number.nearest_ = std::copysign(large ? DBL_MAX : DBL_TRUE_MIN, number.negative_ ? -1 : 1);
    number.roundsToDouble_ = false;
  }
  return number;
}

ViewNumber ViewNumber::of(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return *read(std::string_view(buffer, error == std::errc{} ? end : buffer));
}

ViewNumber ViewNumber::of(mpfr_srcptr value, int digits, Notation notation) {
  if (mpfr_zero_p(value)) return *read("0");
  mpfr_exp_t exponent = 0;  // the value is 0.DIGITS x 10^exponent
  char* written =
      mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(digits), value, MPFR_RNDN);
  std::string mantissa(written);
  mpfr_free_str(written);
  std::string text;
  if (mantissa.front() == '-') {
    text = "-";
    mantissa.erase(0, 1);
  }
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  const long size = static_cast<long>(mantissa.size());
  if (notation == Notation::kPlain && exponent > -6 && exponent <= 21) {
    if (exponent <= 0) {
      text += "0." + std::string(static_cast<std::size_t>(-exponent), '0') + mantissa;
    } else if (exponent >= size) {
      text += mantissa + std::string(static_cast<std::size_t>(exponent - size), '0');
    } else {
      text += mantissa.substr(0, static_cast<std::size_t>(exponent)) + "." +
              mantissa.substr(static_cast<std::size_t>(exponent));
    }
  } else {
    text += mantissa.substr(0, 1);
    if (size > 1) text += "." + mantissa.substr(1);
    if (exponent != 1) text += "e" + std::to_string(exponent - 1);
  }
  return *read(text);
}

MpfrNumber ViewNumber::exact(mpfr_prec_t bits) const {
  MpfrNumber number(bits);
  mpfr_set_str(number.get(), text_.c_str(), 10, MPFR_RNDN);
  return number;
}

}  // namespace orvane::deep
