// orvane-render hands the videos to orvane-render-video, the program beside it.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "render/video_launch.h"

namespace orvane {

namespace {

constexpr int kNoVideoProgram = 1;

}  // namespace

int drawVideo(const RenderRequest&, ComputeOptions, char* argv[]) {
  std::error_code failed;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  const std::string program = (self.parent_path() / "orvane-render-video").string();
  if (!failed) execv(program.c_str(), argv);  // returns only when it failed
  std::fprintf(stderr, "orvane-render: zoom videos need '%s', which cannot run: %s\n",
               program.c_str(), failed ? failed.message().c_str() : std::strerror(errno));
  return kNoVideoProgram;
}

}  // namespace orvane
