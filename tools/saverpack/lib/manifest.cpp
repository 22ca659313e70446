#include "tools/saverpack/lib/manifest.h"

#include <fstream>
#include <sstream>

#include "tools/saverpack/lib/manifest_context.h"
#include "tools/saverpack/lib/plan_facts.h"

namespace {

const std::set<std::string> kRootKeys = {
    "name", "mode", "flash-player", "display-panel", "picture", "movie", "license", "show-license", "readme",
    "has-readme", "flash-installer", "carries-flash-installer", "module", "saver-file", "support-files", "data",
    "compression", "dictionary", "level", "stub", "compressor"};
const std::set<std::string> kFileKeys = {"path", "name", "kind", "compression", "dictionary", "level"};

struct Reader {
  ManifestContext& ctx;
  const toml::table& root;
  PackagePlan& plan;
  Compression defaults;

  // A slot's file: "path" or { path = "...", name = "...", kind = N, compression... }.
  std::optional<SlotSource> file(const toml::node& node, const std::string& key, int slot) {
    SlotSource s;
    s.kind = defaultKind(slot);
    s.compression = defaults;
    s.where = ctx.where(node, key);
    std::string relative;
    if (const auto* str = node.as_string()) {
      relative = str->get();
    } else if (const auto* t = node.as_table()) {
      ctx.rejectUnknownKeys(*t, kFileKeys, key + ".");
      const auto p = ctx.string(*t, "path", key + ".path");
      if (!p) {
        ctx.error(node, key, "needs a path");
        return std::nullopt;
      }
      relative = *p;
      if (const auto n = ctx.string(*t, "name", key + ".name")) s.name = *n;
      if (const auto k = ctx.integer(*t, "kind", key + ".kind", INT32_MIN, INT32_MAX)) s.kind = static_cast<std::int32_t>(*k);
      s.compression = ctx.compression(*t, key + ".", defaults);
    } else {
      ctx.error(node, key, "must be a path or a table with a path");
      return std::nullopt;
    }
    const auto path = ctx.inputFile(node, key, relative);
    if (!path) return std::nullopt;
    s.path = *path;
    if (s.name.empty()) s.name = path->filename().string();
    if (s.name.size() > kEntryNameSize) {
      ctx.error(node, key, "the stored name is " + std::to_string(s.name.size()) + " characters; at most 255 fit");
      return std::nullopt;
    }
    return s;
  }

  void slotKey(const std::string& key, int slot) {
    if (const toml::node* n = root.get(key)) plan.slots[static_cast<std::size_t>(slot)] = file(*n, key, slot);
  }

  // A flag that follows its file unless given; given, it must agree.
  std::uint8_t flagFor(const std::string& flagKey, const std::string& fileKey, int slot, std::string& where) {
    const bool hasFile = root.get(fileKey) != nullptr;
    const auto flag = ctx.boolean(root, flagKey, flagKey);
    where = ctx.whereFile() + ": " + fileKey;
    if (const toml::node* f = root.get(fileKey)) where = ctx.where(*f, fileKey);
    if (!flag) return plan.slots[static_cast<std::size_t>(slot)] ? 1 : 0;
    const std::string flagWhere = ctx.where(*root.get(flagKey), flagKey);
    if (*flag && !hasFile) ctx.out().error(flagWhere, "is true but no " + fileKey + " file is given");
    if (!*flag && hasFile)
      ctx.out().error(flagWhere, "is false but a " + fileKey + " file is given; the installer would never use it");
    where = flagWhere;
    return *flag ? 1 : 0;
  }

  void name() {
    const toml::node* n = root.get("name");
    if (!n) {
      ctx.out().error(ctx.whereFile() + ": name", "the saver's name is missing");
      return;
    }
    plan.headerWhere.name = ctx.where(*n, "name");
    const auto s = ctx.string(root, "name", "name");
    if (!s) return;
    if (s->size() > kSaverNameSize) {
      ctx.error(*n, "name", "the saver's name is " + std::to_string(s->size()) + " characters; at most 64 fit");
      return;
    }
    setSaverName(plan.header, *s);
  }

  void mode() {
    const toml::node* n = root.get("mode");
    plan.headerWhere.mode = n ? ctx.where(*n, "mode") : ctx.whereFile() + ": mode";
    if (!n) {
      ctx.out().error(plan.headerWhere.mode, "the mode is missing (bitmap, movie, quiet, jpeg or a number)");
      return;
    }
    if (const auto* s = n->as_string()) {
      static const std::pair<const char*, std::uint8_t> words[] = {
          {"bitmap", InstallMode::Bitmap}, {"movie", InstallMode::Movie}, {"quiet", InstallMode::Quiet},
          {"jpeg", InstallMode::Jpeg}};
      for (const auto& [word, value] : words)
        if (s->get() == word) {
          plan.header.installMode = value;
          return;
        }
      ctx.error(*n, "mode", "'" + s->get() + "' is not bitmap, movie, quiet, jpeg or a number");
      return;
    }
    if (const auto v = ctx.integer(root, "mode", "mode", 0, 255)) plan.header.installMode = static_cast<std::uint8_t>(*v);
  }

  void flashPlayer() {
    const toml::node* n = root.get("flash-player");
    plan.headerWhere.flashVersion = n ? ctx.where(*n, "flash-player") : ctx.whereFile() + ": flash-player";
    if (!n) return;  // 0: version 7 r19
    if (const auto* s = n->as_string()) {
      if (s->get() == "7 r19") plan.header.flashVersionIndex = 0;
      else if (s->get() == "8 r22") plan.header.flashVersionIndex = 1;
      else ctx.error(*n, "flash-player", "'" + s->get() + "' is not \"7 r19\" or \"8 r22\"");
      return;
    }
    if (const auto v = ctx.integer(root, "flash-player", "flash-player", 0, 255))
      plan.header.flashVersionIndex = static_cast<std::uint8_t>(*v);
  }

