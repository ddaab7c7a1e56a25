#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "categories/text.h"
#include "platform/binary.h"
#include "platform/files.h"
#include "tests/categories/category_fixture.h"
#include "tests/support/u8.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using test::TranscriptIs;

// Labels drawn into the recording device context, where one map unit is one pixel and
// device y = 200 - map y. A font 10 units high measures 10 pixels: ascent 8, descent 2,
// every character 5 wide (half the height at the natural width).
class TextDrawing : public test::DrawTest {
 protected:
  TextDrawing() : labels(writer.AddTexts("Nevek", {"Táj", "Víz"})) {
    auto& c = writer.symbology.AddCategory("Nevek");
    c.AddLayer("Táj").Set("FONT", "Arial CE,255,0,0,1,0,0,10,0");
    c.AddLayer("Víz").Set("FONT", "Times New Roman,0,0,255,0,1,1,10,150");
  }
  MText Load() { return LoadWithSymbology<MText>("Nevek"); }

  TextCategoryWriter& labels;
};

TEST_F(TextDrawing, LabelsStandOnTheirBaselineInTheLayerFont) {
  labels.Add(1, {50, 100}, 0.0f, "Duna");
  labels.Add(2, {20, 40}, 0.0f, "Tó");
  MText text = Load();
  Draw(text);
  const std::string lake = test::U8(u8"TEXT 20,160 \"Tó\"");  // the transcript is UTF-8
  EXPECT_TRUE(TranscriptIs(
      Painted(), {"ALIGN BASELINE", "BKMODE TRANSPARENT", "FONT \"Arial CE\" 10 0 0 700", "TEXTCOLOR 255,0,0",
                  "TEXT 50,100 \"Duna\"",
                  // 150 % of the average width 5.
                  "FONT \"Times New Roman\" 10 7 0 400 ITALIC UNDERLINE", "TEXTCOLOR 0,0,255", lake}));
  // The unturned box from the descent line (2 below the anchor) up: 4 x 5 wide, 10 high.
  EXPECT_EQ(text.GetLabelRect(0), MapRect::Of(50, 108, 70, 98));
  EXPECT_EQ(text.GetLabelRect(1), MapRect::Of(20, 48, 34, 38));
  EXPECT_TRUE(text.IsDrawn(0));
  EXPECT_EQ(text.HitTestLabel({50, 108}), 0);
  EXPECT_EQ(text.HitTestLabel({70, 98}), 0);
  EXPECT_EQ(text.HitTestLabel({71, 100}), std::nullopt);
  EXPECT_EQ(text.HitTestLabel({60, 97}), std::nullopt);
  EXPECT_EQ(text.GetObjectName(1), "Tó");
  EXPECT_EQ(text.GetExtent(), MapRect::Of(20, 100, 50, 40));
}

TEST_F(TextDrawing, TurnedLabelGetsItsOwnFontAndAWiderUnturnedRectangle) {
  labels.Add(1, {100, 100}, 90.0f, "Duna");
  labels.Add(1, {150, 20}, 45.5f, "Tisza");
  MText text = Load();
  Draw(text);
  EXPECT_TRUE(TranscriptIs(
      Painted(),
      {"ALIGN BASELINE", "BKMODE TRANSPARENT", "FONT \"Arial CE\" 10 0 900 700", "TEXTCOLOR 255,0,0",
       "TEXT 100,100 \"Duna\"", "FONT \"Arial CE\" 10 0 455 700", "TEXT 150,180 \"Tisza\""}));
  // 20 pixels widened by 1.05 to 21, the rectangle itself is not turned.
  EXPECT_EQ(text.GetLabelRect(0), MapRect::Of(100, 108, 121, 98));
  EXPECT_EQ(text.GetLabelRect(1), MapRect::Of(150, 28, 176, 18));
  EXPECT_DOUBLE_EQ(text.GetLabelAngle(1), 45.5);
}

TEST_F(TextDrawing, HitTestTurnsThePointBackAboutTheAnchor) {
  labels.Add(1, {100, 100}, 90.0f, "Duna");
  MText text = Load();
  Draw(text);
  // Turned a quarter turn counter-clockwise, the text runs up from the anchor with its
  // glyphs to the west: x 92 ... 102, y 100 ... 121.
  for (MapPoint on : {MapPoint{96, 115}, MapPoint{92, 121}, MapPoint{101, 101}, MapPoint{99, 120}})
    EXPECT_EQ(text.HitTestLabel(on), 0) << on.x << "," << on.y;
  // The unturned rectangle's far end, and points just beside the turned text.
  for (MapPoint off : {MapPoint{118, 103}, MapPoint{110, 104}, MapPoint{91, 110}, MapPoint{96, 123},
                       MapPoint{103, 110}, MapPoint{96, 98}})
    EXPECT_EQ(text.HitTestLabel(off), std::nullopt) << off.x << "," << off.y;
}

