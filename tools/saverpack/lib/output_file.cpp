#include "tools/saverpack/lib/output_file.h"

#include <random>

#include "tools/saverpack/lib/diagnostics.h"

std::filesystem::path temporaryNameBeside(const std::filesystem::path& target) {
  std::random_device rd;
  std::mt19937_64 gen((static_cast<std::uint64_t>(rd()) << 32) ^ rd());
  for (;;) {
    std::filesystem::path p = target;
    p += "." + std::to_string(gen() % 1000000000u) + ".tmp";
    std::error_code ec;
    if (!std::filesystem::exists(p, ec)) return p;
  }
}

OutputFile::OutputFile(std::filesystem::path target) : target_(std::move(target)) {
  temp_ = temporaryNameBeside(target_);
  out_.open(temp_, std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc);
  if (!out_) throw ToolError(target_.string() + ": cannot create " + temp_.filename().string() + " beside it");
}

OutputFile::~OutputFile() {
  if (committed_) return;
  out_.close();
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
}

void OutputFile::fail(const char* what) { throw ToolError(target_.string() + ": " + what + " failed (disk full?)"); }

void OutputFile::write(std::span<const std::uint8_t> bytes) {
  out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out_) fail("writing");
}

std::uint64_t OutputFile::position() {
  const auto p = out_.tellp();
  if (p < 0) fail("seeking");
  return static_cast<std::uint64_t>(p);
}

void OutputFile::seek(std::uint64_t offset) {
  out_.seekp(static_cast<std::streamoff>(offset));
  if (!out_) fail("seeking");
}

void OutputFile::commit(std::uint64_t size) {
  out_.flush();
  if (!out_) fail("writing");
  out_.close();
  std::error_code ec;
  std::filesystem::resize_file(temp_, size, ec);
  if (ec) fail("cutting the file to size");
  std::filesystem::rename(temp_, target_, ec);
  if (ec) throw ToolError(target_.string() + ": cannot rename " + temp_.filename().string() + " to it: " + ec.message());
  committed_ = true;
}

ScratchFile::~ScratchFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}
