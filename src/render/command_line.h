// The command line of orvane-render, read into a request.
#pragma once

#include <optional>
#include <string>

#include <QStringList>

#include "render/picture_info.h"
#include "render/render_request.h"

namespace orvane {

struct ParsedCommandLine {
  std::optional<RenderRequest>
      request;  // empty on an error, for --info, or when help was asked for
  std::optional<InfoRequest> info;
  std::string error;  // one line naming the option, when refused
  std::string help;   // the help text, when asked for
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
// With --from, the view kept in that picture is read first and the command line's options
// change single values of it.
ParsedCommandLine parseRenderCommandLine(const QStringList& arguments);

}  // namespace orvane