TEST_F(TextDrawing, MovedLabelIsFoundAtItsNewPlaceBeforeRedrawing) {
  labels.Add(1, {100, 100}, 90.0f, "Duna");
  labels.Add(1, {30, 30}, 0.0f, "Rába");
  MText text = Load();
  Draw(text);
  EXPECT_FALSE(text.changed());
  text.MoveLabel(0, {150, 60});
  EXPECT_TRUE(text.changed());
  EXPECT_EQ(text.GetLabelPosition(0), (MapPoint{150, 60}));
  EXPECT_EQ(text.GetLabelRect(0), MapRect::Of(150, 68, 171, 58));
  EXPECT_DOUBLE_EQ(text.GetLabelAngle(0), 90.0);
  EXPECT_EQ(text.HitTestLabel({146, 75}), 0);
  EXPECT_EQ(text.HitTestLabel({96, 115}), std::nullopt);
  text.MoveLabel(5, {0, 0});  // outside the records: nothing happens
  EXPECT_EQ(text.GetLabelPosition(1), (MapPoint{30, 30}));
  services.messages.Answer(MessageAnswer::No);  // the save question at destruction
}

TEST_F(TextDrawing, LaterLabelsWinTheHitTest) {
  labels.Add(1, {50, 100}, 0.0f, "Alsó");
  labels.Add(1, {60, 100}, 0.0f, "Felső");
  MText text = Load();
  EXPECT_EQ(text.HitTestLabel({65, 102}), std::nullopt);  // nothing is hit before it was drawn
  Draw(text);
  EXPECT_EQ(text.HitTestLabel({65, 102}), 1);
  EXPECT_EQ(text.HitTestLabel({55, 102}), 0);
}

TEST_F(TextDrawing, LayersWithoutFontScaleOrVisibilityLeaveTheirLabelsUndrawn) {
  writer.symbology.categories[0].layers[0].Set("DISPLAYSCALE", "1000,5000");
  writer.symbology.categories[0].layers[1].keys.clear();
  writer.symbology.categories[0].layers[1].Set("FONT", "Arial CE,0,0,0,0,0,0,0,0");  // height 0
  labels.Add(1, {50, 100}, 0.0f, "Duna");
  labels.Add(2, {50, 50}, 0.0f, "Tó");
  labels.Add(1, {5000, 5000}, 0.0f, "Messze");  // outside the view
  labels.Add(1, {60, 60}, 0.0f, "");            // no name
  MText text = Load();
  Draw(text);
  // The layer of height 0 draws nothing, nor does the label out of view.
  EXPECT_TRUE(TranscriptIs(Painted(), {"ALIGN BASELINE", "BKMODE TRANSPARENT", "FONT \"Arial CE\" 10 0 0 700",
                                       "TEXTCOLOR 255,0,0", "TEXT 50,100 \"Duna\""}));
  EXPECT_TRUE(text.IsDrawn(0));
  EXPECT_FALSE(text.IsDrawn(1));
  EXPECT_TRUE(text.IsDrawn(2));
  EXPECT_EQ(text.GetLabelRect(2), MapRect::Of(5000, 5000, 5000, 5000));  // as the file had it
  EXPECT_FALSE(text.IsDrawn(3));
  EXPECT_EQ(text.HitTestLabel({60, 60}), std::nullopt);
  EXPECT_EQ(text.GetObjectName(3), "");

  Draw(text, 8000);  // the first layer is out of scale now
  EXPECT_FALSE(text.IsDrawn(0));
  EXPECT_EQ(text.HitTestLabel({55, 102}), std::nullopt);
}

TEST_F(TextDrawing, CharacterHeightBelowOnePixelAndWidthZero) {
  writer.unit = 20;  // 10 m is 1 map unit: floor(0.5 + 0.5)
  writer.symbology.categories[0].layers[1].keys.clear();
  writer.symbology.categories[0].layers[1].Set("FONT", "Arial CE,0,0,0,0,0,0,9,0");  // 0 map units
  labels.Add(1, {50, 100}, 0.0f, "Duna");
  labels.Add(2, {50, 50}, 0.0f, "Tó");
  MText text = Load();
  text.Draw(Context(4000, kDevice, 20));
  EXPECT_TRUE(TranscriptIs(Painted(), {"ALIGN BASELINE", "BKMODE TRANSPARENT", "FONT \"Arial CE\" 1 0 0 700",
                                       "TEXTCOLOR 255,0,0", "TEXT 50,100 \"Duna\""}));
  EXPECT_FALSE(text.IsDrawn(1));
}

