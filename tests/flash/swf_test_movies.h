#pragma once
// Movies built byte by byte for the reader's tests, and a scratch folder.
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace swftest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

inline void appendLe32(Bytes& to, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) to.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Writes bit fields from the most significant bit of each byte on.
class BitWriter {
 public:
  void put(std::uint32_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
      if (bit_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> (bit_ % 8));
      ++bit_;
    }
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  std::size_t bit_ = 0;
};

inline Bytes rectangle(unsigned n, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
                       std::int32_t yMax) {
  BitWriter w;
  w.put(n, 5);
  for (std::int32_t v : {xMin, xMax, yMin, yMax}) w.put(static_cast<std::uint32_t>(v), n);
  return w.bytes();
}

// A tag record: short form for lengths under 63, else (or when asked) long.
inline Bytes tag(std::uint16_t code, const Bytes& body, bool longForm = false) {
  Bytes t;
  const bool useLong = longForm || body.size() >= 63;
  const std::uint16_t header =
      static_cast<std::uint16_t>(code << 6 | (useLong ? 63 : body.size()));
  t.push_back(static_cast<std::uint8_t>(header & 0xFF));
  t.push_back(static_cast<std::uint8_t>(header >> 8));
  if (useLong) appendLe32(t, static_cast<std::uint32_t>(body.size()));
  append(t, body);
  return t;
}

inline Bytes background(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return tag(9, {r, g, b}); }

// A DoAction-like tag carrying FSCommand text, as a movie issues it.
inline Bytes command(const std::string& name, const std::string& args) {
  Bytes body = bytesOf("FSCommand:" + name);
  body.push_back(0);
  append(body, bytesOf(args));
  body.push_back(0);
  return tag(12, body);
}

inline Bytes endTag() { return {0, 0}; }

struct Movie {
  std::string signature = "FWS";
  std::uint8_t version = 6;
  Bytes rect = rectangle(15, 0, 550 * 20, 0, 400 * 20);
  Bytes tags;
  // The header's file length; the real size when negative.
  std::int64_t fileLength = -1;
};

inline Bytes build(const Movie& m) {
  Bytes out = bytesOf(m.signature);
  out.push_back(m.version);
  Bytes rest = m.rect;
  append(rest, {0x00, 0x0C, 0x01, 0x00});  // 12 frames per second, 1 frame
  append(rest, m.tags);
  const std::size_t size = 8 + rest.size();
  appendLe32(out, static_cast<std::uint32_t>(m.fileLength < 0 ? size : m.fileLength));
  append(out, rest);
  return out;
}

// The "CWS" form of a plain movie: the same 8-byte header with "CWS", then
// zlib's compress of the rest.
inline Bytes compressMovie(const Bytes& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size() - 8));
  Bytes out(8 + size);
  out[0] = 'C';
  out[1] = 'W';
  out[2] = 'S';
  std::copy(plain.begin() + 3, plain.begin() + 8, out.begin() + 3);
  compress(out.data() + 8, &size, plain.data() + 8, static_cast<uLong>(plain.size() - 8));
  out.resize(8 + size);
  return out;
}

// Filler that zlib cannot shrink much, so that cut-short streams stay long.
inline Bytes noise(std::size_t n, unsigned seed = 1) {
  std::mt19937 gen(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(gen() & 0x3F);  // no letters from the keywords
  return out;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A fresh folder below the system's temporary folder, removed afterwards.
// `path()` ends with a separator, as the reader's folders do.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto base = std::filesystem::temp_directory_path();
    std::random_device rd;
    for (;;) {
      const auto candidate = base / ("swftest" + std::to_string(rd() % 1000000));
      if (std::filesystem::create_directory(candidate)) {
        dir_ = candidate;
        break;
      }
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path() const { return dir_.string() + static_cast<char>(std::filesystem::path::preferred_separator); }
  std::string file(const std::string& name, const Bytes& bytes) const {
    const std::string p = path() + name;
    writeFile(p, bytes);
    return p;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace swftest
