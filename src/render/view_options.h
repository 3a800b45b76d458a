// The view options: the one table that names them, from which the command line, its help,
// the view a picture keeps and the reading of that view are all made.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/option_value.h"
#include "render/render_request.h"

namespace orvane {

struct ViewOption {
  const char* name;       // --name on the command line and in a kept view
  const char* valueName;  // for the help
  const char* help;
  // Reads the option's value into the view, or throws an OptionError.
  void (*read)(const OptionValue& value, ViewRequest& view);
  // The value as a picture keeps it, from a view with every value filled in (see drawnView);
  // nothing when the option is left out.
  std::optional<std::string> (*write)(const ViewRequest& drawn);
};

// In the order a picture keeps them.
std::span<const ViewOption> viewOptions();

// The row of the option named `name` (no dashes), or nothing.
const ViewOption* findViewOption(std::string_view name);

// The checks that span several options, once every option is read: --precision double takes
// only numbers in a double's range.
void checkView(const ViewRequest& view);

}  // namespace orvane
