// The DLL-convention functions: callbacks, work areas of exactly the stated
// size at any alignment, result codes, and the CRC next to zlib's.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "dcl/dcl.h"
#include "dcl/dcl_c.h"
#include "tests/dcl/test_data.h"

namespace {

using dcltest::Bytes;

struct Io {
  const Bytes* in = nullptr;
  std::size_t offset = 0;
  unsigned overclaim = 0;  // a misbehaving reader claims this many bytes more
  Bytes out;
  unsigned writes = 0;
};

unsigned int DCL_CDECL readIo(char* buf, unsigned int* size, void* param) {
  auto& io = *static_cast<Io*>(param);
  const std::size_t n = std::min<std::size_t>(*size, io.in->size() - io.offset);
  std::memcpy(buf, io.in->data() + io.offset, n);
  io.offset += n;
  return static_cast<unsigned>(n) + (n != 0 ? io.overclaim : 0);
}

void DCL_CDECL writeIo(char* buf, unsigned int* size, void* param) {
  auto& io = *static_cast<Io*>(param);
  io.out.insert(io.out.end(), buf, buf + *size);
  ++io.writes;
}

// A work area of exactly `size` bytes at an odd address, at the very end of
// its allocation (so the sanitizers see any overrun), followed on Windows by
// nothing we could check; a guard byte before it catches underruns.
class WorkArea {
 public:
  explicit WorkArea(std::size_t size) : storage_(size + 2, 0xA5) {}
  char* get() { return reinterpret_cast<char*>(storage_.data() + 2); }
  bool guardIntact() const { return storage_[0] == 0xA5 && storage_[1] == 0xA5; }

 private:
  std::vector<std::uint8_t> storage_;
};

Bytes implodeC(const Bytes& data, unsigned type, unsigned dsize, unsigned* result) {
  WorkArea work(dcl::kImplodeWorkSize);
  Io io;
  io.in = &data;
  *result = dcl_implode(readIo, writeIo, work.get(), &io, &type, &dsize);
  EXPECT_TRUE(work.guardIntact());
  return io.out;
}

TEST(DclCApi, RoundTripThroughTheCallbacks) {
  const Bytes data = dcltest::text(40000, 7);
  for (unsigned type : {0u, 1u}) {
    for (unsigned dsize : {1024u, 2048u, 4096u}) {
      unsigned result = 99;
      const Bytes stream = implodeC(data, type, dsize, &result);
      ASSERT_EQ(result, 0u);
      WorkArea work(dcl::kExplodeWorkSize);
      Io io;
      io.in = &stream;
      EXPECT_EQ(dcl_explode(readIo, writeIo, work.get(), &io), 0u);
      EXPECT_TRUE(io.out == data);
      EXPECT_TRUE(work.guardIntact());
    }
  }
}

TEST(DclCApi, ResultCodes) {
  unsigned result = 99;
  EXPECT_TRUE(implodeC({1, 2, 3}, 0, 512, &result).empty());
  EXPECT_EQ(result, 1u);
  EXPECT_TRUE(implodeC({1, 2, 3}, 2, 4096, &result).empty());
  EXPECT_EQ(result, 2u);
  EXPECT_TRUE(implodeC({1, 2, 3}, 2, 3, &result).empty());
  EXPECT_EQ(result, 1u);

  struct Case {
    Bytes stream;
    unsigned result;
  };
  const Case cases[] = {
      {{0x00, 0x06, 0x01, 0xFF}, 0}, {{0x00, 0x08, 0x01, 0xFF}, 1}, {{0x03, 0x06, 0x01, 0xFF}, 2},
      {{0x00}, 3},                   {{0x00, 0x06, 0x1F, 0x00}, 3}, {{0x00, 0x06, 0x82}, 4},
  };
  for (const Case& c : cases) {
    WorkArea work(dcl::kExplodeWorkSize);
    Io io;
    io.in = &c.stream;
    EXPECT_EQ(dcl_explode(readIo, writeIo, work.get(), &io), c.result);
  }
}

TEST(DclCApi, ReaderClaimingMoreThanAskedCannotOverrun) {
  const Bytes data = dcltest::farRepeats(30000, 8);
  unsigned result = 99;
  const Bytes stream = implodeC(data, 0, 4096, &result);
  ASSERT_EQ(result, 0u);
  WorkArea work(dcl::kExplodeWorkSize);
  Io io;
  io.in = &stream;
  io.overclaim = 5000;
  dcl_explode(readIo, writeIo, work.get(), &io);  // any result, no overrun
  EXPECT_TRUE(work.guardIntact());
}

// No state outside the work area: an expansion started from inside another
// one's write callback runs independently.
TEST(DclCApi, Reentrant) {
  const Bytes inner = dcltest::text(5000, 1);
  const Bytes outer = dcltest::randomBytes(20000, 2);
  unsigned result = 99;
  const Bytes innerStream = implodeC(inner, 1, 2048, &result);
  const Bytes outerStream = implodeC(outer, 0, 4096, &result);

  struct Nested : Io {
    const Bytes* innerStream;
    Bytes innerOut;
    int innerRuns = 0;
  } nested;
  nested.in = &outerStream;
  nested.innerStream = &innerStream;
  auto write = [](char* buf, unsigned int* size, void* param) {
    auto& n = *static_cast<Nested*>(param);
    n.out.insert(n.out.end(), buf, buf + *size);
    WorkArea work(dcl::kExplodeWorkSize);
    Io io;
    io.in = n.innerStream;
    EXPECT_EQ(dcl_explode(readIo, writeIo, work.get(), &io), 0u);
    n.innerOut = io.out;
    ++n.innerRuns;
  };
  WorkArea work(dcl::kExplodeWorkSize);
  EXPECT_EQ(dcl_explode(readIo, write, work.get(), &nested), 0u);
  EXPECT_TRUE(nested.out == outer);
  EXPECT_TRUE(nested.innerOut == inner);
  EXPECT_GT(nested.innerRuns, 1);
}

TEST(DclCApi, Crc32MatchesZlibWithoutConditioning) {
  char check[] = "123456789";
  unsigned size = 9;
  unsigned long crc = 0xFFFFFFFFul;
  EXPECT_EQ(dcl_crc32(check, &size, &crc) ^ 0xFFFFFFFFul, 0xCBF43926ul);

  const Bytes data = dcltest::randomBytes(10007, 3);
  for (std::size_t split : {0u, 1u, 3u, 4u, 5000u, 10007u}) {
    unsigned long running = 0xFFFFFFFFul;
    unsigned first = static_cast<unsigned>(split);
    unsigned second = static_cast<unsigned>(data.size() - split);
    running = dcl_crc32(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data())), &first, &running);
    running = dcl_crc32(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data() + split)), &second, &running);
    EXPECT_EQ(running ^ 0xFFFFFFFFul, ::crc32(0, data.data(), static_cast<uInt>(data.size())));
    EXPECT_EQ(dcl::crc32Update(0xFFFFFFFFu, data) ^ 0xFFFFFFFFu, ::crc32(0, data.data(), static_cast<uInt>(data.size())));
  }
}

}  // namespace
