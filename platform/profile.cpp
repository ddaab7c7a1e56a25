#include "platform/profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace koltar {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

// One line of a file: [begin, end) is its text without the line end, next is where the
// following line starts.
struct Line {
  std::size_t begin;
  std::size_t end;
  std::size_t next;
};

// The parsed text of one profile file. Sections are found through their header lines;
// a section's entries run up to the next header.
class ProfileText {
 public:
  explicit ProfileText(std::string bytes) : bytes_(std::move(bytes)) { Parse(); }

  const std::string& bytes() const { return bytes_; }

  // Index of the header line of the first section of that name, or npos.
  std::size_t FindSection(std::string_view section) const {
    const auto found = sections_.find(Cp1250ToUpper(section));
    return found == sections_.end() ? npos : found->second;
  }

  // Index of the first entry line of `key` below header `h`, or npos.
  std::size_t FindKey(std::size_t h, std::string_view key) const {
    const auto found = keys_.find(KeyOf(h, key));
    return found == keys_.end() ? npos : found->second;
  }

  // The raw value of entry line i, blanks removed.
  std::string_view Value(std::size_t i) const {
    std::string_view v;
    SplitEntry(i, nullptr, &v);
    return v;
  }

  // Index of the last entry line of the section at header h (h itself when it has none).
  std::size_t LastEntry(std::size_t h) const {
    std::size_t last = h;
    for (std::size_t i = h + 1; i < lines_.size() && !IsHeader(i); ++i)
      if (SplitEntry(i, nullptr, nullptr)) last = i;
    return last;
  }

  const Line& line(std::size_t i) const { return lines_[i]; }
  std::size_t lineCount() const { return lines_.size(); }

  // The line end this file uses: that of its first line (CR LF, LF or CR alone), LF
  // for a file without one.
  std::string_view LineEnd() const {
    const std::size_t at = bytes_.find_first_of("\r\n");
    if (at == std::string::npos || bytes_[at] == '\n') return "\n";
    return at + 1 < bytes_.size() && bytes_[at + 1] == '\n' ? "\r\n" : "\r";
  }

  static constexpr std::size_t npos = std::string::npos;

 private:
  std::string_view Text(std::size_t i) const {
    std::string_view t(bytes_.data() + lines_[i].begin, lines_[i].end - lines_[i].begin);
    // A UTF-8 byte-order mark before the first line is no part of it.
    if (i == 0 && t.substr(0, 3) == "\xEF\xBB\xBF") t.remove_prefix(3);
    return t;
  }

  bool IsHeader(std::size_t i) const { return isHeader_[i]; }

  std::string_view SectionName(std::size_t i) const {
    std::string_view t = Trim(Text(i));
    return Trim(t.substr(1, t.find(']') - 1));
  }

  // Splits an entry line into key and value; false for comments, headers and lines
  // without '='.
  bool SplitEntry(std::size_t i, std::string_view* key, std::string_view* value) const {
    const std::string_view t = Trim(Text(i));
    if (t.empty() || t[0] == ';' || isHeader_[i]) return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    if (key) *key = Trim(t.substr(0, eq));
    if (value) *value = Trim(t.substr(eq + 1));
    return true;
  }

  void Parse() {
    // A line ends at CR LF, at LF, or at a CR alone.
    for (std::size_t pos = 0; pos < bytes_.size();) {
      const std::size_t end = std::min(bytes_.find_first_of("\r\n", pos), bytes_.size());
      std::size_t next = end == bytes_.size() ? end : end + 1;
      if (end < bytes_.size() && bytes_[end] == '\r' && next < bytes_.size() && bytes_[next] == '\n') ++next;
      lines_.push_back(Line{pos, end, next});
      pos = next;
    }
    isHeader_.resize(lines_.size());
    std::size_t header = npos;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string_view t = Trim(Text(i));
      isHeader_[i] = t.size() >= 2 && t[0] == '[' && t.find(']') != std::string_view::npos;
      if (isHeader_[i]) {
        header = i;
        sections_.try_emplace(Cp1250ToUpper(SectionName(i)), i);  // the first of a name wins
        continue;
      }
      std::string_view key;
      if (header != npos && SplitEntry(i, &key, nullptr)) keys_.try_emplace(KeyOf(header, key), i);
    }
  }

  // The index key of an entry: its section's header line and the key in upper case.
  static std::string KeyOf(std::size_t header, std::string_view key) {
    return std::to_string(header) + '\x01' + Cp1250ToUpper(key);
  }

  std::string bytes_;
  std::vector<Line> lines_;
  std::vector<bool> isHeader_;
  // Every section's and every entry's first line, found by name without regard to
  // letter case, so that a loader's many reads of a file do not each scan it.
  std::unordered_map<std::string, std::size_t> sections_;
  std::unordered_map<std::string, std::size_t> keys_;
};

