// A file written under a temporary name beside its own and renamed when complete, so that no
// half-written file ever carries the final name, not even when the run is interrupted.
#pragma once

#include <string>

namespace orvane::video {

// Makes SIGINT and SIGTERM remove the pending file before the program ends as the signal ends
// it.
void removePendingOnInterrupt();

// One file at a time may be pending.
class PendingFile {
 public:
  explicit PendingFile(std::string path);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Where to write: in the same folder, so the rename neither copies nor crosses file systems.
  const std::string& temporary() const { return temporary_; }
  // Renames the temporary to the final name; false, with the temporary removed, on failure.
  bool commit();

 private:
  std::string path_;
  std::string temporary_;
  bool committed_ = false;
};

}  // namespace orvane::video
