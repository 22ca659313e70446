#pragma once
// TCompressor: drives the compressor library "impborl.dll" (the package's
// slot 1, written to the temporary folder at start-up) to expand one
// implode stream held in memory into a file. One instance per expanded
// file: the constructor loads the library, the destructor unloads it.
//
// Use: construct with the library's folder, test `loaded` (false gives
// CompressorUnavailable to the caller), Expand, destroy, then check the
// target's existence and length, which is the integrity check of expanded
// data.
#include <windows.h>

#include <cstdint>
#include <string>

#include "dcl/dcl_c.h"
#include "installer/install_error.h"
#include "package/memory_stream.h"
#include "system/win_file.h"

class TCompressor {
 public:
  // Loads folder + "impborl.dll", or the bare name "impborl.dll" through the
  // system's library search when the folder is empty (the folder ends with a
  // backslash). Never fails outwards: a missing file (5), a loading failure
  // (the system's error) or a missing entry point (6) goes to the trace and
  // leaves `loaded` false with the library unloaded.
  explicit TCompressor(const std::string& libraryFolder);
  ~TCompressor();
  TCompressor(const TCompressor&) = delete;
  TCompressor& operator=(const TCompressor&) = delete;

  // Expands the `length` bytes at `buffer` into targetPath (created,
  // replacing any file of that name) through the library's "_explode".
  // Returns 0, or the system's error number when the target cannot be
  // created (nothing is expanded then), or OutOfMemory when the input copy
  // cannot be made, or CompressorUnavailable when the library is not loaded.
  // A damaged or short stream and failing writes are not reported here: the
  // file then ends early, and the caller's length check finds it. The
  // library's own result and the first failed write stay readable below.
  InstallError Expand(const std::string& targetPath, const std::uint8_t* buffer, std::int32_t length);

  // The library is loaded and all three entry points are bound.
  bool loaded = false;

  // CRC-32 of the expanded bytes of the last Expand.
  std::uint32_t outputCrc() const { return outputCRC_; }
  // What "_explode" returned in the last Expand (0 for a complete stream).
  unsigned explodeResult() const { return explodeResult_; }
  // The first write to the target that failed in the last Expand, or 0.
  InstallError writeError() const { return writeError_; }

  // One work area for every expansion: only one runs at a time.
  static constexpr std::size_t kExplodeWorkAreaSize = 12596;

 private:
  using ImplodeEntry = unsigned int(DCL_CDECL*)(dcl_read_fn, dcl_write_fn, char*, void*, unsigned int*,
                                                 unsigned int*);
  using ExplodeEntry = unsigned int(DCL_CDECL*)(dcl_read_fn, dcl_write_fn, char*, void*);
  using CrcEntry = unsigned long(DCL_CDECL*)(char*, unsigned int*, unsigned long*);

  // The library's callbacks; `param` is the address of a variable holding
  // the instance.
  static unsigned int DCL_CDECL readCallback(char* buf, unsigned int* size, void* param);
  static void DCL_CDECL writeCallback(char* buf, unsigned int* size, void* param);

  InstallError load(const std::string& path);
  void unload();

  static char explodeWorkArea[kExplodeWorkAreaSize];

  ImplodeEntry implode_ = nullptr;  // bound, never called
  ExplodeEntry explode_ = nullptr;
  CrcEntry crc32_ = nullptr;
  WinFile outputFile_;
  MemoryStream inputStream_;
  std::uint32_t inputCRC_ = 0;  // kept only while compressing, which nothing does
  std::uint32_t outputCRC_ = 0;
  bool compressing_ = false;
  HMODULE library_ = nullptr;
  unsigned explodeResult_ = 0;
  InstallError writeError_ = err::Success;
};