// What identifies one version of a file on disk.
struct Stamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtimeNs = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::filesystem::path& path) {
  struct stat st {};
  Stamp s;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

// Files read recently, so that the many reads of one loader parse a file once. Each
// read checks the file's stamp, so a file changed on disk is read again.
struct CachedFile {
  std::string modelName;
  std::filesystem::path local;
  Stamp stamp;
  std::optional<ProfileText> text;  // empty when the file does not exist
};

// Never destroyed, so that objects that write their settings back while the program's
// static objects are being destroyed still find it.
std::list<CachedFile>& Cache() {
  static auto* cache = new std::list<CachedFile>;
  return *cache;
}

constexpr std::size_t kCacheFiles = 16;

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return bytes;
}

// The current text of a file (nullptr when it does not exist or cannot be read), and
// its cache entry.
CachedFile& Lookup(std::string_view fileName) {
  auto& cache = Cache();
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if (it->modelName != fileName) continue;
    cache.splice(cache.begin(), cache, it);  // most recently used first
    CachedFile& entry = cache.front();
    Stamp now = StampOf(entry.local);
    if (now.exists && now == entry.stamp) return entry;
    if (!now.exists) {
      entry.local = LocalFileName(fileName);  // the file may exist under another case
      now = StampOf(entry.local);
    }
    entry.stamp = now;
    entry.text.reset();
    if (now.exists)
      if (auto bytes = ReadWholeFile(entry.local)) entry.text.emplace(std::move(*bytes));
    return entry;
  }
  CachedFile entry;
  entry.modelName = std::string(fileName);
  entry.local = LocalFileName(fileName);
  entry.stamp = StampOf(entry.local);
  if (entry.stamp.exists)
    if (auto bytes = ReadWholeFile(entry.local)) entry.text.emplace(std::move(*bytes));
  cache.push_front(std::move(entry));
  if (cache.size() > kCacheFiles) cache.pop_back();
  return cache.front();
}

// The raw value of an existing key, or nothing.
std::optional<std::string_view> FindValue(std::string_view section, std::string_view key,
                                          std::string_view fileName) {
  if (fileName.empty()) return std::nullopt;
  const CachedFile& file = Lookup(fileName);
  if (!file.text) return std::nullopt;
  const std::size_t h = file.text->FindSection(Trim(section));
  if (h == ProfileText::npos) return std::nullopt;
  const std::size_t k = file.text->FindKey(h, Trim(key));
  if (k == ProfileText::npos) return std::nullopt;
  std::string_view v = file.text->Value(k);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

// A value must stay on its line.
std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return std::string(Trim(v));
}

}  // namespace

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              int capacity, std::string_view fileName) {
  const std::optional<std::string_view> found = FindValue(section, key, fileName);
  std::string_view value = found ? *found : defaultText;
  // The default loses its trailing blanks, as a value read from the file does.
  if (!found) value = value.substr(0, value.find_last_not_of(" \t") + 1);
  if (capacity <= 0) return {};
  if (value.size() > static_cast<std::size_t>(capacity - 1)) value = value.substr(0, capacity - 1);
  return std::string(value);
}

