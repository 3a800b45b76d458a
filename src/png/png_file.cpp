// PNG files: the streaming writer; its deflate stream is made of bands compressed apart on
// worker threads and joined, as parallel gzip does.
#include "png/png_file.h"

#include <tbb/concurrent_queue.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/info.h>
#include <tbb/task_arena.h>
#include <tbb/task_group.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <new>

#include "png/system_error.h"

namespace orvane {

namespace {

// Level 1 with the Up filter: fractal rows repeat the row above in long runs, so a poster's
// file is within a few per cent of the size Qt's writer gave (level 6, a filter chosen per
// row) at a fraction of the time. The Sub filter or none make it 14 to 25 % larger.
constexpr int kLevel = 1;
constexpr std::uint8_t kUpFilter = 2;
constexpr std::size_t kBandBytes = std::size_t{1} << 20;  // rows per band fill about 1 MiB
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The zlib stream header: deflate with a 32 KiB window, "fastest" as the level hint.
constexpr std::uint8_t kZlibHeader[2] = {0x78, 0x01};

void putBigEndian(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 24);
  out[1] = static_cast<std::uint8_t>(value >> 16);
  out[2] = static_cast<std::uint8_t>(value >> 8);
  out[3] = static_cast<std::uint8_t>(value);
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isPlainAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > 0 && c < 0x7F; });
}

bool isValidKey(const std::string& key) {
  if (key.empty() || key.size() > 79) return false;
  return std::all_of(key.begin(), key.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 32 && byte <= 126) || byte >= 161;
  });
}

}  // namespace

// A run of whole rows, compressed on its own into a piece of the one deflate stream.
struct PngWriter::Band {
  bool last = false;
  int rows = 0;
  std::vector<std::uint8_t> data;   // per row the filter type, then R, G, B of each pixel
  std::vector<std::uint8_t> above;  // the unfiltered row above the band; empty for the top
  std::vector<std::uint8_t> deflated;
  std::uint32_t adler = 1;  // of `data` once filtered
  bool failed = false;
  std::atomic<bool> compressed = false;  // once `deflated`, `adler` and `failed` hold
};

