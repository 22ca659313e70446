// The DLL-convention functions over the core.
#include "dcl/dcl_c.h"

#include "dcl/dcl_stream.h"

namespace {

struct CallerIo {
  dcl_read_fn read;
  dcl_write_fn write;
  void* param;
};

std::size_t readThrough(void* context, std::uint8_t* buffer, std::size_t capacity) {
  const auto& io = *static_cast<CallerIo*>(context);
  unsigned int size = static_cast<unsigned int>(capacity);
  return io.read(reinterpret_cast<char*>(buffer), &size, io.param);
}

bool writeThrough(void* context, const std::uint8_t* block, std::size_t length) {
  const auto& io = *static_cast<CallerIo*>(context);
  unsigned int size = static_cast<unsigned int>(length);
  // The convention hands out a non-const pointer; the callee must not write.
  io.write(reinterpret_cast<char*>(const_cast<std::uint8_t*>(block)), &size, io.param);
  return true;
}

}  // namespace

extern "C" unsigned int DCL_CDECL dcl_explode(dcl_read_fn read, dcl_write_fn write, char* work, void* param) {
  if (read == nullptr || write == nullptr || work == nullptr) return static_cast<unsigned>(dcl::Result::Abort);
  CallerIo caller{read, write, param};
  const dcl::detail::StreamIo io{readThrough, writeThrough, &caller};
  return static_cast<unsigned>(dcl::detail::explodeStream(io, work));
}

extern "C" unsigned int DCL_CDECL dcl_implode(dcl_read_fn read, dcl_write_fn write, char* work, void* param,
                                              unsigned int* type, unsigned int* dsize) {
  if (dsize == nullptr) return static_cast<unsigned>(dcl::Result::InvalidDictionarySize);
  if (type == nullptr) return static_cast<unsigned>(dcl::Result::InvalidMode);
  if (read == nullptr || write == nullptr || work == nullptr) return static_cast<unsigned>(dcl::Result::Abort);
  CallerIo caller{read, write, param};
  const dcl::detail::StreamIo io{readThrough, writeThrough, &caller};
  return static_cast<unsigned>(dcl::detail::implodeStream(io, work, *type, *dsize));
}

extern "C" unsigned long DCL_CDECL dcl_crc32(char* buf, unsigned int* size, unsigned long* old_crc) {
  const auto crc = static_cast<std::uint32_t>(*old_crc);
  return dcl::detail::crc32(crc, reinterpret_cast<const std::uint8_t*>(buf), *size);
}
