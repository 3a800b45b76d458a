// Whether a picture's reference orbits fit in the machine's memory, checked before any work.
#pragma once

#include <cstdint>
#include <string>

#include "render/render_request.h"

namespace orvane {

// The machine's physical memory in bytes.
std::uint64_t machineMemory();

// Empty when the deep picture `request` asks for keeps its reference orbits within `memory`
// bytes (a double picture and the Hole keep none), and so do both ends of a video; else one
// line naming --depth.
std::string depthMemoryRefusal(const RenderRequest& request, std::uint64_t memory);

}  // namespace orvane
