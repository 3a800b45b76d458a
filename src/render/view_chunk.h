// The view a picture was drawn from, kept in the PNG itself as a text chunk, so that the
// picture can be drawn again from the file alone.
#pragma once

#include <optional>
#include <string>

#include "render/render_request.h"

namespace orvane {

// The PNG text key under which the view is kept.
inline constexpr char kViewChunkKey[] = "OrvaneView";  // no blank: Qt reads keys up to one

// The view as the renderer's own options, "--formula=julia --zoom=1.5 ...", from a view with
// every value filled in (see drawnView).
std::string viewChunkText(const ViewRequest& drawn);

// The view text kept in the PNG at `path`, empty when it keeps none; nothing, with the reason
// in `error`, when the file cannot be read as a PNG.
std::optional<std::string> keptViewText(const std::string& path, std::string& error);

// The first option, in the order views are written, whose value differs between two view
// texts, as "--name is A, not B" (the kept value first, "none" for one left out); empty when
// they give every option alike.
std::string viewDifference(const std::string& kept, const std::string& expected);

// Reads the view kept in the PNG at `path` into `view`, over what it holds; false with a
// one-line reason in `error` when the file cannot be read, keeps no view, or a damaged one.
// The reason starts with `flag`, the option that named the file.
bool readKeptView(const std::string& flag, const std::string& path, ViewRequest& view,
                  std::string& error);

}  // namespace orvane
