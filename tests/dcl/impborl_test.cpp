// impborl.dll as a program that uses the DCL sees it: loaded by name, its
// three functions found by their exported names and called through them.
#include <windows.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "dcl/dcl_c.h"
#include "tests/dcl/test_data.h"

namespace {

using ExplodeFn = unsigned int(__cdecl*)(dcl_read_fn, dcl_write_fn, char*, void*);
using ImplodeFn = unsigned int(__cdecl*)(dcl_read_fn, dcl_write_fn, char*, void*, unsigned int*, unsigned int*);
using CrcFn = unsigned long(__cdecl*)(char*, unsigned int*, unsigned long*);

struct Io {
  const dcltest::Bytes* in;
  std::size_t offset = 0;
  dcltest::Bytes out;
};

unsigned int __cdecl readIo(char* buf, unsigned int* size, void* param) {
  auto& io = *static_cast<Io*>(param);
  const std::size_t n = std::min<std::size_t>(*size, io.in->size() - io.offset);
  std::memcpy(buf, io.in->data() + io.offset, n);
  io.offset += n;
  return static_cast<unsigned>(n);
}

void __cdecl writeIo(char* buf, unsigned int* size, void* param) {
  auto& io = *static_cast<Io*>(param);
  io.out.insert(io.out.end(), buf, buf + *size);
}

template <class F>
F entry(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

class Impborl : public testing::Test {
 protected:
  void SetUp() override {
    dll_ = LoadLibraryA("impborl.dll");
    ASSERT_NE(dll_, nullptr) << GetLastError();
  }
  void TearDown() override {
    if (dll_ != nullptr) FreeLibrary(dll_);
  }
  HMODULE dll_ = nullptr;
};

TEST_F(Impborl, ExportsTheThreeNamesOnly) {
  EXPECT_NE(entry<ExplodeFn>(dll_, "_explode"), nullptr);
  EXPECT_NE(entry<ImplodeFn>(dll_, "_implode"), nullptr);
  EXPECT_NE(entry<CrcFn>(dll_, "_crc32"), nullptr);
  for (const char* other : {"explode", "implode", "crc32", "dcl_explode", "_dcl_explode"}) {
    EXPECT_EQ(GetProcAddress(dll_, other), nullptr) << other;
  }
}

TEST_F(Impborl, ImplodeExplodeAndCrcThroughTheExports) {
  const auto implode = entry<ImplodeFn>(dll_, "_implode");
  const auto explode = entry<ExplodeFn>(dll_, "_explode");
  const auto crc32 = entry<CrcFn>(dll_, "_crc32");
  ASSERT_TRUE(implode && explode && crc32);

  const dcltest::Bytes data = dcltest::text(100000, 4);
  for (unsigned type : {0u, 1u}) {
    for (unsigned dsize : {1024u, 2048u, 4096u}) {
      std::vector<char> implodeWork(36312), explodeWork(12596);
      Io packed{&data, 0, {}};
      ASSERT_EQ(implode(readIo, writeIo, implodeWork.data(), &packed, &type, &dsize), 0u);
      EXPECT_LT(packed.out.size(), data.size() / 2);
      Io unpacked{&packed.out, 0, {}};
      ASSERT_EQ(explode(readIo, writeIo, explodeWork.data(), &unpacked), 0u);
      EXPECT_TRUE(unpacked.out == data);
    }
  }

  unsigned size = static_cast<unsigned>(data.size());
  unsigned long crc = 0xFFFFFFFFul;
  crc = crc32(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data())), &size, &crc);
  EXPECT_EQ(crc ^ 0xFFFFFFFFul, ::crc32(0, data.data(), static_cast<uInt>(data.size())));
}

}  // namespace