TEST_F(TextDrawing, EscapeEndsTheLoopAndTheCategoryScaleStopsDrawing) {
  for (int i = 0; i < 5; ++i) labels.Add(1, {10 + 30 * i, 100}, 0.0f, "Hegy");
  MText text = Load();
  services.progress.PressEscAtPoll(3);
  Draw(text);
  EXPECT_TRUE(text.IsDrawn(1));
  EXPECT_FALSE(text.IsDrawn(2));

  writer.symbology.categories[0].displayScale = "100,1000";
  MText other = Load();
  Draw(other);
  EXPECT_TRUE(dc.Transcript().empty());
}

TEST_F(TextDrawing, DamagedRecordsAreRefusedOnce) {
  labels.Add(1, {50, 100}, 0.0f, "Duna");
  labels.AddRaw({3, {60, 60}, 0.0f, -1});                                    // layer 3 of 2
  labels.AddRaw({1, {70, 70}, 0.0f, 999});                                   // outside the name table
  labels.Add(1, {80, 80}, std::numeric_limits<float>::quiet_NaN(), "Duna");  // kept, never hit
  labels.dataTail = "tail";                                                  // a partial record
  MText text = Load();
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|Hibás adat '" + File("c01.dat") +
                               "' file-ban: 2 objektum nem jeleníthető meg.\nAz első hibás a(z) 2. rekord: "
                               "a rétegszáma (3) hibás, a kategóriának 2 rétege van."}));
  EXPECT_EQ(text.recordCount(), 4);
  EXPECT_EQ(text.GetExtent(), MapRect::Of(50, 100, 80, 80));
  Draw(text);
  EXPECT_TRUE(text.IsDrawn(3));
  EXPECT_EQ(text.HitTestLabel({81, 81}), std::nullopt);
  EXPECT_FALSE(text.IsDrawn(1));
  EXPECT_FALSE(text.IsDrawn(2));
  EXPECT_EQ(text.GetObjectName(2), "");
  EXPECT_EQ(text.GetLabelPosition(2), (MapPoint{}));
}

// Label positions taken from an earlier edition of the data and saved back.
class LabelFiles : public test::CategoryTest {
 protected:
  LabelFiles() : labels(writer.AddTexts("Nevek", {"Táj"})) {}

  // Writes the earlier edition into the folder "old": DATAFILE c01.dat, NAMEFILE c01.nam.
  TextCategoryWriter& Earlier() {
    std::filesystem::create_directories(dir.path() / "old");
    return earlierWriter.AddTexts("Nevek", {"Táj"});
  }
  void WriteEarlier() { ASSERT_TRUE(earlierWriter.Write()); }
  std::string Information(const std::string& text) const { return "KOLTAR32|INFORMATION|" + text; }
  std::string Saved() const { return Information("'Nevek' kategória adatai kimentve."); }
  // The DATAFILE bytes with record i's anchor and label rectangle replaced.
  static std::string Moved(std::string bytes, int i, MapPoint to, const MapRect& rect) {
    char* r = bytes.data() + i * 64;
    WriteI32(r + 2, to.x);
    WriteI32(r + 6, to.y);
    WriteI32(r + 18, rect.left);
    WriteI32(r + 22, rect.top);
    WriteI32(r + 26, rect.right);
    WriteI32(r + 30, rect.bottom);
    return bytes;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir.path() / name); }
  // The files of the folder, to see that no temporary file was left behind.
  Lines Files() const {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TextCategoryWriter& labels;
  MapWriter earlierWriter{dir.path() / "old"};
};

