// Captions and keys kept in the tables as UTF-8 string views, turned into Qt text.
#pragma once

#include <string_view>

#include <QString>

namespace orvane {

inline QString utf8Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvane
