#include "package/compressor.h"

#include "system/logFile.h"

namespace {

const char kLibraryName[] = "impborl.dll";
constexpr InstallError kLibraryMissing = 5;
constexpr InstallError kEntryPointMissing = 6;

bool fileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

char TCompressor::explodeWorkArea[TCompressor::kExplodeWorkAreaSize];

TCompressor::TCompressor(const std::string& libraryFolder) {
  InstallError failure = err::Success;
  std::string path = kLibraryName;
  if (!libraryFolder.empty()) {
    path = libraryFolder + kLibraryName;
    if (!fileExists(path)) failure = kLibraryMissing;
  }
  if (failure == err::Success) failure = load(path);
  if (failure != err::Success) {
    unload();
    logFile("TCompressor.Create", failure);
  }
}

TCompressor::~TCompressor() { unload(); }

// Loads the library and binds its three entry points; `loaded` is set as
// soon as the library is in, so that a missing entry point unloads it.
InstallError TCompressor::load(const std::string& path) {
  library_ = LoadLibraryA(path.c_str());
  if (library_ == nullptr) {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<InstallError>(error) : err::GeneralFailure;
  }
  loaded = true;
  implode_ = reinterpret_cast<ImplodeEntry>(reinterpret_cast<void*>(GetProcAddress(library_, "_implode")));
  explode_ = reinterpret_cast<ExplodeEntry>(reinterpret_cast<void*>(GetProcAddress(library_, "_explode")));
  crc32_ = reinterpret_cast<CrcEntry>(reinterpret_cast<void*>(GetProcAddress(library_, "_crc32")));
  if (implode_ == nullptr || explode_ == nullptr || crc32_ == nullptr) return kEntryPointMissing;
  return err::Success;
}

void TCompressor::unload() {
  if (loaded) FreeLibrary(library_);
  loaded = false;
  library_ = nullptr;
  implode_ = nullptr;
  explode_ = nullptr;
  crc32_ = nullptr;
}

InstallError TCompressor::Expand(const std::string& targetPath, const std::uint8_t* buffer, std::int32_t length) {
  if (!loaded) return err::CompressorUnavailable;
  compressing_ = false;
  outputCRC_ = 0xFFFFFFFFu;
  explodeResult_ = 0;
  writeError_ = err::Success;

  const std::size_t size = length > 0 && buffer != nullptr ? static_cast<std::size_t>(length) : 0;
  if (!inputStream_.assign(buffer, size)) return err::OutOfMemory;
  const InstallError created = outputFile_.create(targetPath);
  if (created != err::Success) {
    inputStream_.release();
    return created;
  }

  TCompressor* self = this;
  explodeResult_ = explode_(readCallback, writeCallback, explodeWorkArea, &self);

  inputStream_.release();
  outputFile_.close();
  outputCRC_ = ~outputCRC_;
  return err::Success;
}

unsigned int DCL_CDECL TCompressor::readCallback(char* buf, unsigned int* size, void* param) {
  TCompressor& self = **static_cast<TCompressor**>(param);
  const auto delivered = static_cast<unsigned int>(self.inputStream_.read(buf, *size));
  if (delivered > 0 && self.compressing_) {
    unsigned int count = delivered;
    unsigned long crc = self.inputCRC_;
    self.inputCRC_ = static_cast<std::uint32_t>(self.crc32_(buf, &count, &crc));
  }
  return delivered;
}

void DCL_CDECL TCompressor::writeCallback(char* buf, unsigned int* size, void* param) {
  TCompressor& self = **static_cast<TCompressor**>(param);
  const InstallError written = self.outputFile_.writeAll(buf, *size);
  if (written != err::Success && self.writeError_ == err::Success) self.writeError_ = written;
  if (*size > 0 && !self.compressing_) {
    unsigned int count = *size;
    unsigned long crc = self.outputCRC_;
    self.outputCRC_ = static_cast<std::uint32_t>(self.crc32_(buf, &count, &crc));
  }
}
