// The reason the C library gives for the last failure, for the one-line messages of files.
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

namespace orvane {

// strerror(errno), never "Success": a failure that set no errno reads as an I/O error.
inline std::string systemError() {
  return errno != 0 ? std::strerror(errno) : "input/output error";
}

}  // namespace orvane
