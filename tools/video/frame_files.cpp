// The frames of a video as numbered PNG files, each keeping its view.
#include "tools/video/frame_files.h"

#include <cstdio>

#include "tools/video/pending_file.h"

namespace orvane::video {

std::string framePath(const std::string& dir, long frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06ld.png", frame);
  return dir + "/" + name;
}

bool writeFramePng(const QImage& picture, const std::string& path) {
  PendingFile file(path);
  return picture.save(QString::fromStdString(file.temporary()), "PNG") && file.commit();
}

}  // namespace orvane::video
