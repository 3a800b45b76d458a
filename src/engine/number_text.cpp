// Numbers as the program shows them in text boxes and the status bar.
#include "engine/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace orvane {

std::string generalDecimal(double value) {
  if (value == 0) return "0";
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, error == std::errc{} ? end : buffer);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

}  // namespace orvane
