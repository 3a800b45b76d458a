// The text chunks of PNG files, read without decoding the picture.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

using PngTexts = std::vector<std::pair<std::string, std::string>>;  // key, UTF-8 text

// The text chunks (tEXt, zTXt and iTXt) of the PNG at `path`, in file order; or nothing with
// a short reason in `error` when the file cannot be opened, is not a PNG, or is cut short or
// damaged before its end. A text chunk that does not follow the format is left out, as
// viewers do.
std::optional<PngTexts> pngTexts(const std::string& path, std::string& error);
// The same from an open file, read from where it stands.
std::optional<PngTexts> pngTexts(std::FILE* file, std::string& error);

}  // namespace orvane
