#pragma once
// Reads a screen-saver data file's settings record and directory from a
// source, as far as they are there. Never fails outright: what is missing
// is marked, and the caller decides what that means.
#include <cstdint>
#include <optional>
#include <vector>

#include "package/data_file_format.h"
#include "tools/saverpack/lib/package_rules.h"

class ByteSource;

struct DataFileView {
  bool settingsComplete = false;  // all 1,240 bytes were there
  SaverSettings settings;
  std::int32_t entryCount = 0;
  std::vector<DataFileEntry> entries;  // entry 1 first; only whole records that are in the source
};

DataFileView readDataFileView(ByteSource& source);

struct ChunkView {
  bool present = false;  // the 44-byte header lies inside the source
  ChunkHeader header;
};
ChunkView readChunkHeader(ByteSource& source, std::int32_t chunkOffset);

// The summary the package rules check; `where(i)` names entry i (from 0).
template <class Where>
DataFacts dataFactsOf(const DataFileView& view, const std::string& fileWhere, Where where) {
  DataFacts facts;
  facts.mainMovieMode = mainMovieModeOf(view.settings);
  facts.where = fileWhere;
  for (std::size_t i = 0; i < view.entries.size(); ++i) {
    const DataFileEntry& e = view.entries[i];
    facts.entries.push_back({dataEntryNameOf(e), e.type == kAliasEntryType, where(i)});
  }
  return facts;
}
