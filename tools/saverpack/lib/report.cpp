#include "tools/saverpack/lib/report.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <sstream>

#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_reader.h"
#include "tools/saverpack/lib/entry_decoder.h"
#include "tools/saverpack/lib/file_names.h"
#include "tools/saverpack/lib/package_reader.h"

// Keys keep the order they are added in, so the JSON reads like the table.
using json = nlohmann::ordered_json;

namespace {

std::string hex32(std::uint32_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", v);
  return b;
}

std::string printable(const std::string& s) { return printableName(s); }

const char* modeName(std::uint8_t mode) {
  switch (mode) {
    case InstallMode::Bitmap: return "bitmap";
    case InstallMode::Movie: case InstallMode::MovieToo: return "movie";
    case InstallMode::Quiet: return "quiet";
    case InstallMode::Jpeg: return "jpeg";
    default: return "none";
  }
}

const char* folderName(TargetFolder f) {
  switch (f) {
    case TargetFolder::Install: return "install";
    case TargetFolder::System: return "system";
    case TargetFolder::Temp: return "temp";
    case TargetFolder::None: return "none";
  }
  return "none";
}

// "stored", "implode binary 4096", "implode (bad header)"
std::string compressionOf(ByteSource& src, std::uint64_t at, bool compressed) {
  if (!compressed) return "stored";
  std::array<std::uint8_t, 2> h{};
  if (!src.read(at, h)) return "implode (cut)";
  const StreamHeader sh = streamHeaderOf(h[0], h[1]);
  if (!sh.valid) return "implode (bad header)";
  return std::string("implode ") + (sh.mode == dcl::LiteralMode::Ascii ? "ascii " : "binary ") +
         std::to_string(sh.dictionarySize);
}

json headerJson(const PackageHeader& h) {
  return {{"installMode", h.installMode},
          {"mode", modeName(h.installMode)},
          {"showLicense", h.showLicense},
          {"hasReadMe", h.hasReadMe},
          {"carriesFlashInstaller", h.carriesFlashInstaller},
          {"flashVersionIndex", h.flashVersionIndex},
          {"offerDisplayPanel", h.offerDisplayPanel},
          {"saverName", printable(saverNameOf(h))}};
}

json slotJson(ByteSource& src, int slot, const PackageEntry& e) {
  json j = {{"slot", slot}, {"used", !isEmptySlot(e)}};
  if (isEmptySlot(e)) return j;
  const EntryTarget t = entryTarget(e.kind, entryNameOf(e));
  j["name"] = printable(entryNameOf(e));
  j["kind"] = e.kind;
  j["target"] = folderName(t.folder);
  j["targetName"] = printable(t.name);
  j["start"] = e.start;
  j["end"] = e.end;
  j["stored"] = storedLength(e);
  j["size"] = e.size;
  j["compressed"] = e.compressed != 0;
  j["compression"] = compressionOf(src, static_cast<std::uint64_t>(std::max(e.start, 0)), e.compressed != 0);
  j["crc"] = e.reserved ? json(hex32(static_cast<std::uint32_t>(e.reserved))) : json(nullptr);
  return j;
}

json dataJson(ByteSource& src) {
  const DataFileView v = readDataFileView(src);
  json j = {{"size", src.size()}, {"complete", v.settingsComplete}};
  if (!v.settingsComplete) return j;
  j["entryCount"] = v.entryCount;
  j["mainMovieMode"] = mainMovieModeOf(v.settings);
  json entries = json::array();
  for (std::size_t i = 0; i < v.entries.size(); ++i) {
    const DataFileEntry& e = v.entries[i];
    json x = {{"entry", i + 1}, {"type", e.type}, {"alias", e.type == kAliasEntryType},
              {"name", printable(dataEntryNameOf(e))}, {"chunkOffset", e.chunkOffset}};
    if (e.type != kAliasEntryType) {
      const ChunkView c = readChunkHeader(src, e.chunkOffset);
      if (c.present) {
        x["expandedSize"] = c.header.expandedSize;
        x["storedSize"] = c.header.compressed ? c.header.storedSize : c.header.expandedSize;
        x["compressed"] = c.header.compressed != 0;
        x["compression"] = compressionOf(src, static_cast<std::uint64_t>(e.chunkOffset) + kChunkHeaderSize,
                                         c.header.compressed != 0);
        x["crc"] = c.header.checksum ? json(hex32(c.header.checksum)) : json(nullptr);
      }
    }
    entries.push_back(std::move(x));
  }
  j["entries"] = std::move(entries);
  return j;
}

json packageJson(ByteSource& src, const std::string& file) {
  const PackageView v = readPackageView(src);
  json j = {{"file", printable(file)}, {"size", v.fileSize}, {"package", v.hasDirectory}};
  if (!v.hasDirectory) return j;
  j["header"] = headerJson(v.directory.header);
  json slots = json::array();
  for (int slot = 0; slot < kSlotCount; ++slot) slots.push_back(slotJson(src, slot, v.directory.entries[static_cast<std::size_t>(slot)]));
  j["slots"] = std::move(slots);
  const PackageEntry& data = v.directory.entries[Slot::DataFile];
  if (!isEmptySlot(data))
    if (auto expanded = expandedEntrySource(src, data)) j["dataFile"] = dataJson(*expanded);
  return j;
}

std::string cell(const json& v) {
  if (v.is_null()) return "-";
  if (v.is_string()) return v.get<std::string>();
  if (v.is_boolean()) return v.get<bool>() ? "yes" : "no";
  return v.dump();
}

std::string pad(const std::string& s, std::size_t width) { return s.size() >= width ? s + " " : s + std::string(width - s.size(), ' '); }

void table(std::ostringstream& out, const json& rows, const std::vector<std::pair<const char*, std::size_t>>& columns) {
  std::string line;
  const auto flush = [&] {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
    line.clear();
  };
  for (const auto& [name, width] : columns) line += pad(name, width);
  flush();
  for (const json& r : rows) {
    for (const auto& [name, width] : columns) {
      std::string v = r.contains(name) ? cell(r[name]) : "";
      if (std::string_view(name) == "name" && r.value("used", true) == false) v = "(unused)";
      line += pad(v, width);
    }
    flush();
  }
}

void dataText(std::ostringstream& out, const json& d) {
  if (!d.value("complete", false)) {
    out << "data file: " << d["size"].dump() << " bytes, shorter than its settings record\n";
    return;
  }
  out << "data file: " << d["entryCount"].dump() << " entries, main movie mode " << d["mainMovieMode"].dump() << "\n";
  table(out, d["entries"],
        {{"entry", 6}, {"type", 5}, {"name", 24}, {"chunkOffset", 12}, {"expandedSize", 13}, {"storedSize", 11},
         {"compression", 20}, {"crc", 8}});
}

std::string render(const json& j, bool asJson, void (*text)(std::ostringstream&, const json&)) {
  if (asJson) return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
  std::ostringstream out;
  text(out, j);
  return out.str();
}

void packageText(std::ostringstream& out, const json& j) {
  out << j["file"].get<std::string>() << ": " << j["size"].dump() << " bytes\n";
  if (!j["package"].get<bool>()) {
    out << "no package: the file is shorter than " << packageOffset + kPackageDirectorySize << " bytes\n";
    return;
  }
  const json& h = j["header"];
  out << "saver name:      " << h["saverName"].get<std::string>() << "\n"
      << "mode:            " << h["installMode"].dump() << " (" << h["mode"].get<std::string>() << ")\n"
      << "licence:         " << h["showLicense"].dump() << "\n"
      << "read-me:         " << h["hasReadMe"].dump() << "\n"
      << "Flash installer: " << h["carriesFlashInstaller"].dump() << "\n"
      << "Flash Player:    " << h["flashVersionIndex"].dump() << "\n"
      << "display panel:   " << h["offerDisplayPanel"].dump() << "\n\n";
  table(out, j["slots"],
        {{"slot", 5}, {"name", 22}, {"kind", 5}, {"target", 8}, {"start", 10}, {"end", 10}, {"stored", 10},
         {"size", 10}, {"compression", 20}, {"crc", 8}});
  if (j.contains("dataFile")) {
    out << '\n';
    dataText(out, j["dataFile"]);
  }
}

void dataFileText(std::ostringstream& out, const json& j) {
  out << j["file"].get<std::string>() << ": " << j["size"].dump() << " bytes\n";
  dataText(out, j);
}

}  // namespace

std::string inspectPackage(ByteSource& source, const std::string& file, bool asJson) {
  return render(packageJson(source, file), asJson, packageText);
}

std::string inspectDataFile(ByteSource& source, const std::string& file, bool asJson) {
  json j = dataJson(source);
  j["file"] = printable(file);
  return render(j, asJson, dataFileText);
}
