// The 32-bit impborl.dll next to the 32-bit zlib under Wine: the same corpus
// and operations as dcl_bench (the host's Google Benchmark program), timed
// by this small program, which loads the DLL by name and calls its exports.
//   dcl_bench_win.exe CORPUS-FOLDER [REPETITIONS]
// Each repetition times every operation once (interleaved, so that the
// machine's load falls on all of them alike), by the thread's CPU time over
// at least 1 s of runs; the ratios to zlib are taken per repetition. Prints
// min/median/max of the throughputs (uncompressed MB/s) and of the ratios.
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using ReadFn = unsigned int(__cdecl*)(char*, unsigned int*, void*);
using WriteFn = void(__cdecl*)(char*, unsigned int*, void*);
using ExplodeFn = unsigned int(__cdecl*)(ReadFn, WriteFn, char*, void*);
using ImplodeFn = unsigned int(__cdecl*)(ReadFn, WriteFn, char*, void*, unsigned int*, unsigned int*);

ExplodeFn explodeEntry;
ImplodeFn implodeEntry;

struct Io {
  const Bytes* in;
  std::size_t offset;
  Bytes* out;
  std::size_t used;
};

unsigned int __cdecl readIo(char* buf, unsigned int* size, void* param) {
  Io& io = *static_cast<Io*>(param);
  const std::size_t n = std::min<std::size_t>(*size, io.in->size() - io.offset);
  std::memcpy(buf, io.in->data() + io.offset, n);
  io.offset += n;
  return static_cast<unsigned>(n);
}

void __cdecl writeIo(char* buf, unsigned int* size, void* param) {
  Io& io = *static_cast<Io*>(param);
  if (io.used + *size > io.out->size()) io.out->resize((io.used + *size) * 2);
  std::memcpy(io.out->data() + io.used, buf, *size);
  io.used += *size;
}

Bytes readFile(const std::string& path) {
  Bytes b;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  unsigned char block[65536];
  std::size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) b.insert(b.end(), block, block + n);
  std::fclose(f);
  return b;
}

[[noreturn]] void fail(const char* file, const char* what) {
  std::fprintf(stderr, "%s: %s\n", file, what);
  std::exit(2);
}

double cpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

// MB/s of `bytes` per run of f, over at least 1 s of CPU time.
template <class F>
double throughput(std::size_t bytes, F f) {
  int runs = 0;
  const double start = cpuSeconds();
  double elapsed = 0;
  do {
    f();
    ++runs;
    elapsed = cpuSeconds() - start;
  } while (elapsed < 1.0);
  return static_cast<double>(bytes) * runs / elapsed / 1e6;
}

struct Stats {
  std::vector<double> v;
  void add(double x) { v.push_back(x); }
  std::string text(const char* format = "%.2f") const {
    std::vector<double> s = v;
    std::sort(s.begin(), s.end());
    char buf[128], a[32], b[32], c[32];
    std::snprintf(a, sizeof a, format, s.front());
    std::snprintf(b, sizeof b, format, s[s.size() / 2]);
    std::snprintf(c, sizeof c, format, s.back());
    std::snprintf(buf, sizeof buf, "%s / %s / %s", a, b, c);
    return buf;
  }
};

void benchFile(const std::string& folder, const char* name, unsigned type, int repetitions) {
  const Bytes data = readFile(folder + "\\" + name);
  std::vector<char> implodeWork(36312), explodeWork(12596);
  Bytes stream(data.size() + data.size() / 4 + 1024), out(data.size() + 1024);
  unsigned dsize = 4096;
  Io packed{&data, 0, &stream, 0};
  if (implodeEntry(readIo, writeIo, implodeWork.data(), &packed, &type, &dsize) != 0) fail(name, "implode failed");
  stream.resize(packed.used);
  uLongf deflatedSize = compressBound(static_cast<uLong>(data.size()));
  Bytes deflated(deflatedSize);
  compress2(deflated.data(), &deflatedSize, data.data(), static_cast<uLong>(data.size()), 6);
  deflated.resize(deflatedSize);

  Stats explodeRate, inflateRate, implodeRate, deflateRate, explodeRatio, implodeRatio;
  for (int r = 0; r < repetitions; ++r) {
    const double e = throughput(data.size(), [&] {
      Io io{&stream, 0, &out, 0};
      if (explodeEntry(readIo, writeIo, explodeWork.data(), &io) != 0 || io.used != data.size()) fail(name, "explode failed");
    });
    const double i = throughput(data.size(), [&] {
      uLongf n = static_cast<uLongf>(out.size());
      uncompress(out.data(), &n, deflated.data(), static_cast<uLong>(deflated.size()));
    });
    Bytes scratch(stream.size() + 4096);
    const double m = throughput(data.size(), [&] {
      Io io{&data, 0, &scratch, 0};
      implodeEntry(readIo, writeIo, implodeWork.data(), &io, &type, &dsize);
    });
    Bytes zscratch(compressBound(static_cast<uLong>(data.size())));
    const double d = throughput(data.size(), [&] {
      uLongf n = static_cast<uLongf>(zscratch.size());
      compress2(zscratch.data(), &n, data.data(), static_cast<uLong>(data.size()), 6);
    });
    explodeRate.add(e);
    inflateRate.add(i);
    implodeRate.add(m);
    deflateRate.add(d);
    explodeRatio.add(e / i);
    implodeRatio.add(m / d);
  }
  std::printf("%-10s %-6s size %.2f%% (zlib-6 %.2f%%)\n", name, type == 1 ? "ascii" : "binary",
              100.0 * static_cast<double>(stream.size()) / static_cast<double>(data.size()),
              100.0 * static_cast<double>(deflated.size()) / static_cast<double>(data.size()));
  std::printf("  explode %s MB/s, inflate %s MB/s, ratio %s\n", explodeRate.text().c_str(), inflateRate.text().c_str(),
              explodeRatio.text("%.3f").c_str());
  std::printf("  implode %s MB/s, deflate %s MB/s, ratio %s\n", implodeRate.text().c_str(), deflateRate.text().c_str(),
              implodeRatio.text("%.3f").c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dcl_bench_win CORPUS-FOLDER [REPETITIONS]\n");
    return 1;
  }
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
  HMODULE dll = LoadLibraryA("impborl.dll");
  if (dll == nullptr) {
    std::fprintf(stderr, "impborl.dll not found\n");
    return 1;
  }
  explodeEntry = reinterpret_cast<ExplodeFn>(reinterpret_cast<void*>(GetProcAddress(dll, "_explode")));
  implodeEntry = reinterpret_cast<ImplodeFn>(reinterpret_cast<void*>(GetProcAddress(dll, "_implode")));
  if (explodeEntry == nullptr || implodeEntry == nullptr) return 1;
  std::printf("min / median / max over %d repetitions (CPU time)\n", repetitions);
  benchFile(argv[1], "x86", 0, repetitions);
  benchFile(argv[1], "text", 0, repetitions);
  benchFile(argv[1], "text", 1, repetitions);
  benchFile(argv[1], "photo.bmp", 0, repetitions);
  benchFile(argv[1], "x86.gz", 0, repetitions);
  return 0;
}
