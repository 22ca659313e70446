#pragma once
// The package manifest: a TOML file naming the saver, its mode and flags and
// the files of each slot, with paths relative to the manifest's folder (see
// the README for the full list of keys). Reading it checks every value and
// then the installer's requirements, each message naming the manifest line.
#include <filesystem>
#include <optional>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/package_plan.h"

// The plan, or nothing when an error was found (all of them are reported).
std::optional<PackagePlan> readManifest(const std::filesystem::path& manifest, Diagnostics& out);

// The same from manifest text (for tests); paths are relative to `baseDir`
// and messages name `displayName`.
std::optional<PackagePlan> readManifestText(std::string_view text, const std::filesystem::path& baseDir,
                                            const std::string& displayName, Diagnostics& out);

// Just the [data] section of a manifest, for `data build`: the data file
// alone, checked by the data file's own rules.
std::optional<DataPlan> readDataManifest(const std::filesystem::path& manifest, Diagnostics& out);
