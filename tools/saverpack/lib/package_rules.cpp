#include "tools/saverpack/lib/package_rules.h"

#include <map>

#include "package/data_file_format.h"

#include "tools/saverpack/lib/file_names.h"

namespace {

bool startsWith(const std::vector<std::uint8_t>& head, std::initializer_list<std::uint8_t> magic) {
  if (head.size() < magic.size()) return false;
  std::size_t i = 0;
  for (std::uint8_t b : magic)
    if (head[i++] != b) return false;
  return true;
}

bool isBitmap(const std::vector<std::uint8_t>& h) { return startsWith(h, {'B', 'M'}); }
bool isJpeg(const std::vector<std::uint8_t>& h) { return startsWith(h, {0xFF, 0xD8, 0xFF}); }
bool isPlayableSwf(const std::vector<std::uint8_t>& h) {
  return startsWith(h, {'F', 'W', 'S'}) || startsWith(h, {'C', 'W', 'S'});
}

const char* folderName(TargetFolder f) {
  switch (f) {
    case TargetFolder::Install: return "install";
    case TargetFolder::System: return "system";
    case TargetFolder::Temp: return "temporary";
    case TargetFolder::None: return "no";
  }
  return "no";
}

const char* slotRole(int slot) {
  static constexpr const char* roles[kSlotCount] = {
      "the installer", "the compressor library", "the Flash Player installer", "the picture or movie",
      "the licence", "the read-me", "the screen-saver module", "the saver's further file", "the data file",
      "the first support file", "the second support file"};
  return roles[slot];
}

bool validKind(std::int32_t kind) { return (kind >= 1 && kind <= 7) || kind == EntryKind::InstallFolderToo; }

std::string effectiveName(const PackageFacts& f, int slot) {
  const SlotFacts& s = f.slots[static_cast<std::size_t>(slot)];
  return slot == Slot::Picture ? pictureNameInTemp(f.header.installMode, s.name) : s.name;
}

void checkHeader(const PackageFacts& f, Diagnostics& out) {
  const std::string name = saverNameOf(f.header);
  if (name.empty()) {
    out.error(f.headerWhere.name, "the saver's name is empty; it names the install folder and the uninstall entry");
  } else {
    const std::string why = fileNameProblem(name + " dir");
    if (!why.empty()) out.error(f.headerWhere.name, "the saver's name " + quotedName(name) + " cannot name a folder: " + why);
  }
  if (f.header.flashVersionIndex > 1)
    out.error(f.headerWhere.flashVersion, "the required Flash Player index is " +
                                               std::to_string(f.header.flashVersionIndex) +
                                               "; only 0 (7 r19) and 1 (8 r22) are valid");
  switch (f.header.installMode) {
    case InstallMode::Bitmap: case InstallMode::Movie: case InstallMode::MovieToo:
    case InstallMode::Quiet: case InstallMode::Jpeg:
      break;
    default:
      out.warning(f.headerWhere.mode, "mode " + std::to_string(f.header.installMode) +
                                          " shows neither a picture nor a movie (1 bitmap, 2 or 3 movie, 4 quiet, 8 JPEG)");
  }
}

void checkFlagAgreement(const PackageFacts& f, Diagnostics& out) {
  struct Pair { std::uint8_t flag; int slot; const std::string& where; const char* what; };
  const Pair pairs[] = {{f.header.showLicense, Slot::License, f.headerWhere.license, "licence"},
                        {f.header.hasReadMe, Slot::ReadMe, f.headerWhere.readme, "read-me"},
                        {f.header.carriesFlashInstaller, Slot::FlashInstaller, f.headerWhere.flashInstaller,
                         "Flash Player installer"}};
  for (const Pair& p : pairs) {
    const SlotFacts& s = f.slots[static_cast<std::size_t>(p.slot)];
    if (p.flag && !s.used)
      out.error(p.where, std::string("the ") + p.what + " flag is set but slot " + std::to_string(p.slot) +
                             " is empty: the installer stops with -531");
    if (!p.flag && s.used)
      out.warning(s.where, std::string("the ") + p.what + " flag is clear, so the installer never uses this slot");
  }
  if (f.header.installMode == InstallMode::Quiet && f.slots[Slot::Picture].used)
    out.warning(f.slots[Slot::Picture].where, "a quiet package never extracts slot 3 (the picture or movie)");
  if (f.header.installMode != InstallMode::Quiet && !f.slots[Slot::Picture].used)
    out.error(f.headerWhere.mode, "slot 3 (the picture or movie) is empty; every mode but 4 (quiet) needs it: "
                                  "the installer stops with -531");
  if (!f.slots[Slot::Compressor].used)
    out.error(f.slots[Slot::Compressor].where, "slot 1 (the compressor library) is empty: the installer stops with -531");
  for (int slot = Slot::Module; slot <= Slot::Support2; ++slot)
    if (!f.slots[static_cast<std::size_t>(slot)].used)
      out.error(f.slots[static_cast<std::size_t>(slot)].where,
                "slot " + std::to_string(slot) + " (" + slotRole(slot) +
                    ") is empty; the installation writes slots 6 to 10 and stops with -531 at an empty one");
}

void checkSlot(const PackageFacts& f, int slot, Diagnostics& out) {
  const SlotFacts& s = f.slots[static_cast<std::size_t>(slot)];
  const std::string nameWhy = fileNameProblem(s.name);
  if (!nameWhy.empty()) {
    out.error(s.where, "the name " + quotedName(s.name) + " is not a plain file name: " + nameWhy);
    return;
  }
  if (!validKind(s.kind)) {
    out.error(s.where, "kind " + std::to_string(s.kind) + " has no target folder (valid: 1 to 7, 10)");
    return;
  }
  const std::string name = effectiveName(f, slot);
  const EntryTarget t = entryTarget(s.kind, name);
  const auto wrongPlace = [&](TargetFolder folder, const std::string& wanted) {
    if (t.folder != folder)
      out.error(s.where, "kind " + std::to_string(s.kind) + " writes " + slotRole(slot) + " to the " +
                             folderName(t.folder) + " folder, but the installer looks for it in the " +
                             folderName(folder) + " folder");
    else if (t.name != wanted)
      out.error(s.where, "kind " + std::to_string(s.kind) + " writes it as " + quotedName(t.name) +
                             ", but the installer looks for " + quotedName(wanted));
  };
  switch (slot) {
    case Slot::Compressor:
      wrongPlace(TargetFolder::Temp, kCompressorLibraryName);
      if (s.compressed)
        out.error(s.where, "the compressor library is compressed; it must be stored (the installer stops with -35)");
      break;
    case Slot::FlashInstaller: case Slot::Picture: case Slot::License: case Slot::ReadMe: case Slot::DataFile:
      wrongPlace(TargetFolder::Temp, name);
      break;
    case Slot::Module:
      wrongPlace(TargetFolder::System, name);
      if (!lowerAscii(name).ends_with(".scr"))
        out.warning(s.where, "the module " + quotedName(name) + " does not end with \".scr\"; Windows lists only .scr files as screen savers");
      break;
    default:
      break;
  }
}

void checkPicture(const PackageFacts& f, Diagnostics& out) {
  const SlotFacts& s = f.slots[Slot::Picture];
  if (!s.used || !s.headKnown) return;
  const std::uint8_t mode = f.header.installMode;
  const auto mismatch = [&](const char* modeText, const char* wanted) {
    out.error(s.where, std::string("mode ") + std::to_string(mode) + " (" + modeText + ") shows slot 3 as " + wanted +
                           ", but the file is " + describeContent(s.head));
  };
  if (mode == InstallMode::Bitmap && !isBitmap(s.head)) mismatch("bitmap", "a Windows bitmap");
  if (mode == InstallMode::Jpeg && !isJpeg(s.head)) mismatch("JPEG", "a JPEG picture");
  if ((mode == InstallMode::Movie || mode == InstallMode::MovieToo) && !isPlayableSwf(s.head))
    mismatch("movie", "a Flash movie (FWS or CWS)");
}

// Every file the installer writes, by folder, to find two written as one.
class FolderMap {
 public:
  // `fromData`: two data-file entries written as one are the data file's
  // own rule, reported there.
  void add(TargetFolder folder, const std::string& name, std::string what, std::string where, Diagnostics& out,
           bool fromData = false) {
    std::string key = lowerAscii(name);
    for (char& c : key)
      if (c == '/') c = '\\';
    auto& names = folders_[folder];
    const auto [it, fresh] = names.emplace(key, Written{what, fromData});
    if (!fresh && !(fromData && it->second.fromData))
      out.error(where, what + " and " + it->second.what + " are both written as " + quotedName(name) + " in the " +
                           folderName(folder) + " folder");
  }

