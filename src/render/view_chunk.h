// The view a picture was drawn from, kept in the PNG itself as a text chunk, so that the
// picture can be drawn again from the file alone.
#pragma once

#include <optional>
#include <string>

#include <QStringList>

#include "engine/explorer_state.h"
#include "engine/poster.h"
#include "render/render_options.h"

namespace orvane {

// The PNG text key under which the view is kept.
inline constexpr char kViewChunkKey[] = "OrvaneView";  // no blank: Qt reads keys up to one

// The shortest text that reads back to exactly this number.
std::string exactText(double value);

// The view as the pass drew it (defaults filled in, offsets as the pass left them) at `size`,
// written as the renderer's own options: "--formula=julia --zoom=1.5 ...". The magnification
// and centre the request gave are kept as given, digit for digit, and so is a precision it
// asked for; other numbers are written so that they read back to the same value.
std::string viewOptions(const ExplorerState& state, const DialogValues& dialogs, PosterSize size,
                        const RenderRequest& request);

// The options kept in the PNG at `path`, checked to be view options only; or nothing with a
// one-line reason in `error` when the file cannot be read, has no view, or a damaged one.
std::optional<QStringList> viewOptionsFrom(const QString& path, std::string& error);

}  // namespace orvane
