// Where an output file lands: the temporary beside it, the rename, and the removal on failure
// or on an interrupting signal.
#include "png/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <utility>

#include "png/system_error.h"

namespace orvane {

namespace {

// The temporaries a signal removes. The handler may only read plain memory, so each name is
// copied into static storage. A few at once: a run writes a frame while its video is pending.
constexpr int kSlots = 8;
constexpr std::size_t kNameBytes = 4096;
enum SlotState : int { kFree, kFilling, kArmed };
std::atomic<int> gSlotState[kSlots];
char gSlotName[kSlots][kNameBytes];
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the states");

// Ctrl+C, kill's default and a closed terminal.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporariesAndEnd(int signal) {
  for (int i = 0; i < kSlots; ++i)
    if (gSlotState[i].load() == kArmed) unlink(gSlotName[i]);
  // Ended as the signal ends it, so the shell sees 128 + the signal's number.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Once per process, before the first temporary exists. A signal that was ignored when the
// program started (nohup's SIGHUP) stays ignored.
void installHandlers() {
  static const bool installed = [] {
    for (const int signal : kEndingSignals) {
      struct sigaction previous {};
      if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = removeTemporariesAndEnd;
      // The others wait while one removes the files, so that none ends the process halfway.
      sigemptyset(&action.sa_mask);
      for (const int other : kEndingSignals) sigaddset(&action.sa_mask, other);
      action.sa_flags = SA_RESTART;
      sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

// The slot that now holds `name`; -1 when the name is too long or every slot is taken, and the
// file then goes unprotected, as it would have without the handler.
int arm(const std::string& name) {
  if (name.size() >= kNameBytes) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (gSlotState[i].compare_exchange_strong(expected, kFilling)) {
      std::memcpy(gSlotName[i], name.c_str(), name.size() + 1);
      gSlotState[i].store(kArmed);
      return i;
    }
  }
  return -1;
}

void disarm(int slot) {
  if (slot >= 0) gSlotState[slot].store(kFree);
}

// Runs on several machines may share a folder, so the host is part of the temporary's name.
std::string hostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "host";
  std::string host = name;
  std::replace(host.begin(), host.end(), '/', '_');
  return host;
}

}  // namespace

OutputFile::OutputFile(std::string path, Opening opening) : path_(std::move(path)) {
  installHandlers();
  open(opening);
}

OutputFile::~OutputFile() {
  if (!committed_) discard();
}

bool OutputFile::open(Opening opening) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  const fs::file_status status = fs::status(path_, ignored);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    direct_ = true;
    if (fs::is_directory(status)) {
      fail(std::strerror(EISDIR));
      return false;
    }
    writePath_ = path_;
    if (opening == Opening::byName) return true;
    const int descriptor = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    stream_ = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
    if (!stream_) {
      fail(systemError());
      if (descriptor >= 0) close(descriptor);
      return false;
    }
    return true;
  }
  std::string target = path_;
  if (fs::is_symlink(fs::symlink_status(path_, ignored))) {
    // A link to a file not made yet is followed one step, as opening it for writing does.
    std::error_code dangling, unreadable;
    fs::path resolved = fs::canonical(path_, dangling);
    if (dangling) {
      const fs::path link(path_);
      resolved = link.parent_path() / fs::read_symlink(link, unreadable);
    }
    if (!unreadable) target = resolved.string();
  }
  finalPath_ = target;
  return openTemporary(target, opening);
}

// Made by this process alone (O_EXCL), with the mode that a new file gets here; a leftover of
// an earlier process with the same number is passed over.
bool OutputFile::openTemporary(const std::string& target, Opening opening) {
  const std::string stem = target + "." + hostName() + "-" + std::to_string(getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    writePath_ = stem + std::to_string(attempt) + ".part";
    // Armed before the file exists: a signal in between would otherwise leave it behind.
    slot_ = arm(writePath_);
    const int descriptor =
        ::open(writePath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      const int reason = errno;
      disarm(slot_);
      slot_ = -1;
      errno = reason;
      if (reason == EEXIST) continue;
      break;
    }
    if (opening == Opening::byName) {
      close(descriptor);
      return true;
    }
    stream_ = fdopen(descriptor, "wb");
    if (stream_) return true;
    fail(systemError());
    close(descriptor);
    discard();
    return false;
  }
  const std::string reason = systemError();
  writePath_.clear();
  fail(reason);
  return false;
}

bool OutputFile::commit() {
  if (committed_) fail("the file was already committed");
  if (error_.empty() && stream_) {
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!closed) fail(systemError());
  }
  if (error_.empty() && !direct_ && std::rename(writePath_.c_str(), finalPath_.c_str()) != 0)
    fail(systemError());
  if (!error_.empty()) {
    if (!committed_) discard();
    return false;
  }
  committed_ = true;
  // Only now: until the rename, a signal must still find the temporary.
  disarm(slot_);
  slot_ = -1;
  return true;
}

void OutputFile::discard() {
  if (stream_) std::fclose(stream_);
  stream_ = nullptr;
  if (!direct_ && !writePath_.empty()) unlink(writePath_.c_str());
  disarm(slot_);
  slot_ = -1;
  writePath_.clear();
}

void OutputFile::fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write '" + path_ + "': " + reason;
}

}  // namespace orvane
