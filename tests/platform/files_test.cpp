#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

// Reads through a real file and records the pieces asked for; can fail one read.
class WatchingReader final : public FileReader {
 public:
  bool Open(const std::filesystem::path& path) override {
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
  }
  std::int64_t Length() override {
    std::fseek(file_, 0, SEEK_END);
    const long n = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
    return lengthOverride >= 0 ? lengthOverride : n;
  }
  std::int32_t Read(std::uint8_t* into, std::int32_t count) override {
    pieces.push_back(count);
    const auto n = static_cast<std::int32_t>(std::fread(into, 1, static_cast<std::size_t>(count), file_));
    return static_cast<int>(pieces.size()) == failReadNumber ? n / 2 : n;
  }
  void Close() override {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    ++closes;
  }

  std::vector<std::int32_t> pieces;
  int failReadNumber = 0;
  std::int64_t lengthOverride = -1;
  int closes = 0;

 private:
  std::FILE* file_ = nullptr;
};

class LoadFile : public test::ServicesTest {
 protected:
  test::TempDir dir;
};

TEST_F(LoadFile, ReadsInPiecesOf32000Bytes) {
  std::string bytes(70000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  const std::string f = dir.Write("big.dat", bytes);
  WatchingReader reader;
  const MemoryBlock block = LoadFileToMemory(f, reader);
  ASSERT_TRUE(block.valid());
  ASSERT_EQ(block.size(), 70000);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data()), 70000), bytes);
  EXPECT_EQ(reader.pieces, (std::vector<std::int32_t>{32000, 32000, 6000}));
  EXPECT_EQ(reader.closes, 1);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(LoadFile, EmptyFileLoadsWithoutMessage) {
  const std::string f = dir.Write("empty.dat", "");
  const MemoryBlock block = LoadFileToMemory(f);
  EXPECT_TRUE(block.valid());
  EXPECT_EQ(block.size(), 0);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(LoadFile, MissingFileShowsTheOpenError) {
  const std::string f = dir.Model("missing.dat");
  const MemoryBlock block = LoadFileToMemory(f);
  EXPECT_FALSE(block.valid());
  EXPECT_EQ(block.size(), 0);
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{"KOLTAR32|EXCLAMATION|'" + f + "' file nem nyitható meg.\n"}));
  EXPECT_EQ(services.messages.messages()[0].owner, nullptr);
}

TEST_F(LoadFile, DirectoryIsUnreadable) {
  std::filesystem::create_directory(dir.path() / "sub.dat");
  const MemoryBlock block = LoadFileToMemory(dir.Model("sub.dat"));
  EXPECT_FALSE(block.valid());
  ASSERT_EQ(services.messages.messages().size(), 1u);
  EXPECT_NE(services.messages.messages()[0].text.find("nem nyitható meg"), std::string::npos);
}

TEST_F(LoadFile, ShortReadShowsTheReadErrorAndGivesNothing) {
  const std::string f = dir.Write("a.dat", std::string(70000, 'x'));
  WatchingReader reader;
  reader.failReadNumber = 2;
  const MemoryBlock block = LoadFileToMemory(f, reader);
  EXPECT_FALSE(block.valid());
  EXPECT_EQ(block.size(), 0);
  EXPECT_EQ(reader.pieces.size(), 2u);  // reading stops at the failed piece
  EXPECT_EQ(reader.closes, 1);
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{"KOLTAR32|EXCLAMATION|Olvasás hiba '" + f + "' file-ban.\n"}));
}

TEST_F(LoadFile, FileTooLongForTheCountIsAMemoryError) {
  const std::string f = dir.Write("a.dat", "abc");
  WatchingReader reader;
  reader.lengthOverride = 3'000'000'000LL;
  const MemoryBlock block = LoadFileToMemory(f, reader);
  EXPECT_FALSE(block.valid());
  EXPECT_EQ(
      services.messages.Transcript(),
      (std::vector<std::string>{"KOLTAR32|EXCLAMATION|Nincs elég memória '" + f + "' file betöltéséhez."}));
}

