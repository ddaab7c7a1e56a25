#include "platform/paths.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/text.h"

namespace koltar {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDrive(std::string_view path) { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':'; }

// The entry of directory `dir` whose name equals `component` without regard to case,
// or an empty string. An exact match wins; among several others the first in sorted
// order, so the choice does not depend on the directory's order.
std::string FindEntryNoCase(const std::filesystem::path& dir, const std::string& component) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec);
  if (ec) return {};
  const std::string wanted = Utf8ToCp1250(component);
  std::vector<std::string> matches;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (name == component) return name;
    if (EqualsNoCase(Utf8ToCp1250(name), wanted)) matches.push_back(std::move(name));
  }
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  if (HasDrive(path)) {
    parts.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  std::size_t lastSep = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (IsSeparator(path[i])) lastSep = i;
  if (lastSep != std::string_view::npos) {
    parts.dir = std::string(path.substr(0, lastSep + 1));
    path.remove_prefix(lastSep + 1);
  }
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) {
    parts.ext = std::string(path.substr(dot));
    path = path.substr(0, dot);
  }
  parts.name = std::string(path);
  return parts;
}

std::string ResolveFileName(std::string_view base, std::string_view written) {
  const PathParts b = SplitPath(base);
  const PathParts w = SplitPath(written);
  std::string out = w.drive.empty() ? b.drive : w.drive;
  out += w.dir.empty() ? b.dir : w.dir;
  out += w.name;
  out += w.ext;
  return out;
}

std::string GetPathDirectory(std::string_view path) {
  const PathParts p = SplitPath(path);
  return p.drive + p.dir;
}

std::filesystem::path LocalFileName(std::string_view modelName) {
  if (HasDrive(modelName)) modelName.remove_prefix(2);
  std::string name = Cp1250ToUtf8(modelName);
  std::replace(name.begin(), name.end(), '\\', '/');
  std::filesystem::path path(name);
  std::error_code ec;
  if (name.empty() || std::filesystem::exists(path, ec)) return path;

  // Walk the components, matching each one without regard to case.
  std::filesystem::path resolved = path.root_path();
  bool matching = true;
  for (const auto& component : path.relative_path()) {
    const std::string text = component.string();
    if (matching && !text.empty() && text != "." && text != "..") {
      std::string found = FindEntryNoCase(resolved, text);
      if (!found.empty()) {
        resolved /= found;
        continue;
      }
      matching = false;  // below a missing directory nothing can match
    }
    resolved /= component;
  }
  return resolved;
}

std::string ModelFileName(const std::filesystem::path& local) { return Utf8ToCp1250(local.string()); }

}  // namespace koltar