TEST_F(LabelFiles, EarlierPositionsMatchNamesWithoutLetterCase) {
  labels.Add(1, {1, 1}, 0.0f, "Duna");
  labels.Add(1, {2, 2}, 0.0f, "Tisza");
  labels.Add(1, {3, 3}, 0.0f, "Zagyva");  // not in the earlier edition
  labels.Add(1, {4, 4}, 0.0f, "DUNA");    // shares the name with the first
  labels.Add(1, {5, 5}, 0.0f, "");        // no name: skipped, not counted
  labels.Add(1, {6, 6}, 0.0f, "Őrség");
  labels.Add(1, {7, 7}, 0.0f, "Hármashatár");  // missing too
  TextCategoryWriter& old = Earlier();
  old.Add(1, {100, 200}, 0.0f, "tisza");
  old.Add(1, {300, 400}, 30.0f, "duna");
  old.Add(1, {500, 600}, 60.0f, "Duna");  // a later one of the same name is not taken
  old.Add(1, {700, 800}, 12.5f, "őRSÉG");
  old.AddRaw({1, {900, 900}, 0.0f, 5000});  // damaged: a name outside the table
  WriteEarlier();
  MText text = Load<MText>("Nevek");

  text.LoadLabelPositions(dir.Model("old/c01.dat"), dir.Model("old/c01.nam"));
  EXPECT_EQ(Messages(),
            (Lines{Information("2 megíráshoz nem lehetett beállítani pozíciót [Nevek] kategóriában.")}));
  EXPECT_EQ(text.GetLabelPosition(0), (MapPoint{300, 400}));
  EXPECT_DOUBLE_EQ(text.GetLabelAngle(0), 30.0);
  EXPECT_EQ(text.GetLabelPosition(1), (MapPoint{100, 200}));
  EXPECT_EQ(text.GetLabelPosition(2), (MapPoint{3, 3}));
  EXPECT_EQ(text.GetLabelPosition(3), (MapPoint{300, 400}));
  EXPECT_DOUBLE_EQ(text.GetLabelAngle(3), 30.0);
  EXPECT_EQ(text.GetLabelPosition(4), (MapPoint{5, 5}));
  EXPECT_EQ(text.GetLabelPosition(5), (MapPoint{700, 800}));
  EXPECT_DOUBLE_EQ(text.GetLabelAngle(5), 12.5);
  EXPECT_EQ(text.GetLabelRect(0), MapRect::Of(1, 1, 1, 1));  // left to the next drawing
  EXPECT_TRUE(text.changed());
  EXPECT_EQ(services.waitCursor.begins, 1);
  EXPECT_EQ(services.waitCursor.depth, 0);
  services.messages.Answer(MessageAnswer::No);
}

TEST_F(LabelFiles, LoadingChangesEvenWhenNothingMatchesButNotWhenAFileIsMissing) {
  labels.Add(1, {1, 1}, 0.0f, "Duna");
  Earlier().Add(1, {9, 9}, 0.0f, "Tisza");
  WriteEarlier();
  MText text = Load<MText>("Nevek");
  text.LoadLabelPositions(dir.Model("old/c01.dat"), dir.Model("old/nincs.nam"));
  EXPECT_EQ(Messages(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + dir.Model("old/nincs.nam") + "' file nem nyitható meg.\n"}));
  EXPECT_FALSE(text.changed());

  services.messages.Clear();
  text.LoadLabelPositions(dir.Model("old/c01.dat"), dir.Model("old/c01.nam"));
  EXPECT_EQ(Messages(),
            (Lines{Information("1 megíráshoz nem lehetett beállítani pozíciót [Nevek] kategóriában.")}));
  EXPECT_TRUE(text.changed());
  services.messages.Answer(MessageAnswer::No);
}

TEST_F(LabelFiles, SavingTwiceKeepsTheStateBeforeTheSecondSaveAsBackup) {
  labels.Add(1, {10, 20}, 0.0f, "Duna");
  labels.Add(1, {30, 40}, 45.0f, "Tisza");
  const std::string mapFile = WriteMap();
  // Reserved bytes are kept as they were read.
  std::string original = dir.Read("c01.dat");
  for (int i = 36; i < 64; ++i) original[static_cast<std::size_t>(64 + i)] = static_cast<char>(i);
  dir.Write("c01.dat", original);
  MText text("Nevek", MapDirectory(), mapFile);
  EXPECT_EQ(text.BackupFile(), File("c01.BAK"));

  text.MoveLabel(1, {35, 50});
  ASSERT_TRUE(text.SaveLabelPositions());
  EXPECT_FALSE(text.changed());
  const std::string first = Moved(original, 1, {35, 50}, MapRect::Of(35, 50, 35, 50));
  EXPECT_EQ(dir.Read("c01.dat"), first);
  EXPECT_EQ(dir.Read("c01.BAK"), original);

  text.MoveLabel(0, {0, 0});
  ASSERT_TRUE(text.SaveLabelPositions());
  EXPECT_EQ(dir.Read("c01.dat"), Moved(first, 0, {0, 0}, MapRect::Of(0, 0, 0, 0)));
  EXPECT_EQ(dir.Read("c01.BAK"), first);
  EXPECT_EQ(Messages(), (Lines{Saved(), Saved()}));
  EXPECT_EQ(services.waitCursor.depth, 0);
  EXPECT_EQ(Files(), (Lines{"c01.BAK", "c01.dat", "c01.nam", "map.map", "symbology.ini"}));

  // Reloaded, the label is where it was put.
  MText reloaded("Nevek", MapDirectory(), mapFile);
  EXPECT_EQ(reloaded.GetLabelPosition(1), (MapPoint{35, 50}));
  EXPECT_DOUBLE_EQ(reloaded.GetLabelAngle(1), 45.0);
}

