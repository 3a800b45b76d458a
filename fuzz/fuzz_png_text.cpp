// pngTexts on arbitrary bytes, as --from reads any file it is given: it ends, and either
// refuses with a reason or gives texts whose keys are 1 to 79 bytes without a NUL. Inputs
// that start with a PNG signature and header are the interesting ones; the seeds are such.
#include <cstdio>
#include <cstring>
#include <memory>

#include "fuzz_check.h"
#include "png/png_text.h"

namespace {

using orvane::fuzz::check;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;  // fmemopen needs a buffer of at least one byte
  // A private copy: fmemopen's buffer is writable, even when opened for reading.
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
  std::memcpy(bytes.get(), data, size);
  const std::unique_ptr<std::FILE, FileCloser> file(fmemopen(bytes.get(), size, "rb"));
  check(file != nullptr, "cannot open the input as a file");
  std::string error;
  const std::optional<orvane::PngTexts> texts = orvane::pngTexts(file.get(), error);
  check(texts.has_value() != !error.empty(), "not exactly one of texts and a reason");
  if (texts) {
    for (const auto& [key, text] : *texts) {
      check(!key.empty() && key.size() <= 2 * 79, "a key outside 1 to 79 Latin-1 characters");
      check(key.find('\0') == std::string::npos, "a key with a NUL");
    }
  }
  return 0;
}
