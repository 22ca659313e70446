#include "tools/saverpack/lib/plan_facts.h"

#include <fstream>

#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_reader.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

const char* slotKey(int slot) {
  static constexpr const char* keys[kSlotCount] = {
      "stub", "compressor", "flash-installer", "picture", "license", "readme",
      "module", "saver-file", "data", "support-files[0]", "support-files[1]"};
  return keys[slot];
}

std::vector<std::uint8_t> headOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> head(8);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head;
}

DataFacts factsOfDataFile(const SlotSource& s) {
  FileSource file(s.path);
  const DataFileView view = readDataFileView(file);
  return dataFactsOf(view, s.where, [&](std::size_t i) { return s.where + " (entry " + std::to_string(i + 1) + ")"; });
}

}  // namespace

DataFacts factsOfDataPlan(const DataPlan& d) {
  DataFacts facts;
  facts.where = d.where;
  facts.mainMovieMode = d.mainMovieMode.value_or(0);
  if (!d.mainMovieMode && d.settings) {
    std::ifstream in(*d.settings, std::ios::binary);
    SaverSettings s;
    in.read(reinterpret_cast<char*>(s.bytes), kSaverSettingsSize);
    facts.mainMovieMode = mainMovieModeOf(s);
  }
  for (const DataItem& i : d.items) facts.entries.push_back({i.name, i.alias, i.where});
  return facts;
}

PackageFacts factsOfPlan(const PackagePlan& plan, const std::string& displayName) {
  PackageFacts f;
  f.header = plan.header;
  f.headerWhere = plan.headerWhere;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SlotFacts& out = f.slots[static_cast<std::size_t>(slot)];
    out.where = displayName + ": " + slotKey(slot);
    const auto& src = plan.slots[static_cast<std::size_t>(slot)];
    if (!src) continue;
    out.used = true;
    out.name = src->name;
    out.kind = src->kind;
    out.where = src->where;
  }
  // The builder always fills slots 0 and 1 (or fails): the stub and the
  // compressor library under their fixed names.
  f.slots[Slot::Installer] = {true, kInstallerSlotName, EntryKind::Executable, false, false, {}, displayName + ": stub"};
  SlotFacts& lib = f.slots[Slot::Compressor];
  lib.used = true;
  lib.name = kCompressorStoredName;
  lib.kind = EntryKind::TempRenamed;
  if (!plan.compressorWhere.empty()) lib.where = plan.compressorWhere;
  if (const auto& pic = plan.slots[Slot::Picture]) {
    f.slots[Slot::Picture].head = headOf(pic->path);
    f.slots[Slot::Picture].headKnown = true;
  }
  if (plan.data) f.data = factsOfDataPlan(*plan.data);
  else if (const auto& d = plan.slots[Slot::DataFile]) f.data = factsOfDataFile(*d);
  return f;
}

void checkPlan(const PackagePlan& plan, const std::string& displayName, Diagnostics& out) {
  // A ready-made data file is checked as verify would check it in the package.
  if (const auto& d = plan.slots[Slot::DataFile]; d && !plan.data) {
    FileSource file(d->path);
    verifyDataFileBytes(file, d->where + " (" + d->path.filename().string() + ")", out);
  }
  checkPackageRules(factsOfPlan(plan, displayName), out);
}
