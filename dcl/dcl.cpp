// The C++ API over the core: std::function streams and spans.
#include "dcl/dcl.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "dcl/dcl_stream.h"

namespace dcl {
namespace {

struct FunctionIo {
  const Reader& read;
  const Writer& write;
};

std::size_t readFunction(void* context, std::uint8_t* buffer, std::size_t capacity) {
  return static_cast<FunctionIo*>(context)->read(std::span<std::uint8_t>(buffer, capacity));
}

bool writeFunction(void* context, const std::uint8_t* block, std::size_t length) {
  return static_cast<FunctionIo*>(context)->write(std::span<const std::uint8_t>(block, length));
}

Reader spanReader(std::span<const std::uint8_t>& rest) {
  return [&rest](std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min(buffer.size(), rest.size());
    if (n != 0) std::memcpy(buffer.data(), rest.data(), n);
    rest = rest.subspan(n);
    return n;
  };
}

Writer vectorWriter(std::vector<std::uint8_t>& out) {
  return [&out](std::span<const std::uint8_t> block) {
    out.insert(out.end(), block.begin(), block.end());
    return true;
  };
}

}  // namespace

Result explode(const Reader& read, const Writer& write) {
  FunctionIo functions{read, write};
  const detail::StreamIo io{readFunction, writeFunction, &functions};
  auto work = std::make_unique_for_overwrite<std::uint8_t[]>(kExplodeWorkSize);
  return detail::explodeStream(io, work.get());
}

Result explode(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& out) {
  return explode(spanReader(stream), vectorWriter(out));
}

Result implode(const Reader& read, const Writer& write, const ImplodeOptions& options) {
  FunctionIo functions{read, write};
  const detail::StreamIo io{readFunction, writeFunction, &functions};
  const auto mode = static_cast<unsigned>(options.literalMode);
  if (options.level == Level::Best) {
    auto work = std::make_unique_for_overwrite<std::uint8_t[]>(detail::kImplodeBestWorkSize);
    return detail::implodeBestStream(io, work.get(), mode, options.dictionarySize);
  }
  auto work = std::make_unique_for_overwrite<std::uint8_t[]>(kImplodeWorkSize);
  return detail::implodeStream(io, work.get(), mode, options.dictionarySize);
}

Result implode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, const ImplodeOptions& options) {
  return implode(spanReader(data), vectorWriter(out), options);
}

std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::uint8_t> data) {
  return detail::crc32(crc, data.data(), data.size());
}

}  // namespace dcl