std::int32_t ReadProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                            std::string_view fileName) {
  const std::optional<std::string_view> found = FindValue(section, key, fileName);
  if (!found || found->empty()) return defaultValue;
  std::string_view v = *found;
  bool negative = false;
  if (v[0] == '-' || v[0] == '+') {
    negative = v[0] == '-';
    v.remove_prefix(1);
  }
  long long magnitude = 0;
  for (char c : v) {
    if (c < '0' || c > '9') break;
    magnitude = std::min<long long>(magnitude * 10 + (c - '0'), 1LL << 32);
  }
  const long long n = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<long long>(n, std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max()));
}

namespace {

// False for what no file can hold: an empty section or key, a key with '='.
bool WritableEntry(std::string_view section, std::string_view key) {
  return !section.empty() && !key.empty() && key.find('=') == std::string_view::npos;
}

// The text with `key` of `section` set to `value` (one line, trimmed); the same text
// when it holds that value already.
std::string WithValue(const ProfileText& parsed, std::string_view section, std::string_view key,
                      const std::string& newValue) {
  const std::string& old = parsed.bytes();
  const std::string lineEnd(parsed.LineEnd());
  std::string out;
  const std::size_t h = parsed.FindSection(section);
  const std::size_t k = h == ProfileText::npos ? ProfileText::npos : parsed.FindKey(h, key);
  if (k != ProfileText::npos) {
    // Keep the line's text up to the '=' and the blanks after it; replace the value.
    const Line& line = parsed.line(k);
    std::size_t valueStart = old.find('=', line.begin) + 1;
    while (valueStart < line.end && (old[valueStart] == ' ' || old[valueStart] == '\t')) ++valueStart;
    if (Trim(std::string_view(old).substr(valueStart, line.end - valueStart)) == newValue) return old;
    out = old.substr(0, valueStart) + newValue + old.substr(line.end);
  } else if (h != ProfileText::npos) {
    // A new entry right after the section's last entry.
    const Line& after = parsed.line(parsed.LastEntry(h));
    out = old.substr(0, after.next);
    if (after.next == after.end) out += lineEnd;  // the file's last line had no line end
    out += std::string(key) + "=" + newValue + lineEnd;
    out += old.substr(after.next);
  } else {
    // A new section at the end, after a blank line.
    out = old;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    if (!out.empty() && parsed.lineCount() > 0) {
      const Line& last = parsed.line(parsed.lineCount() - 1);
      if (!Trim(std::string_view(old).substr(last.begin, last.end - last.begin)).empty()) out += lineEnd;
    }
    out += "[" + std::string(section) + "]" + lineEnd;
    out += std::string(key) + "=" + newValue + lineEnd;
  }
  return out;
}

// The text with every entry set as WithValue would set them one after the other, made
// in one pass over the parsed text: values of existing keys replaced in their lines, new
// keys after their section's last entry, new sections at the end. Entries are trimmed,
// writable and one line each.
std::string WithValues(const ProfileText& parsed, const std::vector<ProfileEntry>& entries) {
  const std::string& old = parsed.bytes();
  const std::string lineEnd(parsed.LineEnd());
  struct Added {
    std::vector<std::pair<std::string, std::string>> keys;  // in order of first write
    std::unordered_map<std::string, std::size_t> index;     // upper-case key -> place
    void Set(const std::string& key, const std::string& value) {
      const auto [at, fresh] = index.try_emplace(Cp1250ToUpper(key), keys.size());
      if (fresh)
        keys.emplace_back(key, value);
      else
        keys[at->second].second = value;
    }
  };
  // Entry line -> new value, and whether any write changed it (a line written back
  // with its own value stays as it is, blanks and all).
  std::unordered_map<std::size_t, std::pair<std::string, bool>> replaced;
  const auto valueStartOf = [&](const Line& line) {
    std::size_t at = old.find('=', line.begin) + 1;
    while (at < line.end && (old[at] == ' ' || old[at] == '\t')) ++at;
    return at;
  };
  std::unordered_map<std::size_t, Added> addedAfter;  // a section's last entry line
  std::vector<std::pair<std::string, Added>> newSections;
  std::unordered_map<std::string, std::size_t> newSectionIndex;
  for (const ProfileEntry& e : entries) {
    const std::size_t h = parsed.FindSection(e.section);
    if (h == ProfileText::npos) {
      const auto [at, fresh] = newSectionIndex.try_emplace(Cp1250ToUpper(e.section), newSections.size());
      if (fresh) newSections.emplace_back(e.section, Added{});
      newSections[at->second].second.Set(e.key, e.value);
    } else if (const std::size_t k = parsed.FindKey(h, e.key); k != ProfileText::npos) {
      const Line& line = parsed.line(k);
      const std::size_t at = valueStartOf(line);
      const auto r =
          replaced.try_emplace(k, std::string(Trim(std::string_view(old).substr(at, line.end - at))), false)
              .first;
      if (r->second.first != e.value) r->second = {e.value, true};
    } else {
      addedAfter[parsed.LastEntry(h)].Set(e.key, e.value);
    }
  }

  std::string out;
  out.reserve(old.size() + 64 * entries.size());
  for (std::size_t i = 0; i < parsed.lineCount(); ++i) {
    const Line& line = parsed.line(i);
    if (const auto r = replaced.find(i); r != replaced.end() && r->second.second) {
      // Keep the line's text up to the '=' and the blanks after it; replace the value.
      const std::size_t valueStart = valueStartOf(line);
      out.append(old, line.begin, valueStart - line.begin)
          .append(r->second.first)
          .append(old, line.end, line.next - line.end);
    } else {
      out.append(old, line.begin, line.next - line.begin);
    }
    if (const auto a = addedAfter.find(i); a != addedAfter.end()) {
      if (line.next == line.end) out += lineEnd;  // the file's last line had no line end
      for (const auto& [key, value] : a->second.keys)
        out.append(key).append("=").append(value).append(lineEnd);
    }
  }
  for (const auto& [section, added] : newSections) {
    // A new section at the end, after a blank line.
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    if (!out.empty()) {
      // The last line: the text before the final line end, after the one before it.
      std::string_view text = out;
      text.remove_suffix(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n" ? 2 : 1);
      const std::size_t lineStart = text.find_last_of("\r\n");
      if (!Trim(text.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1)).empty()) out += lineEnd;
    }
    out.append("[").append(section).append("]").append(lineEnd);
    for (const auto& [key, value] : added.keys) out.append(key).append("=").append(value).append(lineEnd);
  }
  return out;
}

// Replaces the file with `text` unless it holds that already.
bool Store(CachedFile& file, std::string text) {
  if (file.text && file.text->bytes() == text) return true;  // already so: the file is left alone
  if (!WriteFileAtomically(file.local, text)) return false;
  file.stamp = StampOf(file.local);
  file.text.emplace(std::move(text));
  return true;
}

}  // namespace

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view fileName) {
  section = Trim(section);
  key = Trim(key);
  if (fileName.empty() || !WritableEntry(section, key)) return false;
  CachedFile& file = Lookup(fileName);
  if (file.stamp.exists && !file.text) return false;  // exists but unreadable
  const ProfileText parsed = file.text ? *file.text : ProfileText(std::string());
  return Store(file, WithValue(parsed, section, key, OneLine(value)));
}

bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, std::string_view fileName) {
  if (fileName.empty()) return false;
  CachedFile& file = Lookup(fileName);
  if (file.stamp.exists && !file.text) return false;
  std::vector<ProfileEntry> writable;
  writable.reserve(entries.size());
  for (const ProfileEntry& e : entries) {
    const std::string_view section = Trim(e.section);
    const std::string_view key = Trim(e.key);
    if (WritableEntry(section, key))
      writable.push_back(ProfileEntry{std::string(section), std::string(key), OneLine(e.value)});
  }
  const ProfileText parsed = file.text ? *file.text : ProfileText(std::string());
  return Store(file, WithValues(parsed, writable));
}

bool CountFitsProfile(std::int64_t count, std::string_view fileName) {
  if (count <= 0) return true;
  const CachedFile& file = Lookup(fileName);
  return file.text && count <= static_cast<std::int64_t>(file.text->bytes().size());
}

void ForgetProfileFiles() { Cache().clear(); }

}  // namespace koltar
