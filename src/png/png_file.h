// PNG files written as a stream: 8-bit RGB pictures compressed as their rows arrive, on every
// core.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "engine/colour.h"

namespace orvane {

// Writes one `width` x `height` picture to a stream, row by row, as the rows of a poster
// arrive. Rows are compressed in bands on worker threads while the next rows are computed; a
// few bands are held at a time, never the whole picture. Where the file lands is its caller's
// business (OutputFile): the writer neither opens nor closes the stream.
class PngWriter {
 public:
  // `file` is open for writing; `name` is what the messages call it. `threads` compress while
  // rows come (0: one per core); with 1, the caller's own thread.
  PngWriter(std::FILE* file, std::string name, int width, int height, int threads = 0);
  ~PngWriter();
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  // Adds a text chunk: before the picture data if no row has been written out yet, else after
  // it. `key` is 1 to 79 printable Latin-1 characters; `text` has no NUL, and is kept as
  // UTF-8 when it is not plain ASCII.
  void addText(std::string key, std::string text);

  // Row `y`, left to right, `width` colours; rows come in order from 0.
  void row(int y, std::span<const Colour> colours);

  // Rows already compressed and in the file.
  int rowsWritten() const { return rowsWritten_; }

  // Compresses the last rows and flushes them to the stream; `written` is told each time more
  // rows are in it. False, with the reason in error(), when any step failed, when rows are
  // missing, or when finish() already ran.
  [[nodiscard]] bool finish(const std::function<void()>& written = {});

  // Why the write failed; empty while it has not.
  const std::string& error() const { return error_; }

 private:
  struct Band;
  class Deflater;
  struct Workers;
  using Bytes = std::span<const std::uint8_t>;

  void fail(std::string reason);
  void writeChunk(const char type[4], std::initializer_list<Bytes> parts);
  void writeTexts();
  void submitBand();
  void writeDoneBands(bool wait, std::size_t keep, const std::function<void()>& written = {});

  std::string name_;
  int width_;
  int height_;
  int bandRows_ = 1;
  std::FILE* file_ = nullptr;
  std::string error_;
  std::vector<std::pair<std::string, std::string>> texts_;  // waiting to be written
  int nextRow_ = 0;
  int rowsWritten_ = 0;
  bool dataStarted_ = false;
  bool finished_ = false;
  std::uint32_t adler_ = 1;  // of the whole filtered data so far
  std::unique_ptr<Band> filling_;
  std::unique_ptr<Workers> workers_;
};

}  // namespace orvane