// One raw deflate stream, reset for every band so that bands are independent.
class PngWriter::Deflater {
 public:
  Deflater() {
    ready_ = deflateInit2(&stream_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Deflater() {
    if (ready_) deflateEnd(&stream_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // Filters the band in place (bottom-up, so every row still sees the unfiltered row above)
  // and deflates it. Every band but the last ends on a byte boundary with an empty stored
  // block, not a final one, so the pieces join into one stream.
  void compress(Band& band) {
    const std::size_t stride = band.data.size() / static_cast<std::size_t>(band.rows);
    for (int r = band.rows - 1; r >= 0; --r) {
      std::uint8_t* row = band.data.data() + static_cast<std::size_t>(r) * stride + 1;
      const std::uint8_t* up =
          r > 0 ? row - stride : (band.above.empty() ? nullptr : band.above.data());
      if (up)
        for (std::size_t i = 0; i + 1 < stride; ++i)
          row[i] = static_cast<std::uint8_t>(row[i] - up[i]);
    }
    band.adler = static_cast<std::uint32_t>(adler32_z(1, band.data.data(), band.data.size()));
    band.failed = !ready_ || deflateReset(&stream_) != Z_OK || !deflateAll(band);
  }

 private:
  bool deflateAll(Band& band) {
    const int flush = band.last ? Z_FINISH : Z_SYNC_FLUSH;
    band.deflated.resize(deflateBound(&stream_, band.data.size()) + 64);
    stream_.next_in = band.data.data();
    stream_.avail_in = static_cast<uInt>(band.data.size());
    std::size_t produced = 0;
    for (;;) {
      stream_.next_out = band.deflated.data() + produced;
      stream_.avail_out = static_cast<uInt>(band.deflated.size() - produced);
      const int result = deflate(&stream_, flush);
      produced = band.deflated.size() - stream_.avail_out;
      if (result == Z_STREAM_END || (result == Z_OK && flush == Z_SYNC_FLUSH &&
                                     stream_.avail_in == 0 && stream_.avail_out > 0))
        break;
      if (result != Z_OK && result != Z_BUF_ERROR) return false;
      band.deflated.resize(band.deflated.size() + (1 << 16));
    }
    band.deflated.resize(produced);
    return true;
  }

  z_stream stream_{};
  bool ready_ = false;
};

// Compresses handed-over bands as oneTBB tasks in an arena of `count` threads; with a count of
// one, on the writer's thread. `bands` holds every band handed over and not yet written, in
// order; the writer alone touches it, and takes the bands from the front as they are done.
// `waiting` holds the bands no thread has taken yet: each task takes one, and a writer that
// must wait for the front band takes one too instead of idling.
struct PngWriter::Workers {
  // The arena holds `count - 1` worker threads, as the pass's does; the writer's thread makes
  // up the count. Asking for more workers than the process has would only earn a warning.
  explicit Workers(int most)
      : count(most > 0 ? most : tbb::info::default_concurrency()), arena(count) {}

  ~Workers() {
    if (started)
      arena.execute([this] {
        group.cancel();
        group.wait();
      });
  }

  const int count;

  // The last band is compressed on the writer's thread, which would only wait for it.
  void handOver(std::unique_ptr<Band> band) {
    Band& handed = *band;
    bands.push_back(std::move(band));
    if (count == 1 || handed.last) {
      compress(handed);
      return;
    }
    started = true;
    waiting.push(&handed);
    arena.enqueue(group.defer([this] { compressWaiting(); }));
  }

  // The front band once it is compressed; nothing when no band is waiting, or when it is
  // still being compressed and `wait` is false.
  std::unique_ptr<Band> front(bool wait) {
    if (bands.empty()) return nullptr;
    const Band& band = *bands.front();
    for (;;) {
      // Read before the flag, so that a band done in between changes it and ends the wait.
      const unsigned seen = done.load(std::memory_order_acquire);
      if (band.compressed.load(std::memory_order_acquire)) break;
      if (!wait) return nullptr;
      if (!compressWaiting()) done.wait(seen, std::memory_order_acquire);
    }
    std::unique_ptr<Band> taken = std::move(bands.front());
    bands.pop_front();
    return taken;
  }

  std::size_t pending() const { return bands.size(); }

  std::size_t limit() const { return 2 * static_cast<std::size_t>(count) + 1; }

 private:
  bool compressWaiting() {
    Band* band = nullptr;
    if (!waiting.try_pop(band)) return false;
    compress(*band);
    return true;
  }

  // The band is not touched once marked: the writer may free it at once. The count of bands
  // done lives as long as the tasks, so the wake-up goes there.
  void compress(Band& band) {
    try {
      deflaters.local().compress(band);
    } catch (const std::bad_alloc&) {
      band.failed = true;
    }
    band.compressed.store(true, std::memory_order_release);
    done.fetch_add(1, std::memory_order_release);
    done.notify_all();
  }

  tbb::task_arena arena;
  tbb::task_group group;
  bool started = false;
  tbb::enumerable_thread_specific<Deflater> deflaters;  // one per thread, reset per band
  std::atomic<unsigned> done{0};
  std::deque<std::unique_ptr<Band>> bands;
  tbb::concurrent_queue<Band*> waiting;
};

PngWriter::PngWriter(std::FILE* file, std::string name, int width, int height, int threads)
    : name_(std::move(name)),
      width_(width),
      height_(height),
      workers_(std::make_unique<Workers>(threads)) {
  if (!file) {
    fail("no file to write to");
    return;
  }
  if (width < 1 || height < 1) {
    fail("a picture needs at least one pixel, not " + std::to_string(width) + " x " +
         std::to_string(height));
    return;
  }
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(width);
  if (stride > kBandBytes << 8) {
    fail("a row of " + std::to_string(width) + " pixels is too long");
    return;
  }
  bandRows_ = static_cast<int>(std::clamp<std::size_t>(kBandBytes / stride, 1, 1 << 16));
  file_ = file;
  std::uint8_t header[13] = {0, 0, 0, 0, 0, 0, 0, 0, 8, 2, 0, 0, 0};  // 8-bit RGB
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header + 4, static_cast<std::uint32_t>(height));
  if (std::fwrite(kSignature, 1, sizeof kSignature, file_) != sizeof kSignature)
    fail(systemError());
  writeChunk("IHDR", {header});
  // 3937 dots per metre (100 per inch): the resolution the renderer's pictures have always
  // given, so a picture prints at the same size as before.
  constexpr std::uint8_t kResolution[9] = {0, 0, 0x0F, 0x61, 0, 0, 0x0F, 0x61, 1};
  writeChunk("pHYs", {kResolution});
}

PngWriter::~PngWriter() = default;

void PngWriter::fail(std::string reason) {
  if (error_.empty()) error_ = "cannot write '" + name_ + "': " + std::move(reason);
}

void PngWriter::writeChunk(const char type[4], std::initializer_list<Bytes> parts) {
  if (!error_.empty()) return;
  std::size_t length = 0;
  for (const Bytes part : parts) length += part.size();
  std::uint8_t head[8];
  putBigEndian(head, static_cast<std::uint32_t>(length));
  std::memcpy(head + 4, type, 4);
  uLong crc = crc32_z(0, head + 4, 4);
  // An empty part is passed over: given no buffer, zlib returns a fresh CRC instead.
  for (const Bytes part : parts)
    if (!part.empty()) crc = crc32_z(crc, part.data(), part.size());
  std::uint8_t end[4];
  putBigEndian(end, static_cast<std::uint32_t>(crc));
  const auto put = [this](Bytes part) {
    return part.empty() || std::fwrite(part.data(), 1, part.size(), file_) == part.size();
  };
  bool written = put(head);
  for (const Bytes part : parts) written = written && put(part);
  if (!(written && put(end))) fail(systemError());
}

void PngWriter::addText(std::string key, std::string text) {
  if (!isValidKey(key) || text.find('\0') != std::string::npos) {
    fail("text chunk '" + key.substr(0, 79) + "' has an invalid key or a NUL in its text");
    return;
  }
  texts_.emplace_back(std::move(key), std::move(text));
  if (!dataStarted_) writeTexts();
}

void PngWriter::writeTexts() {
  for (const auto& [key, text] : texts_) {
    // ASCII is the same in tEXt's Latin-1; anything else is kept as UTF-8 in an iTXt chunk
    // (no compression, no language, no translated key).
    const bool ascii = isPlainAscii(text);
    std::string body = key + '\0';
    if (!ascii) body += std::string("\0\0\0\0", 4);
    writeChunk(ascii ? "tEXt" : "iTXt", {bytesOf(body), bytesOf(text)});
  }
  texts_.clear();
}

void PngWriter::row(int y, std::span<const Colour> colours) {
  if (!error_.empty() || finished_) return;
  if (y != nextRow_ || y >= height_ || colours.size() != static_cast<std::size_t>(width_)) {
    fail("row " + std::to_string(y) + " of " + std::to_string(colours.size()) +
         " pixels came where row " + std::to_string(nextRow_) + " of " + std::to_string(width_) +
         " was due");
    return;
  }
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(width_);
  if (!filling_) {
    filling_ = std::make_unique<Band>();
    filling_->rows = std::min(bandRows_, height_ - y);
    filling_->last = y + filling_->rows == height_;
    filling_->data.resize(stride * static_cast<std::size_t>(filling_->rows));
  }
  const int rowInBand = y % bandRows_;
  std::uint8_t* out = filling_->data.data() + static_cast<std::size_t>(rowInBand) * stride;
  *out++ = kUpFilter;
  for (const Colour colour : colours) {
    *out++ = static_cast<std::uint8_t>(redOf(colour));
    *out++ = static_cast<std::uint8_t>(greenOf(colour));
    *out++ = static_cast<std::uint8_t>(blueOf(colour));
  }
  ++nextRow_;
  if (rowInBand + 1 == filling_->rows) submitBand();
}

void PngWriter::submitBand() {
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(width_);
  std::vector<std::uint8_t> lastRow(filling_->data.end() - static_cast<std::ptrdiff_t>(stride) + 1,
                                    filling_->data.end());
  workers_->handOver(std::move(filling_));
  if (nextRow_ < height_) {
    filling_ = std::make_unique<Band>();
    filling_->above = std::move(lastRow);
    filling_->rows = std::min(bandRows_, height_ - nextRow_);
    filling_->last = nextRow_ + filling_->rows == height_;
    filling_->data.resize(stride * static_cast<std::size_t>(filling_->rows));
  }
  // Holding a few bands at most keeps the memory small when compressing falls behind.
  writeDoneBands(false, workers_->limit());
}

// Writes the compressed bands from the front; with `wait`, waits until at most `keep` remain.
void PngWriter::writeDoneBands(bool wait, std::size_t keep, const std::function<void()>& written) {
  for (;;) {
    const bool mustWait = wait || workers_->pending() > keep;
    if (!mustWait && workers_->pending() == 0) return;
    std::unique_ptr<Band> band = workers_->front(mustWait);
    if (!band) return;
    if (band->failed) fail("compressing failed (out of memory?)");
    if (!dataStarted_) writeTexts();
    std::uint8_t adler[4];
    adler_ = static_cast<std::uint32_t>(
        adler32_combine(adler_, band->adler, static_cast<z_off_t>(band->data.size())));
    putBigEndian(adler, adler_);
    writeChunk("IDAT", {dataStarted_ ? Bytes() : Bytes(kZlibHeader), band->deflated,
                        band->last ? Bytes(adler) : Bytes()});
    dataStarted_ = true;
    rowsWritten_ += band->rows;
    if (written) written();
  }
}

bool PngWriter::finish(const std::function<void()>& written) {
  if (finished_) {
    fail("the file was already finished");
    return false;
  }
  finished_ = true;
  if (error_.empty() && nextRow_ != height_)
    fail("only " + std::to_string(nextRow_) + " of " + std::to_string(height_) + " rows came");
  if (error_.empty()) {
    writeDoneBands(true, 0, written);
    writeTexts();
    writeChunk("IEND", {});
  }
  if (error_.empty() && std::fflush(file_) != 0) fail(systemError());
  return error_.empty();
}

}  // namespace orvane
