#pragma once
// What every fuzz target shares: the archive that carries the several files of a map in
// one input, the scratch folder the files are written to (readers take file names, and
// a map is a folder of files), and quiet services that answer every message box.
//
// An archive is a sequence of files, each introduced by a line "@@@FILE <name>" at the
// start of the input or right after a line feed; the file's bytes run up to the line
// feed before the next such line. A name is a file name or one folder and a file name
// ("prev/c08.dat") of letters, digits, '.', '_' and '-'; files with other names, and
// bytes before the first file, are ignored.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "platform/pixel_images.h"
#include "platform/progress.h"

namespace koltar::fuzz {

inline constexpr std::string_view kFileMarker = "@@@FILE ";

struct ArchiveFile {
  std::string name;
  std::string_view bytes;
};

// The files of an archive, in input order (a later file of the same name replaces the
// earlier one when written).
std::vector<ArchiveFile> SplitArchive(std::string_view input);
// The archive holding these files.
std::string JoinArchive(const std::vector<std::pair<std::string, std::string>>& files);

// Counts the message boxes and answers them: OK, and No to questions, so that nothing
// is saved unless a target asks for it.
class QuietMessages final : public MessageService {
 public:
  MessageAnswer Show(const Message& message) override;
  int shown = 0;
  MessageAnswer questionAnswer = MessageAnswer::No;
};

// A progress service that never sees ESC, or sees it from poll `escAtPoll` on.
class QuietProgress final : public ProgressService {
 public:
  void Start(const std::string&) override {}
  void Set(int) override {}
  void End() override {}
  bool EscapePressed() override { return escAtPoll > 0 && ++polls >= escAtPoll; }
  int escAtPoll = 0;
  int polls = 0;
};

// The scratch folder of this process (under /dev/shm when there is one), emptied by
// Reset; the quiet services installed while it lives.
class FuzzWorld {
 public:
  FuzzWorld();
  ~FuzzWorld();
  FuzzWorld(const FuzzWorld&) = delete;
  FuzzWorld& operator=(const FuzzWorld&) = delete;

  // Empties the folder, forgets what the description-file reader cached, and resets
  // the message count.
  void Reset();
  // Writes the archive's files into the folder.
  void WriteArchive(std::string_view input);
  // Writes one file; returns its model name.
  std::string Write(std::string_view name, std::string_view bytes);
  // The model name of a file in the folder; the folder itself (with its closing '/')
  // for "".
  std::string Model(std::string_view name = {}) const;
  const std::filesystem::path& path() const { return path_; }

  QuietMessages messages;
  QuietProgress progress;
  PixelImageService images;

 private:
  std::filesystem::path path_;
};

// The world of this process, made at the first call.
FuzzWorld& World();

// The name of the first CATEGORYnn line of the map file whose type keyword is
// `keyword`, or "" when there is none (the lines are read as the map object reads them).
std::string FirstCategoryOfKind(const std::string& mapFile, std::string_view keyword);

}  // namespace koltar::fuzz

// The entry point each target defines (libFuzzer's).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