 private:
  struct Written {
    std::string what;
    bool fromData;
  };
  std::map<TargetFolder, std::map<std::string, Written>> folders_;
};

void checkCollisions(const PackageFacts& f, Diagnostics& out) {
  FolderMap files;
  Diagnostics none;
  files.add(TargetFolder::Temp, "temp.dat", "the installer's copy of itself", "", none);
  for (int slot = Slot::Compressor; slot < kSlotCount; ++slot) {
    const SlotFacts& s = f.slots[static_cast<std::size_t>(slot)];
    if (!s.used || !validKind(s.kind) || !fileNameProblem(s.name).empty()) continue;
    const std::string name = effectiveName(f, slot);
    const EntryTarget t = entryTarget(s.kind, name);
    std::string what = "slot " + std::to_string(slot) + " " + quotedName(s.name);
    if (name != s.name) what += " (renamed " + quotedName(name) + " by mode " + std::to_string(f.header.installMode) + ")";
    files.add(t.folder, t.name, what, s.where, out);
  }
  // The licence and read-me are copied beside the installed saver.
  const auto copied = [&](std::uint8_t flag, int slot) {
    const SlotFacts& s = f.slots[static_cast<std::size_t>(slot)];
    if (flag && s.used && fileNameProblem(s.name).empty())
      files.add(TargetFolder::Install, s.name, "the copy of slot " + std::to_string(slot) + " " + quotedName(s.name), s.where, out);
  };
  copied(f.header.showLicense, Slot::License);
  copied(f.header.hasReadMe, Slot::ReadMe);
  if (!f.data) return;
  for (const DataEntryFacts& e : f.data->entries)
    if (!e.name.empty() && relativeNameProblem(e.name).empty())
      files.add(TargetFolder::Install, e.name, "data file entry " + quotedName(e.name), e.where, out, true);
  files.add(TargetFolder::Install, kSaverSettingsFileName, "the settings file \"saver.dat\"", f.data->where, out);
}

void checkData(const PackageFacts& f, Diagnostics& out) {
  const DataFacts& d = *f.data;
  checkDataFileRules(d, out);
  const bool mainFromInstaller =
      d.mainMovieMode == kMainMovieFromInstaller || (!d.entries.empty() && d.entries.front().alias);
  if (mainFromInstaller) {
    const SlotFacts& pic = f.slots[Slot::Picture];
    const std::uint8_t mode = f.header.installMode;
    std::string why;
    if (mode == InstallMode::Quiet) why = "a quiet package does not extract slot 3";
    else if (mode == InstallMode::Bitmap || mode == InstallMode::Jpeg) why = "mode " + std::to_string(mode) + " renames slot 3";
    else if (!pic.used || !equalsIgnoringCase(pic.name, kInstallerMovieName)) why = "slot 3 is not named \"installer.swf\"";
    if (!why.empty())
      out.error(d.where, "the main movie (entry 1) is copied from the installer's movie \"installer.swf\", but " + why +
                             ": the installer stops with -532");
  }
}

}  // namespace

