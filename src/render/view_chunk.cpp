// The view a picture was drawn from, kept in the PNG itself as a text chunk.
#include "render/view_chunk.h"

#include <algorithm>
#include <map>
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

std::optional<std::string> keptViewText(const std::string& path, std::string& error) {
  const std::optional<PngTexts> texts = pngTexts(path, error);
  if (!texts) return std::nullopt;
  // The last chunk of the key wins, as when the picture is loaded.
  std::string kept;
  for (const auto& [key, text] : *texts)
    if (key == kViewChunkKey) kept = text;
  return kept;
}

std::string viewDifference(const std::string& kept, const std::string& expected) {
  // name -> value, the last of a name winning as when the view is read
  const auto values = [](const std::string& text) {
    std::map<std::string, std::string> options;
    for (const std::string& word : words(text)) {
      const std::size_t equals = std::min(word.find('='), word.size());
      options[word.substr(0, equals)] = equals < word.size() ? word.substr(equals + 1) : "";
    }
    return options;
  };
  const std::map<std::string, std::string> have = values(kept);
  const std::map<std::string, std::string> want = values(expected);
  const auto valueIn = [](const std::map<std::string, std::string>& options,
                          const std::string& name) {
    const auto found = options.find(name);
    return found == options.end() ? std::string("none") : found->second;
  };
  std::vector<std::string> names;
  for (const ViewOption& option : viewOptions()) names.push_back("--" + std::string(option.name));
  for (const auto& options : {want, have})  // then any that are not view options
    for (const auto& [name, value] : options)
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  for (const std::string& name : names) {
    const std::string a = valueIn(have, name);
    const std::string b = valueIn(want, name);
    if (a != b) return name + " is " + a.substr(0, 40) + ", not " + b.substr(0, 40);
  }
  return {};
}

bool readKeptView(const std::string& flag, const std::string& path, ViewRequest& view,
                  std::string& error) {
  std::string reason;
  const std::optional<std::string> kept = keptViewText(path, reason);
  if (!kept) {
    error = flag + ": '" + path + "' is not a PNG picture that can be read (" + reason + ")";
    return false;
  }
  const std::vector<std::string> options = words(*kept);
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
