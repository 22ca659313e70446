// Implode/explode throughput and sizes next to zlib (level 6) on the same
// input in the same run: ratios taken within one run hold on a noisy machine.
// The corpus comes from make_corpus.sh; DCL_CORPUS names its folder.
// ratios.py runs this and prints the ratios (min/median/max over repetitions).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "dcl/dcl.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path + " (run tests/dcl/bench/make_corpus.sh)");
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

// Output into a buffer sized once, so that no run pays for growing it.
struct Sink {
  Bytes buffer;
  std::size_t used = 0;
  dcl::Writer writer() {
    return [this](std::span<const std::uint8_t> block) {
      if (used + block.size() > buffer.size()) buffer.resize((used + block.size()) * 2);
      std::memcpy(buffer.data() + used, block.data(), block.size());
      used += block.size();
      return true;
    };
  }
};

dcl::Reader spanReader(std::span<const std::uint8_t>& rest) {
  return [&rest](std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min(buffer.size(), rest.size());
    std::memcpy(buffer.data(), rest.data(), n);
    rest = rest.subspan(n);
    return n;
  };
}

Bytes deflate6(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6) != Z_OK) throw std::runtime_error("deflate");
  out.resize(size);
  return out;
}

void statistics(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
      ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

void registerFile(const std::string& folder, const std::string& name, bool ascii) {
  auto data = std::make_shared<Bytes>(readFile(folder + "/" + name));
  const auto size = static_cast<std::int64_t>(data->size());

  std::vector<std::pair<std::string, dcl::ImplodeOptions>> modes = {{"binary4k", {}}};
  if (ascii) modes.push_back({"ascii4k", {dcl::LiteralMode::Ascii, 4096}});

  for (const auto& [mode, options] : modes) {
    auto stream = std::make_shared<Bytes>();
    if (dcl::implode(*data, *stream, options) != dcl::Result::Ok) throw std::runtime_error("implode");

    statistics(benchmark::RegisterBenchmark(("Explode/" + name + "/" + mode).c_str(), [=](benchmark::State& state) {
      Sink sink;
      sink.buffer.resize(data->size());
      for (auto _ : state) {
        std::span<const std::uint8_t> rest(*stream);
        sink.used = 0;
        if (dcl::explode(spanReader(rest), sink.writer()) != dcl::Result::Ok) state.SkipWithError("explode failed");
      }
      state.SetBytesProcessed(state.iterations() * size);
    }));
    for (auto level : {dcl::Level::Default, dcl::Level::Best}) {
      const std::string label = level == dcl::Level::Best ? "ImplodeBest/" : "Implode/";
      dcl::ImplodeOptions o = options;
      o.level = level;
      statistics(benchmark::RegisterBenchmark((label + name + "/" + mode).c_str(), [=](benchmark::State& state) {
        Sink sink;
        sink.buffer.resize(data->size() + 1024);
        for (auto _ : state) {
          std::span<const std::uint8_t> rest(*data);
          sink.used = 0;
          if (dcl::implode(spanReader(rest), sink.writer(), o) != dcl::Result::Ok) state.SkipWithError("implode failed");
        }
        state.SetBytesProcessed(state.iterations() * size);
        state.counters["size%"] = 100.0 * static_cast<double>(sink.used) / static_cast<double>(size);
      }));
    }
  }

  auto deflated = std::make_shared<Bytes>(deflate6(*data));
  statistics(benchmark::RegisterBenchmark(("Inflate/" + name).c_str(), [=](benchmark::State& state) {
    Bytes out(data->size());
    for (auto _ : state) {
      uLongf outSize = static_cast<uLongf>(out.size());
      if (uncompress(out.data(), &outSize, deflated->data(), static_cast<uLong>(deflated->size())) != Z_OK)
        state.SkipWithError("inflate failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
  }));
  statistics(benchmark::RegisterBenchmark(("Deflate/" + name).c_str(), [=](benchmark::State& state) {
    Bytes out(compressBound(static_cast<uLong>(data->size())));
    uLongf outSize = 0;
    for (auto _ : state) {
      outSize = static_cast<uLongf>(out.size());
      if (compress2(out.data(), &outSize, data->data(), static_cast<uLong>(data->size()), 6) != Z_OK)
        state.SkipWithError("deflate failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["size%"] = 100.0 * static_cast<double>(outSize) / static_cast<double>(size);
  }));
}

}  // namespace

int main(int argc, char** argv) {
  const char* corpus = std::getenv("DCL_CORPUS");
  const std::string folder = corpus != nullptr ? corpus : "build/dcl-corpus";
  registerFile(folder, "x86", false);
  registerFile(folder, "text", true);
  registerFile(folder, "photo.bmp", false);
  registerFile(folder, "x86.gz", false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