TEST_F(LabelFiles, SaveIntoAFolderThatCannotBeWrittenKeepsEverything) {
  labels.Add(1, {10, 20}, 0.0f, "Duna");
  MText text = Load<MText>("Nevek");
  const std::string original = dir.Read("c01.dat");
  text.MoveLabel(0, {11, 21});
  // The map's folder is moved away and a plain file takes its name: nothing can be
  // created there (permissions would not stop a test that runs as root).
  const std::filesystem::path moved = dir.path().string() + "-moved";
  std::filesystem::rename(dir.path(), moved);
  { std::ofstream blocker(dir.path()); }

  EXPECT_FALSE(text.SaveLabelPositions());
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|'" + File("c01.dat") + "' file nem nyitható meg.\n"}));
  EXPECT_TRUE(text.changed());

  std::filesystem::remove(dir.path());
  std::filesystem::rename(moved, dir.path());
  EXPECT_EQ(dir.Read("c01.dat"), original);
  EXPECT_FALSE(Exists("c01.BAK"));
  services.messages.Answer(MessageAnswer::No);
}

// Writes as the real file does, but a write fails once `limit` bytes are written, or
// the final rename fails; records the pieces it was given.
class FailingFile : public ReplacementFile {
 public:
  explicit FailingFile(std::int64_t writeLimit, bool failCommit = false)
      : limit_(writeLimit), failCommit_(failCommit) {}
  std::int64_t Write(const void* bytes, std::int64_t count) override {
    pieces.push_back(count);
    const std::int64_t allowed = std::min(count, limit_ - written_);
    const std::int64_t n = ReplacementFile::Write(bytes, allowed);
    written_ += n;
    return n;
  }
  bool Commit() override {
    if (!failCommit_) return ReplacementFile::Commit();
    Discard();
    return false;
  }
  std::vector<std::int64_t> pieces;

 private:
  std::int64_t limit_;
  bool failCommit_;
  std::int64_t written_ = 0;
};

TEST_F(LabelFiles, WriteFailingHalfwayKeepsTheOldData) {
  for (int i = 0; i < 300; ++i) labels.Add(1, {i, i}, 0.0f, "Név");  // 19200 bytes
  MText text = Load<MText>("Nevek");
  ASSERT_TRUE(WriteFileAtomically(dir.path() / "c01.BAK", "older backup"));
  const std::string original = dir.Read("c01.dat");
  text.MoveLabel(299, {5, 5});

  FailingFile file(17000);
  EXPECT_FALSE(text.SaveLabelPositions(file));
  EXPECT_EQ(file.pieces, (std::vector<std::int64_t>{16000, 3200}));
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|Irás hiba '" + File("c01.dat") + "' file-ban.\n"}));
  EXPECT_TRUE(text.changed());
  EXPECT_EQ(dir.Read("c01.dat"), original);
  EXPECT_EQ(dir.Read("c01.BAK"), "older backup");
  EXPECT_EQ(Files(), (Lines{"c01.BAK", "c01.dat", "c01.nam", "map.map", "symbology.ini"}));

  // A failing rename at the end leaves the data file as it was too; the backup then
  // holds the same data.
  services.messages.Clear();
  FailingFile rename(1 << 20, true);
  EXPECT_FALSE(text.SaveLabelPositions(rename));
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|Irás hiba '" + File("c01.dat") + "' file-ban.\n"}));
  EXPECT_EQ(dir.Read("c01.dat"), original);
  EXPECT_EQ(dir.Read("c01.BAK"), original);
  EXPECT_TRUE(text.changed());

  services.messages.Clear();
  EXPECT_TRUE(text.SaveLabelPositions());
  EXPECT_EQ(Messages(), (Lines{Saved()}));
}