  void pictureOrMovie() {
    const toml::node* picture = root.get("picture");
    const toml::node* movie = root.get("movie");
    if (picture && movie) ctx.error(*movie, "movie", "give either picture or movie (both are slot 3)");
    if (picture) slotKey("picture", Slot::Picture);
    else if (movie) slotKey("movie", Slot::Picture);
  }

  void supportFiles() {
    const toml::node* n = root.get("support-files");
    if (!n) return;
    const auto* arr = n->as_array();
    if (!arr || arr->size() != 2) {
      ctx.error(*n, "support-files", "must list exactly two files (slots 9 and 10)");
      return;
    }
    plan.slots[Slot::Support1] = file(*arr->get(0), "support-files[0]", Slot::Support1);
    plan.slots[Slot::Support2] = file(*arr->get(1), "support-files[1]", Slot::Support2);
  }

  void data() {
    const toml::node* n = root.get("data");
    if (!n) return;
    const auto* t = n->as_table();
    if (t && !t->contains("path")) {
      plan.data = readDataSection(ctx, *t, defaults);
      SlotSource s;
      s.kind = defaultKind(Slot::DataFile);
      s.compression = defaults;
      s.where = ctx.where(*n, "data");
      s.name = saverNameOf(plan.header) + ".ssd";
      if (const auto name = ctx.string(*t, "name", "data.name")) s.name = *name;
      plan.slots[Slot::DataFile] = s;
      if (plan.data) plan.data->where = s.where;
      return;
    }
    slotKey("data", Slot::DataFile);
  }

  void tools() {
    if (const auto s = ctx.string(root, "stub", "stub")) {
      plan.stubWhere = ctx.where(*root.get("stub"), "stub");
      if (const auto p = ctx.inputFile(*root.get("stub"), "stub", *s)) plan.stub = *p;
    }
    if (const auto s = ctx.string(root, "compressor", "compressor")) {
      plan.compressorWhere = ctx.where(*root.get("compressor"), "compressor");
      if (const auto p = ctx.inputFile(*root.get("compressor"), "compressor", *s)) plan.compressor = *p;
    }
  }

  void run() {
    ctx.rejectUnknownKeys(root, kRootKeys, "");
    defaults = ctx.compression(root, "", Compression{});
    name();
    mode();
    flashPlayer();
    if (const auto b = ctx.boolean(root, "display-panel", "display-panel")) plan.header.offerDisplayPanel = *b ? 1 : 0;
    pictureOrMovie();
    slotKey("license", Slot::License);
    slotKey("readme", Slot::ReadMe);
    slotKey("flash-installer", Slot::FlashInstaller);
    slotKey("module", Slot::Module);
    slotKey("saver-file", Slot::SaverMovie);
    supportFiles();
    data();
    tools();
    plan.header.showLicense = flagFor("show-license", "license", Slot::License, plan.headerWhere.license);
    plan.header.hasReadMe = flagFor("has-readme", "readme", Slot::ReadMe, plan.headerWhere.readme);
    plan.header.carriesFlashInstaller =
        flagFor("carries-flash-installer", "flash-installer", Slot::FlashInstaller, plan.headerWhere.flashInstaller);
  }
};

}  // namespace

namespace {

std::optional<std::string> manifestText(const std::filesystem::path& manifest, Diagnostics& out) {
  std::ifstream in(manifest, std::ios::binary);
  if (!in) {
    out.error(manifest.string(), "cannot open the manifest");
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<toml::table> parseManifest(std::string_view text, const std::string& displayName, Diagnostics& out) {
  try {
    return toml::parse(text, displayName);
  } catch (const toml::parse_error& e) {
    out.error(displayName + ":" + std::to_string(e.source().begin.line), std::string(e.description()));
    return std::nullopt;
  }
}

}  // namespace

std::optional<PackagePlan> readManifestText(std::string_view text, const std::filesystem::path& baseDir,
                                            const std::string& displayName, Diagnostics& out) {
  const auto root = parseManifest(text, displayName, out);
  if (!root) return std::nullopt;
  ManifestContext ctx(baseDir, displayName, out);
  PackagePlan plan;
  Reader{ctx, *root, plan, {}}.run();
  if (out.hasErrors()) return std::nullopt;
  checkPlan(plan, displayName, out);
  if (out.hasErrors()) return std::nullopt;
  return plan;
}

std::optional<PackagePlan> readManifest(const std::filesystem::path& manifest, Diagnostics& out) {
  const auto text = manifestText(manifest, out);
  if (!text) return std::nullopt;
  return readManifestText(*text, manifest.parent_path(), manifest.string(), out);
}

std::optional<DataPlan> readDataManifest(const std::filesystem::path& manifest, Diagnostics& out) {
  const auto text = manifestText(manifest, out);
  if (!text) return std::nullopt;
  const std::string displayName = manifest.string();
  const auto root = parseManifest(*text, displayName, out);
  if (!root) return std::nullopt;
  const auto* data = root->get_as<toml::table>("data");
  if (!data || data->contains("path")) {
    out.error(displayName + ": data", "the manifest has no [data] section to build");
    return std::nullopt;
  }
  ManifestContext ctx(manifest.parent_path(), displayName, out);
  Compression base = ctx.compression(*root, "", Compression{});
  auto plan = readDataSection(ctx, *data, base);
  if (!plan || out.hasErrors()) return std::nullopt;
  plan->where = ctx.where(*data, "data");
  checkDataFileRules(factsOfDataPlan(*plan), out);
  if (out.hasErrors()) return std::nullopt;
  return plan;
}
