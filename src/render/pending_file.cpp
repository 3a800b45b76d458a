// A file written under a temporary name beside its own and renamed when complete.
#include "render/pending_file.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace orvane::video {

namespace {

// The signal handler may only read plain memory: the pending name is copied here.
char gPendingName[4096];
volatile std::sig_atomic_t gArmed = 0;

extern "C" void removeAndEnd(int signal) {
  if (gArmed) unlink(gPendingName);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::string hostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "host";
  return name;
}

}  // namespace

void removePendingOnInterrupt() {
  std::signal(SIGINT, removeAndEnd);
  std::signal(SIGTERM, removeAndEnd);
}

// Host and process in the name: runs on several machines may share the folder.
PendingFile::PendingFile(std::string path)
    : path_(std::move(path)),
      temporary_(path_ + "." + hostName() + "-" + std::to_string(getpid()) + ".part") {
  gArmed = 0;
  if (temporary_.size() < sizeof gPendingName) {
    std::memcpy(gPendingName, temporary_.c_str(), temporary_.size() + 1);
    gArmed = 1;
  }
}

PendingFile::~PendingFile() {
  gArmed = 0;
  if (!committed_) std::remove(temporary_.c_str());
}

bool PendingFile::commit() {
  committed_ = std::rename(temporary_.c_str(), path_.c_str()) == 0;
  gArmed = 0;
  if (!committed_) std::remove(temporary_.c_str());
  return committed_;
}

}  // namespace orvane::video
