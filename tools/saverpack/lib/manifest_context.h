#pragma once
// Shared by the two halves of the manifest reader (the package keys and the
// [data] section): typed look-ups that report a wrong type or value with the
// manifest line.
#include <toml++/toml.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "tools/saverpack/lib/compression.h"
#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/package_plan.h"

class ManifestContext {
 public:
  ManifestContext(std::filesystem::path baseDir, std::string displayName, Diagnostics& out)
      : baseDir_(std::move(baseDir)), displayName_(std::move(displayName)), out_(out) {}

  std::string where(const toml::node& node, const std::string& key) const;
  std::string whereFile() const { return displayName_; }
  std::filesystem::path resolve(const std::string& relative) const { return baseDir_ / std::filesystem::path(relative); }
  Diagnostics& out() { return out_; }
  void error(const toml::node& node, const std::string& key, const std::string& message) {
    out_.error(where(node, key), message);
  }

  // Reports keys of `table` not in `known` (a typo would otherwise be lost).
  void rejectUnknownKeys(const toml::table& table, const std::set<std::string>& known, const std::string& prefix);

  std::optional<std::string> string(const toml::table& t, const std::string& key, const std::string& label);
  std::optional<bool> boolean(const toml::table& t, const std::string& key, const std::string& label);
  std::optional<long long> integer(const toml::table& t, const std::string& key, const std::string& label,
                                   long long lo, long long hi);

  // An input file: must exist and be a regular file; reported otherwise.
  std::optional<std::filesystem::path> inputFile(const toml::node& node, const std::string& label,
                                                 const std::string& relative);

  // The compression keys of `t` over `base`: compression, dictionary, level.
  Compression compression(const toml::table& t, const std::string& prefix, Compression base);

 private:
  std::filesystem::path baseDir_;
  std::string displayName_;
  Diagnostics& out_;
};

// The [data] section: a data file built on the fly as slot 8.
std::optional<DataPlan> readDataSection(ManifestContext& ctx, const toml::table& data, const Compression& base);
