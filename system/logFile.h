#pragma once
// Trace points. The bodies are empty on purpose: the installer records
// nothing and writes no log file, but the calls mark the operations by name.
#include <cstdint>

inline void logFile(const char* /*operation*/) {}
inline void logFile(const char* /*operation*/, const char* /*detail*/) {}
inline void logFile(const char* /*operation*/, std::int32_t /*value*/) {}
