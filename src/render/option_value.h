// The text of one option, read into the values the renderer takes; a value it cannot take
// throws an OptionError naming the option, what it expects and what it got.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "deep/view_number.h"

namespace orvane {

struct OptionError {
  std::string text;  // one line
};

class OptionValue {
 public:
  // `name` without dashes; `text` as given, a leading plus included.
  OptionValue(std::string name, std::string text);

  const std::string& name() const { return name_; }
  const std::string& text() const { return text_; }

  // "-o" or "--name": one-letter options are written with one dash, as the user typed them.
  std::string flag() const;
  // Refuses the value: "--name: expected EXPECTED, got 'TEXT'", a text past 40 characters
  // shown by its first 40 and its length.
  [[noreturn]] void fail(std::string_view expected) const;

  // A whole number from `low` to `high`.
  long whole(long low, long high, std::string_view expected) const;
  // `count` whole numbers, each from `low` to `high`, separated by commas.
  std::vector<long> wholeList(std::size_t count, long low, long high,
                              std::string_view expected) const;
  // Two finite doubles X,Y.
  std::pair<double, double> realPair(std::string_view expected) const;
  // A plain decimal of any length, or two of them X,Y.
  deep::ViewNumber number(std::string_view expected) const;
  std::pair<deep::ViewNumber, deep::ViewNumber> numberPair(std::string_view expected) const;

  // The value of the word given, from a table of {word, value} rows.
  template <class T, std::size_t N>
  T choice(const std::pair<const char*, T> (&choices)[N], std::string_view expected) const {
    for (const auto& [word, value] : choices)
      if (text_ == word) return value;
    fail(expected);
  }

 private:
  std::string name_;
  std::string text_;
};

// Numbers are read in the plain C form, whatever the locale. A leading plus is taken.
std::optional<double> readReal(std::string_view text);
std::optional<long> readWhole(std::string_view text);

}  // namespace orvane
