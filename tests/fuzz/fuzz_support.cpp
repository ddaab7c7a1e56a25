#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"
#include "platform/services.h"

namespace koltar::fuzz {
namespace {

bool NameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
         c == '-';
}

// A file name of the archive: one or two parts of name characters, neither "." nor "..".
bool UsableName(std::string_view name) {
  if (name.empty() || name.size() > 64) return false;
  int parts = 0;
  for (std::size_t start = 0; start <= name.size();) {
    std::size_t slash = name.find('/', start);
    if (slash == std::string_view::npos) slash = name.size();
    const std::string_view part = name.substr(start, slash - start);
    if (part.empty() || part == "." || part == ".." || ++parts > 2) return false;
    for (char c : part)
      if (!NameCharacter(c)) return false;
    start = slash + 1;
  }
  return true;
}

}  // namespace

std::vector<ArchiveFile> SplitArchive(std::string_view input) {
  std::vector<ArchiveFile> files;
  // Positions of the marker lines: at the start, or after a line feed.
  std::size_t at = input.substr(0, kFileMarker.size()) == kFileMarker ? 0 : std::string_view::npos;
  if (at == std::string_view::npos) {
    const std::size_t found = input.find(std::string("\n").append(kFileMarker));
    if (found == std::string_view::npos) return files;
    at = found + 1;
  }
  while (at != std::string_view::npos) {
    const std::size_t nameStart = at + kFileMarker.size();
    const std::size_t lineEnd = input.find('\n', nameStart);
    const std::string_view name =
        input.substr(nameStart, (lineEnd == std::string_view::npos ? input.size() : lineEnd) - nameStart);
    const std::size_t bodyStart = lineEnd == std::string_view::npos ? input.size() : lineEnd + 1;
    const std::size_t next =
        input.find(std::string("\n").append(kFileMarker), bodyStart > 0 ? bodyStart - 1 : 0);
    const std::size_t bodyEnd = next == std::string_view::npos ? input.size() : std::max(next, bodyStart);
    if (UsableName(name))
      files.push_back(ArchiveFile{std::string(name), input.substr(bodyStart, bodyEnd - bodyStart)});
    at = next == std::string_view::npos ? next : next + 1;
  }
  return files;
}

std::string JoinArchive(const std::vector<std::pair<std::string, std::string>>& files) {
  std::string out;
  for (const auto& [name, bytes] : files) {
    if (!out.empty()) out += '\n';
    out.append(kFileMarker).append(name).append("\n").append(bytes);
  }
  return out;
}

MessageAnswer QuietMessages::Show(const Message& message) {
  ++shown;
  return message.kind == MessageKind::Question ? questionAnswer : MessageAnswer::Ok;
}

FuzzWorld::FuzzWorld() {
  std::error_code ec;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
    base = std::filesystem::temp_directory_path(ec);
  path_ = base / ("koltar-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(path_, ec);
  InstalledServices().messages = &messages;
  InstalledServices().progress = &progress;
  InstalledServices().images = &images;
  Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};
}

FuzzWorld::~FuzzWorld() {
  InstalledServices() = Services{};
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void FuzzWorld::Reset() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
    std::filesystem::remove_all(entry, ec);
  ForgetProfileFiles();
  messages.shown = 0;
  messages.questionAnswer = MessageAnswer::No;
  progress.escAtPoll = 0;
  progress.polls = 0;
}

void FuzzWorld::WriteArchive(std::string_view input) {
  for (const ArchiveFile& file : SplitArchive(input)) Write(file.name, file.bytes);
}

std::string FuzzWorld::Write(std::string_view name, std::string_view bytes) {
  const std::filesystem::path file = path_ / std::filesystem::path(std::string(name));
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::filesystem::remove_all(file, ec);  // a folder of that name written before
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return Model(name);
}

std::string FuzzWorld::Model(std::string_view name) const {
  return ModelFileName(path_) + "/" + std::string(name);
}

FuzzWorld& World() {
  static FuzzWorld* world = new FuzzWorld;  // kept to the end, the folder removed at exit
  static const bool cleanup = [] {
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(World().path(), ec);
    });
    return true;
  }();
  (void)cleanup;
  return *world;
}

std::string FirstCategoryOfKind(const std::string& mapFile, std::string_view keyword) {
  const std::int32_t count = std::min(ReadProfileInt("CATEGORIES", "N", 0, mapFile), 99);
  for (std::int32_t i = 1; i <= count; ++i) {
    const std::string key = (i < 10 ? "CATEGORY0" : "CATEGORY") + std::to_string(i);
    const std::string line = ReadProfileString("CATEGORIES", key, "", 304, mapFile);
    std::string kind, category, rest;
    if (ScanValues(line, "%[^,]%*c%[^,]%*c%s", kind, category, rest) < 2) return {};
    if (kind.substr(0, 8) == keyword) return category.substr(0, 31);
  }
  return {};
}

}  // namespace koltar::fuzz
