// The text of one option, read into the values the renderer takes.
#include "render/option_value.h"

#include <charconv>
#include <cmath>

namespace orvane {

namespace {

std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  return text;
}

std::vector<std::string_view> splitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

}  // namespace

std::optional<double> readReal(std::string_view text) {
  text = withoutPlus(text);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<long> readWhole(std::string_view text) {
  text = withoutPlus(text);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

OptionValue::OptionValue(std::string name, std::string text)
    : name_(std::move(name)), text_(std::move(text)) {}

std::string OptionValue::flag() const {
  return (name_.size() == 1 ? "-" : "--") + name_;
}

void OptionValue::fail(std::string_view expected) const {
  // A pasted number may run to thousands of digits: its start and its length tell it apart.
  constexpr std::size_t kShown = 40;
  const std::string got = text_.size() <= kShown
                              ? "'" + text_ + "'"
                              : "'" + text_.substr(0, kShown) + "...' (" +
                                    std::to_string(text_.size()) + " characters)";
  throw OptionError{flag() + ": expected " + std::string(expected) + ", got " + got};
}

long OptionValue::whole(long low, long high, std::string_view expected) const {
  const std::optional<long> value = readWhole(text_);
  if (!value || *value < low || *value > high) fail(expected);
  return *value;
}

std::vector<long> OptionValue::wholeList(std::size_t count, long low, long high,
                                         std::string_view expected) const {
  const std::vector<std::string_view> parts = splitCommas(text_);
  if (parts.size() != count) fail(expected);
  std::vector<long> values;
  for (const std::string_view part : parts) {
    const std::optional<long> value = readWhole(part);
    if (!value || *value < low || *value > high) fail(expected);
    values.push_back(*value);
  }
  return values;
}

std::pair<double, double> OptionValue::realPair(std::string_view expected) const {
  const std::vector<std::string_view> parts = splitCommas(text_);
  if (parts.size() != 2) fail(expected);
  const std::optional<double> first = readReal(parts[0]);
  const std::optional<double> second = readReal(parts[1]);
  if (!first || !second) fail(expected);
  return {*first, *second};
}

deep::ViewNumber OptionValue::number(std::string_view expected) const {
  std::optional<deep::ViewNumber> value = deep::ViewNumber::read(withoutPlus(text_));
  if (!value) fail(expected);
  return std::move(*value);
}

std::pair<deep::ViewNumber, deep::ViewNumber> OptionValue::numberPair(
    std::string_view expected) const {
  const std::vector<std::string_view> parts = splitCommas(text_);
  if (parts.size() != 2) fail(expected);
  std::optional<deep::ViewNumber> first = deep::ViewNumber::read(withoutPlus(parts[0]));
  std::optional<deep::ViewNumber> second = deep::ViewNumber::read(withoutPlus(parts[1]));
  if (!first || !second) fail(expected);
  return {std::move(*first), std::move(*second)};
}

}  // namespace orvane