std::string pictureNameInTemp(std::uint8_t installMode, const std::string& name) {
  if (installMode == InstallMode::Bitmap) return changeFileExt(name, ".BMP");
  if (installMode == InstallMode::Jpeg) return changeFileExt(name, ".jpg");
  return name;
}

std::string describeContent(const std::vector<std::uint8_t>& head) {
  if (isBitmap(head)) return "a Windows bitmap";
  if (isJpeg(head)) return "a JPEG picture";
  if (isPlayableSwf(head)) return "a Flash movie";
  if (startsWith(head, {'Z', 'W', 'S'})) return "an LZMA-compressed Flash movie (the installer cannot read it)";
  if (startsWith(head, {0x89, 'P', 'N', 'G'})) return "a PNG picture";
  if (startsWith(head, {'G', 'I', 'F', '8'})) return "a GIF picture";
  if (head.empty()) return "empty";
  return "of another kind";
}

void checkPackageRules(const PackageFacts& facts, Diagnostics& out) {
  checkHeader(facts, out);
  checkFlagAgreement(facts, out);
  for (int slot = Slot::Compressor; slot < kSlotCount; ++slot)
    if (facts.slots[static_cast<std::size_t>(slot)].used) checkSlot(facts, slot, out);
  checkPicture(facts, out);
  checkCollisions(facts, out);
  if (facts.data) checkData(facts, out);
}

void checkDataFileRules(const DataFacts& d, Diagnostics& out) {
  if (d.entries.size() > static_cast<std::size_t>(kMaxDataFileEntries))
    out.error(d.where, std::to_string(d.entries.size()) + " entries; the installer holds at most " +
                           std::to_string(kMaxDataFileEntries));
  FolderMap names;
  for (const DataEntryFacts& e : d.entries) {
    if (e.name.empty()) {
      out.warning(e.where, "the entry has no name; the installer skips it");
      continue;
    }
    if (e.name.size() >= kDataFileNameSize)
      out.error(e.where, "the name is " + std::to_string(e.name.size()) + " characters; at most 255 fit");
    const std::string why = relativeNameProblem(e.name);
    if (!why.empty()) {
      out.error(e.where, "the name " + quotedName(e.name) + " cannot be written in the install folder: " + why);
      continue;
    }
    names.add(TargetFolder::Install, e.name, "entry " + quotedName(e.name), e.where, out);
  }
  const bool hasMainName = !d.entries.empty() && !d.entries.front().name.empty();
  for (std::size_t i = 1; i < d.entries.size(); ++i)
    if (d.entries[i].alias && !hasMainName)
      out.error(d.entries[i].where, "an alias copies entry 1, which has no name: the installer stops with -532");
}
