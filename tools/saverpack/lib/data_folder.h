#pragma once
// Every file below a folder as data-file entries, named relative to it with
// '\' between sub-folders, in name order.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/saverpack/lib/package_plan.h"

// Throws ToolError when the folder cannot be listed.
std::vector<DataItem> dataItemsOfFolder(const std::filesystem::path& folder, const Compression& compression,
                                        const std::string& where);

// Moves the entry named `main` (any letter case) to the front, as entry 1;
// false when there is none of that name.
bool makeMainEntry(std::vector<DataItem>& items, const std::string& main);

std::string windowsRelativeName(std::string name);
