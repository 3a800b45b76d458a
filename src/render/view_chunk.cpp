// The view a picture was drawn from, kept in the PNG itself as a text chunk.
#include "render/view_chunk.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "png/png_text.h"
#include "render/view_options.h"

namespace orvane {

std::string viewChunkText(const ViewRequest& drawn) {
  std::string text;
  for (const ViewOption& option : viewOptions()) {
    const std::optional<std::string> value = option.write(drawn);
    if (!value) continue;
    if (!text.empty()) text += ' ';
    text += "--" + std::string(option.name) + "=" + *value;
  }
  return text;
}

namespace {

// The blank-separated words of the text.
std::vector<std::string> words(std::string_view text) {
  std::vector<std::string> parts;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t blank = std::min(text.find(' ', start), text.size());
    if (blank > start) parts.emplace_back(text.substr(start, blank - start));
    start = blank + 1;
  }
  return parts;
}

// Reads one kept "--name=value" into the view; false when it is not a view option.
bool readKeptOption(const std::string& option, ViewRequest& view) {
  const std::size_t equals = option.find('=');
  if (option.rfind("--", 0) != 0 || equals == std::string::npos) return false;
  const std::string name = option.substr(2, equals - 2);
  const ViewOption* row = findViewOption(name);
  if (!row) return false;
  row->read(OptionValue(name, option.substr(equals + 1)), view);
  return true;
}

}  // namespace

bool readKeptView(const std::string& flag, const std::string& path, ViewRequest& view,
                  std::string& error) {
  std::string reason;
  const std::optional<PngTexts> texts = pngTexts(path, reason);
  if (!texts) {
    error = flag + ": '" + path + "' is not a PNG picture that can be read (" + reason + ")";
    return false;
  }
  // The last chunk of the key wins, as when the picture is loaded.
  std::string kept;
  for (const auto& [key, text] : *texts)
    if (key == kViewChunkKey) kept = text;
  const std::vector<std::string> options = words(kept);
  if (options.empty()) {
    error = flag + ": '" + path + "' carries no Orvane view";
    return false;
  }
  try {
    for (const std::string& option : options) {
      if (!readKeptOption(option, view)) {
        error =
            flag + ": the view in '" + path + "' is damaged near '" + option.substr(0, 40) + "'";
        return false;
      }
    }
  } catch (const OptionError& refused) {
    error = flag + ": the view in '" + path + "' is damaged: " + refused.text;
    return false;
  }
  return true;
}

}  // namespace orvane
