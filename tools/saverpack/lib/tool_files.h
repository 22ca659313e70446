#pragma once
// The stub and our compressor library travel with the tool: in a "stub"
// folder beside the program. Each is taken from, in order: the command-line
// flag, the manifest's key, that folder, then an environment variable
// (SAVERPACK_STUB, SAVERPACK_COMPRESSOR).
#include <filesystem>

inline constexpr const char* kStubFileName = "saverinst.exe";

// Throws ToolError naming every place looked at when none holds the file.
std::filesystem::path findStub(const std::filesystem::path& flag, const std::filesystem::path& manifest);
std::filesystem::path findCompressor(const std::filesystem::path& flag, const std::filesystem::path& manifest);
