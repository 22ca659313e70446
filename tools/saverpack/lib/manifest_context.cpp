#include "tools/saverpack/lib/manifest_context.h"

std::string ManifestContext::where(const toml::node& node, const std::string& key) const {
  const auto& src = node.source();
  if (src.begin.line == 0) return displayName_ + ": " + key;
  return displayName_ + ":" + std::to_string(src.begin.line) + ": " + key;
}

void ManifestContext::rejectUnknownKeys(const toml::table& table, const std::set<std::string>& known,
                                        const std::string& prefix) {
  for (auto&& [k, v] : table) {
    const std::string key(k.str());
    if (!known.count(key)) error(v, prefix + key, "unknown key");
  }
}

std::optional<std::string> ManifestContext::string(const toml::table& t, const std::string& key,
                                                   const std::string& label) {
  const toml::node* n = t.get(key);
  if (!n) return std::nullopt;
  if (const auto* s = n->as_string()) return s->get();
  error(*n, label, "must be a string");
  return std::nullopt;
}

std::optional<bool> ManifestContext::boolean(const toml::table& t, const std::string& key, const std::string& label) {
  const toml::node* n = t.get(key);
  if (!n) return std::nullopt;
  if (const auto* b = n->as_boolean()) return b->get();
  error(*n, label, "must be true or false");
  return std::nullopt;
}

std::optional<long long> ManifestContext::integer(const toml::table& t, const std::string& key,
                                                  const std::string& label, long long lo, long long hi) {
  const toml::node* n = t.get(key);
  if (!n) return std::nullopt;
  const auto* i = n->as_integer();
  if (!i) {
    error(*n, label, "must be a whole number");
    return std::nullopt;
  }
  const long long v = i->get();
  if (v < lo || v > hi) {
    error(*n, label, std::to_string(v) + " is outside " + std::to_string(lo) + " to " + std::to_string(hi));
    return std::nullopt;
  }
  return v;
}

std::optional<std::filesystem::path> ManifestContext::inputFile(const toml::node& node, const std::string& label,
                                                                const std::string& relative) {
  if (relative.empty()) {
    error(node, label, "the path is empty");
    return std::nullopt;
  }
  const std::filesystem::path p = resolve(relative);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) {
    error(node, label, "no such file: " + p.string());
    return std::nullopt;
  }
  if (std::filesystem::file_size(p, ec) > static_cast<std::uintmax_t>(INT32_MAX)) {
    error(node, label, p.string() + " is over 2 GB; package offsets are 32-bit");
    return std::nullopt;
  }
  return p;
}

Compression ManifestContext::compression(const toml::table& t, const std::string& prefix, Compression base) {
  if (const auto word = string(t, "compression", prefix + "compression")) {
    if (const auto m = parseMethod(*word)) base.method = *m;
    else error(*t.get("compression"), prefix + "compression", "'" + *word + "' is not auto, stored, binary or ascii");
  }
  if (const auto size = integer(t, "dictionary", prefix + "dictionary", 0, 1 << 20)) {
    if (isDictionarySize(*size)) base.dictionarySize = static_cast<unsigned>(*size);
    else error(*t.get("dictionary"), prefix + "dictionary", "must be 1024, 2048 or 4096");
  }
  if (const auto word = string(t, "level", prefix + "level")) {
    if (const auto l = parseLevel(*word)) base.level = *l;
    else error(*t.get("level"), prefix + "level", "'" + *word + "' is not default or best");
  }
  return base;
}
