// The text chunks of PNG files, read without decoding the picture.
#include "png/png_text.h"

#include <sys/types.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace orvane {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;  // the format's own bound
// Text chunks are read whole and inflated up to this size; larger ones are skipped, so that
// a hostile file cannot make the reader hold much memory.
constexpr std::size_t kMaxTextBytes = std::size_t{1} << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::uint32_t bigEndian(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::string utf8FromLatin1(std::string_view text) {
  std::string utf8;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | byte >> 6);
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

// A whole zlib stream inflated; nothing when it is damaged, unfinished or too large.
std::optional<std::string> inflated(std::string_view data) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return std::nullopt;
  std::string out(std::min<std::size_t>(kMaxTextBytes, 64 * data.size() + 256), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  int result = Z_OK;
  while (result == Z_OK) {
    if (stream.total_out == out.size()) {
      if (out.size() >= kMaxTextBytes) break;
      out.resize(std::min(kMaxTextBytes, 2 * out.size()));
    }
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + stream.total_out);
    stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
    result = inflate(&stream, Z_NO_FLUSH);
  }
  out.resize(stream.total_out);
  inflateEnd(&stream);
  if (result != Z_STREAM_END) return std::nullopt;
  return out;
}

// The key and text of a tEXt, zTXt or iTXt chunk's body; nothing when it is malformed.
std::optional<std::pair<std::string, std::string>> textOf(std::string_view type,
                                                          std::string_view body) {
  const std::size_t keyEnd = body.find('\0');
  if (keyEnd == std::string_view::npos || keyEnd == 0 || keyEnd > 79) return std::nullopt;
  std::string key = utf8FromLatin1(body.substr(0, keyEnd));
  std::string_view rest = body.substr(keyEnd + 1);
  if (type == "tEXt") return std::pair{std::move(key), utf8FromLatin1(rest)};
  if (type == "zTXt") {
    if (rest.empty() || rest[0] != 0) return std::nullopt;  // 0: the one method, deflate
    const std::optional<std::string> text = inflated(rest.substr(1));
    if (!text) return std::nullopt;
    return std::pair{std::move(key), utf8FromLatin1(*text)};
  }
  // iTXt: compression flag and method, then the language and the translated key, each ended
  // by a NUL, then the UTF-8 text.
  if (rest.size() < 2 || (rest[0] != 0 && rest[0] != 1) || rest[1] != 0) return std::nullopt;
  const bool compressed = rest[0] == 1;
  rest.remove_prefix(2);
  for (int field = 0; field < 2; ++field) {
    const std::size_t end = rest.find('\0');
    if (end == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(end + 1);
  }
  if (!compressed) return std::pair{std::move(key), std::string(rest)};
  std::optional<std::string> text = inflated(rest);
  if (!text) return std::nullopt;
  return std::pair{std::move(key), std::move(*text)};
}

bool isChunkType(std::string_view type) {
  return std::all_of(type.begin(), type.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

std::optional<PngTexts> pngTexts(const std::string& path, std::string& error) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  return pngTexts(file.get(), error);
}

std::optional<PngTexts> pngTexts(std::FILE* file, std::string& error) {
  unsigned char signature[sizeof kSignature];
  if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
      std::memcmp(signature, kSignature, sizeof signature) != 0) {
    error = "not a PNG file";
    return std::nullopt;
  }
  PngTexts texts;
  std::string body;
  for (bool first = true;; first = false) {
    unsigned char head[8];
    if (std::fread(head, 1, sizeof head, file) != sizeof head) {
      error = "the file is cut short";
      return std::nullopt;
    }
    const std::uint32_t length = bigEndian(head);
    const std::string_view type(reinterpret_cast<const char*>(head + 4), 4);
    if (length > kMaxChunkLength || !isChunkType(type)) {
      error = "the file is damaged";
      return std::nullopt;
    }
    if (first && type != "IHDR") {
      error = "not a PNG file";
      return std::nullopt;
    }
    if (type == "IEND") return texts;
    const bool text = type == "tEXt" || type == "zTXt" || type == "iTXt";
    // Other chunks, the picture data above all, are passed over unread.
    if (!text || length > kMaxTextBytes) {
      if (fseeko(file, static_cast<off_t>(length) + 4, SEEK_CUR) != 0) {
        error = "the file is cut short";
        return std::nullopt;
      }
      continue;
    }
    body.resize(length);
    unsigned char crc[4];
    if (std::fread(body.data(), 1, length, file) != length ||
        std::fread(crc, 1, sizeof crc, file) != sizeof crc) {
      error = "the file is cut short";
      return std::nullopt;
    }
    uLong expected = crc32_z(0, head + 4, 4);
    expected = crc32_z(expected, reinterpret_cast<const Bytef*>(body.data()), body.size());
    if (bigEndian(crc) != expected) {
      error = "the file is damaged";
      return std::nullopt;
    }
    if (auto entry = textOf(type, body)) texts.push_back(std::move(*entry));
  }
}

}  // namespace orvane