TEST_F(LoadFile, NameInOtherLetterCaseFindsTheFile) {
  dir.Write("roads.dat", "1234");
  const MemoryBlock block = LoadFileToMemory(dir.Model("ROADS.DAT"));
  EXPECT_EQ(block.size(), 4);
  EXPECT_TRUE(FileExists(dir.Model("Roads.Dat")));
  EXPECT_FALSE(FileExists(dir.Model("roads.da")));
}

TEST(WriteFileAtomically, ReplacesThroughSymbolicLinks) {
  test::TempDir dir;
  dir.Write("real.ini", "old");
  std::filesystem::create_symlink(dir.path() / "real.ini", dir.path() / "link.ini");
  ASSERT_TRUE(WriteFileAtomically(dir.path() / "link.ini", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.ini"));
  EXPECT_EQ(dir.Read("real.ini"), "new");
  EXPECT_FALSE(WriteFileAtomically(dir.path() / "missing" / "x", "y"));
  EXPECT_FALSE(WriteFileAtomically("", "y"));
}

TEST(ReplacementFile, TargetChangesOnlyAtCommit) {
  test::TempDir dir;
  dir.Write("a.dat", "old");
  {
    ReplacementFile file;
    ASSERT_TRUE(file.Create(dir.path() / "a.dat"));
    EXPECT_EQ(file.Write("new data", 8), 8);
    EXPECT_EQ(dir.Read("a.dat"), "old");
    // Not committed: the temporary file goes with the object.
  }
  EXPECT_EQ(dir.Read("a.dat"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  ReplacementFile file;
  ASSERT_TRUE(file.Create(dir.path() / "a.dat"));
  EXPECT_EQ(file.Write("new ", 4), 4);
  EXPECT_EQ(file.Write("data", 4), 4);
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(dir.Read("a.dat"), "new data");
  EXPECT_FALSE(file.Commit());  // nothing left to commit
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // A target whose folder is a plain file cannot be created.
  EXPECT_FALSE(file.Create(dir.path() / "a.dat" / "b.dat"));
  EXPECT_EQ(file.Write("x", 1), 0);
}

// A failure at any step of a replacement (creating the temporary file, a write call,
// the sync, the close, the rename) leaves the old file byte for byte and no temporary
// file; without a failure the new file is complete.
TEST(WriteFaults, EveryStepOfAReplacementLeavesTheOldFileOrTheNew) {
  test::TempDir dir;
  const std::string before = "[MAP]\r\nNAME=old\r\nUNIT=10\r\n";
  const std::string after = "[MAP]\r\nNAME=new\r\nUNIT=10\r\n\r\n[VIEW]\r\nSCALE=5000\r\n";
  const std::string file = dir.Model("a.map");
  const int steps = test::SweepWriteFaults(
      [&] {
        dir.Write("a.map", before);
        ForgetProfileFiles();
      },
      [&] {
        return WriteProfileStrings({{"MAP", "NAME", "new"}, {"VIEW", "SCALE", "5000"}}, file);
      },
      [&](bool ok, const test::ScopedWriteFault& fault) {
        EXPECT_EQ(ok, !fault.failed()) << fault.failedStep();
        EXPECT_EQ(dir.Read("a.map"), ok ? after : before) << fault.failedStep();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
        // What the reader gives afterwards is what the disk holds.
        EXPECT_EQ(ReadProfileString("MAP", "NAME", "", 32, file), ok ? "new" : "old");
      });
  EXPECT_EQ(steps, 5);  // open, one write, sync, close, rename: two values, one replacement
}

TEST(WriteFaults, RenameGoesThroughTheHook) {
  test::TempDir dir;
  dir.Write("a", "x");
  {
    test::ScopedWriteFault fault(1);
    EXPECT_FALSE(RenameFile(dir.path() / "a", dir.path() / "b"));
    EXPECT_EQ(fault.failedStep(), "Rename");
  }
  EXPECT_TRUE(RenameFile(dir.path() / "a", dir.path() / "b"));
  EXPECT_EQ(dir.Read("b"), "x");
}

}  // namespace
}  // namespace koltar
