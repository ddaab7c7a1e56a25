#pragma once
// Whole-file loading and safe file replacement.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace koltar {

// The bytes of one loaded file, owned. A block that failed to load is empty and
// invalid; a 0-byte file gives a valid empty block.
class MemoryBlock {
 public:
  MemoryBlock() = default;
  // A block of `size` bytes (uninitialised), or an invalid block when memory is short.
  static MemoryBlock Allocate(std::int32_t size);

  bool valid() const { return valid_; }
  std::int32_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::uint8_t* data() const { return bytes_.get(); }
  std::uint8_t* data() { return bytes_.get(); }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const;
  };
  std::unique_ptr<std::uint8_t[], Free> bytes_;
  std::int32_t size_ = 0;
  bool valid_ = false;
};

// The file operations LoadFileToMemory needs, so that tests can watch the pieces read
// and make a read fail.
class FileReader {
 public:
  virtual ~FileReader() = default;
  virtual bool Open(const std::filesystem::path& path) = 0;
  // The file's length in bytes (seek to the end and back), or -1.
  virtual std::int64_t Length() = 0;
  // Reads up to `count` bytes; returns the number read.
  virtual std::int32_t Read(std::uint8_t* into, std::int32_t count) = 0;
  virtual void Close() = 0;
};

// Files are read in pieces of at most this many bytes.
inline constexpr std::int32_t kLoadPieceSize = 32000;

// Loads the whole file named by a model file name into one block. On failure it shows
// one of its three messages ("'%s' file nem nyitható meg.\n", "Nincs elég memória '%s'
// file betöltéséhez.", "Olvasás hiba '%s' file-ban.\n"; caption "KOLTAR32", exclamation
// icon, no owner) and returns an invalid empty block; callers go on with no records.
[[nodiscard]] MemoryBlock LoadFileToMemory(std::string_view fileName);
[[nodiscard]] MemoryBlock LoadFileToMemory(std::string_view fileName, FileReader& reader);

// True when the model file name names an existing regular file.
bool FileExists(std::string_view fileName);

// The steps of a write through ReplacementFile at which a test can make it fail, as a
// full disk, a lost device or a missing permission would: creating the temporary file,
// each write call, syncing it to disk, closing it (where a delayed write error shows),
// and renaming it over the target.
enum class WriteStep { Open, Write, Sync, Flush, Rename };

// Asked before each step of every replacement (`target` is the file replaced); false
// makes the step fail. For tests; none is installed by default. Pass null to remove.
using WriteFaultHook = std::function<bool(WriteStep step, const std::filesystem::path& target)>;
void SetWriteFaultHook(WriteFaultHook hook);

// A file replaced safely: written to a temporary file beside its target, flushed to
// disk, and renamed over the target only once complete, so that the target is always
// either its old or its new content. The steps are virtual so that tests can make one
// of them fail. An existing target keeps its permissions; a symbolic link keeps
// pointing at the replaced file.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  // Removes a temporary file that was not committed.
  virtual ~ReplacementFile();

  // Creates the empty temporary file for `target` (a path of this machine); false when
  // it cannot be created (no such directory, no permission, no name).
  [[nodiscard]] virtual bool Create(const std::filesystem::path& target);
  // Appends up to `count` bytes; returns how many were written (fewer on failure).
  virtual std::int64_t Write(const void* bytes, std::int64_t count);
  // Flushes and closes the temporary file and renames it over the target; false, with
  // the temporary file removed and the target as it was, on failure.
  [[nodiscard]] virtual bool Commit();
  // Closes and removes the temporary file; the target stays as it was.
  virtual void Discard();

 private:
  int fd_ = -1;
  std::filesystem::path target_;
  std::filesystem::path temp_;
};

// Renames a file or a folder (paths of this machine), replacing a file of the new name
// in one step; the write fault hook is asked first (step Rename, target `to`). False on
// failure, with nothing renamed.
[[nodiscard]] bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Replaces (or creates) `path` with `bytes`: written to a temporary file beside it,
// flushed to disk, then renamed over it, so the file is always either the old or the
// new one. An existing file keeps its permissions; a symbolic link keeps pointing at
// the replaced file. Returns false, leaving any old file as it was, on failure.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace koltar
