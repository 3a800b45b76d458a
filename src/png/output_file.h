// Where an output file lands: written under a temporary name beside its own and renamed when
// complete, so that no half-written picture, frame or video ever carries the final name, not
// even when the run is interrupted.
#pragma once

#include <cstdio>
#include <string>

namespace orvane {

// One file being written. A device or a pipe (/dev/stdout) is written directly. Anything else
// is written under `<name>.<host>-<process>-<n>.part` in the same folder, so the rename
// neither copies nor crosses file systems; through a symbolic link, beside the file it names,
// so the link stays. Until commit() succeeds, SIGINT, SIGTERM and SIGHUP remove the temporary
// before the program ends as the signal ends it, and so does the destructor.
class OutputFile {
 public:
  enum class Opening {
    stream,  // the caller writes through stream()
    byName,  // the caller opens writePath() itself, as FFmpeg does
  };

  // Makes the temporary at once, so that a place where no file can be made is reported before
  // anything is computed; error() says why it could not.
  explicit OutputFile(std::string path, Opening opening = Opening::stream);
  ~OutputFile();  // without a successful commit(), removes the temporary
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Open for writing with Opening::stream; null otherwise, or once the file failed or was
  // committed.
  std::FILE* stream() const { return stream_; }

  // The temporary, or the device itself; empty when it could not be made.
  const std::string& writePath() const { return writePath_; }

  // Closes the stream and gives the file its final name. False, with the reason in error()
  // and the temporary removed, when either step failed or the file was never made.
  [[nodiscard]] bool commit();

  // "cannot write 'PATH': reason"; empty while nothing failed.
  const std::string& error() const { return error_; }

 private:
  bool open(Opening opening);
  bool openTemporary(const std::string& target, Opening opening);
  void fail(const std::string& reason);
  void discard();

  std::string path_;
  std::string finalPath_;  // `path_`, or the file a symbolic link there names
  std::string writePath_;
  std::FILE* stream_ = nullptr;
  int slot_ = -1;        // where the signal handler finds the temporary's name
  bool direct_ = false;  // written in place: a device or a pipe
  bool committed_ = false;
  std::string error_;
};

}  // namespace orvane
