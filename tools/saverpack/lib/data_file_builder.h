#pragma once
// Writes a screen-saver data file: the settings record (from a 1,240-byte
// file, or zero-filled) with its entry count and main-movie mode set, the
// directory, then one chunk per stored file, back to back in entry order.
// Aliases have no chunk (their chunk offset is 0). Each chunk header holds
// the CRC-32 of the file's bytes in its otherwise unused field at offset 4.
#include <cstdint>
#include <filesystem>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/package_plan.h"

class Progress;

std::uint64_t inputSizeOf(const DataPlan& plan);

// Writes the data file into `output` (renamed into place when complete).
// Warnings (an empty file, which the installer does not write) go to `out`.
void buildDataFile(const DataPlan& plan, const std::filesystem::path& output, Diagnostics& out, Progress* progress);
