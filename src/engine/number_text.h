// Numbers as the program shows them in text boxes and the status bar.
#pragma once

#include <string>

namespace orvane {

// General decimal form: 15 significant digits, trailing zeros and point dropped, no leading
// blank, exponent form ("1E-08", "1E+20") where C's %.15G chooses it. Independent of the
// locale; a negative zero shows as "0".
std::string generalDecimal(double value);

}  // namespace orvane
