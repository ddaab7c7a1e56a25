#include "platform/files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <system_error>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"

namespace koltar {
namespace {

class StdioReader final : public FileReader {
 public:
  ~StdioReader() override { Close(); }
  bool Open(const std::filesystem::path& path) override {
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
  }
  std::int64_t Length() override {
    if (std::fseek(file_, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file_);
    if (std::fseek(file_, 0, SEEK_SET) != 0) return -1;
    return length;
  }
  std::int32_t Read(std::uint8_t* into, std::int32_t count) override {
    return static_cast<std::int32_t>(std::fread(into, 1, static_cast<std::size_t>(count), file_));
  }
  void Close() override {
    if (file_) std::fclose(file_);
    file_ = nullptr;
  }

 private:
  std::FILE* file_ = nullptr;
};

WriteFaultHook& FaultHook() {
  static auto* hook = new WriteFaultHook;  // never destroyed: writes may run at exit
  return *hook;
}

// False when the installed hook makes this step fail.
bool StepAllowed(WriteStep step, const std::filesystem::path& target) {
  const WriteFaultHook& hook = FaultHook();
  return !hook || hook(step, target);
}

MemoryBlock LoadFailed(const char* format, std::string_view fileName) {
  ShowMessage(StringPrintf(format, std::string(fileName).c_str()), MessageKind::Exclamation);
  return MemoryBlock();
}

}  // namespace

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

void MemoryBlock::Free::operator()(std::uint8_t* p) const { std::free(p); }

MemoryBlock MemoryBlock::Allocate(std::int32_t size) {
  MemoryBlock block;
  if (size < 0) return block;
  // One spare byte keeps data() non-null for an empty block.
  const std::size_t bytes = static_cast<std::size_t>(size) + 1;
  // A large block is filled at once: in huge pages the system takes one fault per 2 MB
  // instead of one per 4 KB, which is most of what loading costs beyond the copy.
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  void* p = nullptr;
  if (bytes >= 2 * kHugePage) {
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    p = std::aligned_alloc(kHugePage, rounded);
    if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);
  } else {
    p = std::malloc(bytes);
  }
  block.bytes_.reset(static_cast<std::uint8_t*>(p));
  if (!block.bytes_) return block;
  block.size_ = size;
  block.valid_ = true;
  return block;
}

MemoryBlock LoadFileToMemory(std::string_view fileName) {
  StdioReader reader;
  return LoadFileToMemory(fileName, reader);
}

MemoryBlock LoadFileToMemory(std::string_view fileName, FileReader& reader) {
  const std::filesystem::path path = LocalFileName(fileName);
  std::error_code ec;
  // A directory opens for reading on this system but is no data file.
  if (std::filesystem::is_directory(path, ec) || !reader.Open(path))
    return LoadFailed("'%s' file nem nyitható meg.\n", fileName);

  const std::int64_t length = reader.Length();
  MemoryBlock block;
  if (length < 0) {
    reader.Close();
    return LoadFailed("Olvasás hiba '%s' file-ban.\n", fileName);
  }
  // The byte count is a signed 32-bit number: a longer file cannot be held.
  if (length <= std::numeric_limits<std::int32_t>::max())
    block = MemoryBlock::Allocate(static_cast<std::int32_t>(length));
  if (!block.valid()) {
    reader.Close();
    return LoadFailed("Nincs elég memória '%s' file betöltéséhez.", fileName);
  }

  for (std::int32_t done = 0; done < block.size();) {
    const std::int32_t piece = std::min(kLoadPieceSize, block.size() - done);
    if (reader.Read(block.data() + done, piece) != piece) {
      reader.Close();
      return LoadFailed("Olvasás hiba '%s' file-ban.\n", fileName);
    }
    done += piece;
  }
  reader.Close();
  return block;
}

bool FileExists(std::string_view fileName) {
  std::error_code ec;
  return std::filesystem::is_regular_file(LocalFileName(fileName), ec);
}

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Create(const std::filesystem::path& requested) {
  Discard();
  if (requested.empty() || !requested.has_filename()) return false;
  std::error_code ec;
  std::filesystem::path path = requested;
  if (std::filesystem::is_symlink(path, ec)) {
    path = std::filesystem::canonical(path, ec);
    if (ec) return false;
  }
  const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
  if (!std::filesystem::is_directory(dir, ec) || !StepAllowed(WriteStep::Open, path)) return false;

  std::string temp = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;

  // Permissions: those of the file replaced, or what a newly created file would get.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  fd_ = fd;
  target_ = path;
  temp_ = temp;
  return true;
}

std::int64_t ReplacementFile::Write(const void* bytes, std::int64_t count) {
  if (fd_ < 0 || count <= 0) return 0;
  const auto* p = static_cast<const char*>(bytes);
  std::int64_t done = 0;
  while (done < count) {
    if (!StepAllowed(WriteStep::Write, target_)) break;
    const ssize_t n = ::write(fd_, p + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

bool ReplacementFile::Commit() {
  if (fd_ < 0) return false;
  bool ok = StepAllowed(WriteStep::Sync, target_) && ::fsync(fd_) == 0;
  if (::close(fd_) != 0 || !StepAllowed(WriteStep::Flush, target_)) ok = false;
  fd_ = -1;
  if (ok && (!StepAllowed(WriteStep::Rename, target_) || ::rename(temp_.c_str(), target_.c_str()) != 0))
    ok = false;
  if (!ok) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  // Make the rename itself durable.
  const std::filesystem::path dir = target_.has_parent_path() ? target_.parent_path() : ".";
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

void ReplacementFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return StepAllowed(WriteStep::Rename, to) && ::rename(from.c_str(), to.c_str()) == 0;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  ReplacementFile file;
  if (!file.Create(path)) return false;
  if (file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())) !=
      static_cast<std::int64_t>(bytes.size())) {
    file.Discard();
    return false;
  }
  return file.Commit();
}

}  // namespace koltar
