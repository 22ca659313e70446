#include "tools/saverpack/lib/data_folder.h"

#include <algorithm>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/file_names.h"

std::string windowsRelativeName(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

std::vector<DataItem> dataItemsOfFolder(const std::filesystem::path& folder, const Compression& compression,
                                        const std::string& where) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) throw ToolError(folder.string() + ": no such folder");
  std::vector<DataItem> items;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    DataItem item;
    item.path = it->path();
    item.name = windowsRelativeName(std::filesystem::relative(it->path(), folder).generic_string());
    item.compression = compression;
    item.where = where + " (" + item.name + ")";
    items.push_back(std::move(item));
  }
  if (ec) throw ToolError(folder.string() + ": cannot list: " + ec.message());
  std::sort(items.begin(), items.end(), [](const DataItem& a, const DataItem& b) { return a.name < b.name; });
  return items;
}

bool makeMainEntry(std::vector<DataItem>& items, const std::string& main) {
  const std::string wanted = windowsRelativeName(main);
  const auto it = std::find_if(items.begin(), items.end(),
                               [&](const DataItem& i) { return equalsIgnoringCase(i.name, wanted); });
  if (it == items.end()) return false;
  std::rotate(items.begin(), it, it + 1);
  return true;
}
