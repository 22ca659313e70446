// The manifest's [data] section: the data file built on the fly as slot 8.
#include <algorithm>

#include "package/data_file_format.h"
#include "tools/saverpack/lib/data_folder.h"
#include "tools/saverpack/lib/file_names.h"
#include "tools/saverpack/lib/manifest_context.h"

namespace {

const std::set<std::string> kDataKeys = {"name", "settings", "main-movie-mode", "folder", "main", "files",
                                         "compression", "dictionary", "level"};
const std::set<std::string> kItemKeys = {"name", "path", "alias", "type", "compression", "dictionary", "level"};

std::optional<DataItem> readItem(ManifestContext& ctx, const toml::table& t, const std::string& label,
                                 const Compression& base) {
  ctx.rejectUnknownKeys(t, kItemKeys, label + ".");
  DataItem item;
  item.where = ctx.where(t, label);
  item.compression = ctx.compression(t, label + ".", base);
  item.alias = ctx.boolean(t, "alias", label + ".alias").value_or(false);
  if (const auto type = ctx.integer(t, "type", label + ".type", 0, 255)) {
    if (*type == kAliasEntryType && !item.alias) ctx.error(t, label + ".type", "type 3 marks an alias; say alias = true");
    item.type = static_cast<std::uint8_t>(*type);
  }
  const auto path = ctx.string(t, "path", label + ".path");
  if (const auto name = ctx.string(t, "name", label + ".name")) item.name = windowsRelativeName(*name);
  if (item.alias) {
    item.type = kAliasEntryType;
    if (path) ctx.error(t, label + ".path", "an alias has no file of its own");
    if (item.name.empty()) ctx.error(t, label, "an alias needs a name");
    return item;
  }
  if (!path) {
    ctx.error(t, label, "needs a path (or alias = true)");
    return std::nullopt;
  }
  const auto file = ctx.inputFile(t, label + ".path", *path);
  if (!file) return std::nullopt;
  item.path = *file;
  if (item.name.empty()) item.name = file->filename().string();
  return item;
}

void addFolder(ManifestContext& ctx, const toml::node& node, const std::filesystem::path& folder,
               const Compression& base, std::vector<DataItem>& items) {
  try {
    for (DataItem& item : dataItemsOfFolder(folder, base, ctx.where(node, "data.folder"))) {
      const bool listed = std::any_of(items.begin(), items.end(),
                                      [&](const DataItem& i) { return equalsIgnoringCase(i.name, item.name); });
      if (!listed) items.push_back(std::move(item));
    }
  } catch (const ToolError& e) {
    ctx.error(node, "data.folder", e.what());
  }
}

}  // namespace

std::optional<DataPlan> readDataSection(ManifestContext& ctx, const toml::table& data, const Compression& rootBase) {
  ctx.rejectUnknownKeys(data, kDataKeys, "data.");
  DataPlan plan;
  const Compression base = ctx.compression(data, "data.", rootBase);
  if (const auto s = ctx.string(data, "settings", "data.settings")) {
    if (const auto p = ctx.inputFile(*data.get("settings"), "data.settings", *s)) {
      std::error_code ec;
      const auto size = std::filesystem::file_size(*p, ec);
      if (size != kSaverSettingsSize)
        ctx.error(*data.get("settings"), "data.settings",
                  p->string() + " is " + std::to_string(size) + " bytes; the settings record is exactly 1240");
      plan.settings = *p;
    }
  }
  if (const auto m = ctx.integer(data, "main-movie-mode", "data.main-movie-mode", INT32_MIN, INT32_MAX))
    plan.mainMovieMode = static_cast<std::int32_t>(*m);

  if (const toml::node* files = data.get("files")) {
    const auto* arr = files->as_array();
    if (!arr) ctx.error(*files, "data.files", "must be an array of tables ([[data.files]])");
    for (std::size_t i = 0; arr && i < arr->size(); ++i) {
      const std::string label = "data.files[" + std::to_string(i) + "]";
      const auto* t = arr->get(i)->as_table();
      if (!t) {
        ctx.error(*arr->get(i), label, "must be a table");
        continue;
      }
      if (auto item = readItem(ctx, *t, label, base)) plan.items.push_back(std::move(*item));
    }
  }
  if (const auto folder = ctx.string(data, "folder", "data.folder"))
    addFolder(ctx, *data.get("folder"), ctx.resolve(*folder), base, plan.items);
  if (const auto main = ctx.string(data, "main", "data.main"))
    if (!makeMainEntry(plan.items, *main))
      ctx.error(*data.get("main"), "data.main", "no entry is named " + quotedName(windowsRelativeName(*main)));
  return plan;
}