// A failure at any step of a save, the backup copy's included, leaves DATAFILE byte for
// byte as it was (or, without failure, as saved), the backup either as it was or holding
// the previous DATAFILE, no temporary file, and a message that says so.
TEST_F(LabelFiles, AFailureAtAnyStepOfASaveKeepsOldDataAndABackupByItsRules) {
  for (int i = 0; i < 300; ++i) labels.Add(1, {i, i}, 0.0f, "Név");  // 19200 bytes, two pieces
  MText text = Load<MText>("Nevek");
  const std::string original = dir.Read("c01.dat");
  text.MoveLabel(299, {5, 5});
  const std::string saved = Moved(original, 299, {5, 5}, MapRect::Of(5, 5, 5, 5));
  const int steps = test::SweepWriteFaults(
      [&] {
        dir.Write("c01.dat", original);
        dir.Write("c01.BAK", "older backup");
        services.messages.Clear();
      },
      [&] { return text.SaveLabelPositions(); },
      [&](bool ok, const test::ScopedWriteFault& fault) {
        // Only a failing backup copy lets the save go on: it is not reported.
        const bool backupFailed = fault.failed() && ok;
        EXPECT_EQ(dir.Read("c01.dat"), ok ? saved : original) << fault.failedStep();
        const std::string backup = dir.Read("c01.BAK");
        EXPECT_TRUE(backup == original || (backup == "older backup" && (!ok || backupFailed)))
            << fault.failedStep();
        EXPECT_EQ(Files(), (Lines{"c01.BAK", "c01.dat", "c01.nam", "map.map", "symbology.ini"}));
        EXPECT_EQ(text.changed(), !ok);
        if (ok) {
          EXPECT_EQ(Messages(), (Lines{Saved()}));
        } else {
          ASSERT_EQ(Messages().size(), 1u);
          EXPECT_NE(Messages()[0].find("'" + File("c01.dat") + "' file"), std::string::npos) << Messages()[0];
        }
        text.MoveLabel(299, {5, 5});  // changed again for the next save
      });
  // DATAFILE: open, two writes, sync, close, rename; the backup: open, write, sync,
  // close, rename.
  EXPECT_EQ(steps, 11);
  services.messages.Answer(MessageAnswer::No);
}

TEST_F(LabelFiles, DestructionAsksBeforeSavingChangedPositions) {
  labels.Add(1, {10, 20}, 0.0f, "Duna");
  const std::string mapFile = WriteMap();
  const std::string original = dir.Read("c01.dat");
  const std::string question =
      "KOLTAR32|QUESTION|A 'Nevek' kategória tartalma megváltozott.\n\nKívánja menteni?";
  { MText unchanged("Nevek", MapDirectory(), mapFile); }
  EXPECT_TRUE(Messages().empty());
  {
    MText text("Nevek", MapDirectory(), mapFile);
    text.MoveLabel(0, {1, 2});
    services.messages.Answer(MessageAnswer::No);
  }
  EXPECT_EQ(Messages(), (Lines{question}));
  EXPECT_EQ(dir.Read("c01.dat"), original);
  services.messages.Clear();
  {
    MText text("Nevek", MapDirectory(), mapFile);
    text.MoveLabel(0, {1, 2});
    services.messages.Answer(MessageAnswer::Yes);
  }
  EXPECT_EQ(Messages(), (Lines{question, Saved()}));
  EXPECT_EQ(MText("Nevek", MapDirectory(), mapFile).GetLabelPosition(0), (MapPoint{1, 2}));
}

TEST_F(LabelFiles, DataFileThatDidNotLoadIsNeverWrittenOver) {
  labels.Add(1, {10, 20}, 0.0f, "Duna");
  TextCategoryWriter& old = Earlier();
  old.Add(1, {1, 1}, 0.0f, "Duna");
  WriteEarlier();
  const std::string mapFile = WriteMap();
  std::filesystem::remove(dir.path() / "c01.dat");
  std::filesystem::create_directory(dir.path() / "c01.dat");  // cannot be loaded
  MText text("Nevek", MapDirectory(), mapFile);
  services.messages.Clear();
  text.LoadLabelPositions(dir.Model("old/c01.dat"), dir.Model("old/c01.nam"));
  EXPECT_FALSE(text.changed());
  EXPECT_FALSE(text.SaveLabelPositions());
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "c01.dat"));
}

}  // namespace
}  // namespace koltar
