// A view number from a text the test knows to be a plain decimal.
#pragma once

#include <string_view>

#include "deep/view_number.h"

namespace orvane::deep::testing {

inline ViewNumber number(std::string_view text) {
  return *ViewNumber::read(text);
}

}  // namespace orvane::deep::testing
