#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

class Profile : public test::ServicesTest {
 protected:
  test::TempDir dir;
};

TEST_F(Profile, ReadsValuesTrimmedWithCaseInsensitiveNames) {
  const std::string f = dir.Write("a.map",
                                  "; térkép\r\n"
                                  "[MAP]\r\n"
                                  "NAME =  Magyarország  \r\n"
                                  "UNIT=10\r\n"
                                  "\r\n"
                                  "[Telep\xFCl\xE9sek]\r\n"
                                  "DataFile=towns.dat\r\n");
  EXPECT_EQ(ReadProfileString("MAP", "NAME", "", 32, f), "Magyarország");
  EXPECT_EQ(ReadProfileString("map", "name", "", 32, f), "Magyarország");
  EXPECT_EQ(ReadProfileInt("MAP", "UNIT", 0, f), 10);
  // Section names hold Hungarian letters; they match in either case.
  EXPECT_EQ(ReadProfileString("TELEP\xDCL\xC9SEK", "DATAFILE", "", 260, f), "towns.dat");
}

TEST_F(Profile, EmptyValueIsNotTheDefault) {
  const std::string f = dir.Write("a.ini", "[MAP]\nCARTOSYMB=\nSCALERANGE=   \n");
  EXPECT_EQ(ReadProfileString("MAP", "CARTOSYMB", "dflt", 260, f), "");
  EXPECT_EQ(ReadProfileString("MAP", "SCALERANGE", "dflt", 304, f), "");
  EXPECT_EQ(ReadProfileString("MAP", "MISSING", "dflt", 304, f), "dflt");
  EXPECT_EQ(ReadProfileString("NOSECTION", "CARTOSYMB", "dflt", 304, f), "dflt");
}

TEST_F(Profile, DefaultsLoseTheirTrailingBlanksAsValuesDo) {
  const std::string f = dir.Write("a.ini", "[S]\nK=value  \t\n");
  EXPECT_EQ(ReadProfileString("S", "K", "", 32, f), "value");
  EXPECT_EQ(ReadProfileString("S", "NONE", "  dflt \t ", 32, f), "  dflt");
  EXPECT_EQ(ReadProfileString("S", "NONE", "   ", 32, f), "");
  EXPECT_EQ(ReadProfileString("S", "NONE", "abc   ", 4, dir.Model("none.ini")), "abc");
}

TEST_F(Profile, CarriageReturnsAloneEndLinesAsCrLfAndLfDo) {
  const std::string cr = dir.Write("cr.ini", "[MAP]\rNAME=Szeged \rUNIT=10\r\r[CATEGORIES]\rN=2\r");
  const std::string mixed = dir.Write("mixed.ini", "[MAP]\r\nNAME=Szeged\nUNIT=10\r[CATEGORIES]\r\nN=2");
  for (const std::string& f : {cr, mixed}) {
    EXPECT_EQ(ReadProfileString("MAP", "NAME", "", 32, f), "Szeged") << f;
    EXPECT_EQ(ReadProfileInt("MAP", "UNIT", 0, f), 10) << f;
    EXPECT_EQ(ReadProfileInt("CATEGORIES", "N", 0, f), 2) << f;
  }
  // A write keeps the file's own line ends: the changed line, a new key, a new section.
  ASSERT_TRUE(WriteProfileString("MAP", "UNIT", "1", cr));
  ASSERT_TRUE(WriteProfileString("MAP", "ORIGIN", "5,6", cr));
  ASSERT_TRUE(WriteProfileString("NEW", "K", "v", cr));
  EXPECT_EQ(dir.Read("cr.ini"),
            "[MAP]\rNAME=Szeged \rUNIT=1\rORIGIN=5,6\r\r[CATEGORIES]\rN=2\r\r[NEW]\rK=v\r");
  EXPECT_EQ(ReadProfileString("MAP", "ORIGIN", "", 32, cr), "5,6");
}

TEST_F(Profile, MissingFileGivesEveryDefault) {
  const std::string f = dir.Model("none.ini");
  EXPECT_EQ(ReadProfileString("Screen", "PixelSize", "-1", 8, f), "-1");
  EXPECT_EQ(ReadProfileInt("CATEGORIES", "N", 7, f), 7);
  EXPECT_EQ(ReadProfileString("MAP", "NAME", "x", 32, ""), "x");
}

TEST_F(Profile, ValuesAreCutToCapacityMinusOne) {
  const std::string value(400, 'v');
  const std::string f = dir.Write("a.ini", "[S]\nK=" + value + "\n");
  EXPECT_EQ(ReadProfileString("S", "K", "", 304, f), value.substr(0, 303));
  EXPECT_EQ(ReadProfileString("S", "K", "", 1, f), "");
  EXPECT_EQ(ReadProfileString("S", "NONE", "abcdef", 4, f), "abc");  // defaults too
  EXPECT_EQ(ReadProfileString("S", "K", "", 0, f), "");
}

TEST_F(Profile, IntegersTakeTheLeadingNumber) {
  const std::string f = dir.Write("a.ini", "[S]\nA=12abc\nB=abc\nC=-40\nD=\nE=99999999999\nF=+7\n");
  EXPECT_EQ(ReadProfileInt("S", "A", 5, f), 12);
  EXPECT_EQ(ReadProfileInt("S", "B", 5, f), 0);
  EXPECT_EQ(ReadProfileInt("S", "C", 5, f), -40);
  EXPECT_EQ(ReadProfileInt("S", "D", 5, f), 5);  // present but empty: the default
  EXPECT_EQ(ReadProfileInt("S", "E", 5, f), 2147483647);
  EXPECT_EQ(ReadProfileInt("S", "F", 5, f), 7);
  EXPECT_EQ(ReadProfileInt("S", "NONE", 5, f), 5);
}

TEST_F(Profile, CommentsQuotesAndFirstOccurrences) {
  const std::string f = dir.Write("a.ini",
                                  "[S]\n"
                                  ";K=commented\n"
                                  "  ; K=indented comment\n"
                                  "K=first\n"
                                  "K=second\n"
                                  "Q=\"  quoted  \"\n"
                                  "line without equals\n"
                                  "[S]\n"
                                  "L=later section\n");
  EXPECT_EQ(ReadProfileString("S", "K", "", 304, f), "first");
  EXPECT_EQ(ReadProfileString("S", "Q", "", 304, f), "  quoted  ");
  EXPECT_EQ(ReadProfileString("S", "L", "none", 304, f), "none");  // first [S] wins
  EXPECT_EQ(ReadProfileString("S", "line without equals", "none", 304, f), "none");
}

TEST_F(Profile, WriteChangesOnlyThatLine) {
  const std::string before =
      "; settings\r\n"
      "[MAP]\r\n"
      "NAME=Test\r\n"
      "FINDSCALE = 25000   \r\n"
      "\r\n"
      "; roads\r\n"
      "[CATEGORIES]\r\n"
      "N=1\r\n";
  const std::string f = dir.Write("a.map", before);
  ASSERT_TRUE(WriteProfileString("MAP", "FINDSCALE", "30000", f));
  std::string expected = before;
  expected.replace(expected.find("25000   "), 8, "30000");
  EXPECT_EQ(dir.Read("a.map"), expected);
  EXPECT_EQ(ReadProfileString("MAP", "FINDSCALE", "", 304, f), "30000");
}

TEST_F(Profile, WriteAddsKeyAfterTheSectionsLastEntry) {
  const std::string f = dir.Write("a.ini",
                                  "[A]\n"
                                  "X=1\n"
                                  "\n"
                                  "; about B\n"
                                  "[B]\n"
                                  "Y=2");  // no line end at the end
  ASSERT_TRUE(WriteProfileString("a", "Z", "3", f));
  ASSERT_TRUE(WriteProfileString("B", "W", "4", f));
  EXPECT_EQ(dir.Read("a.ini"),
            "[A]\n"
            "X=1\n"
            "Z=3\n"
            "\n"
            "; about B\n"
            "[B]\n"
            "Y=2\n"
            "W=4\n");
}

TEST_F(Profile, WriteAddsSectionAndCreatesFiles) {
  const std::string f = dir.Write("a.ini", "[A]\r\nX=1\r\n");
  ASSERT_TRUE(WriteProfileString("NEW", "K", "v", f));
  EXPECT_EQ(dir.Read("a.ini"), "[A]\r\nX=1\r\n\r\n[NEW]\r\nK=v\r\n");

  const std::string g = dir.Model("created.ini");
  ASSERT_TRUE(WriteProfileString("S", "K", "v", g));
  EXPECT_EQ(dir.Read("created.ini"), "[S]\nK=v\n");
}

TEST_F(Profile, WriteKeepsOtherBytesAndPermissions) {
  // Code page 1250 bytes and a value on a line of its own stay untouched.
  const std::string f = dir.Write("a.ini",
                                  "[S]\nN\xE9v=\xC1rp\xE1"
                                  "d\nK=1\n");
  ::chmod((dir.path() / "a.ini").c_str(), 0640);
  ASSERT_TRUE(WriteProfileString("S", "K", "line\nbreak", f));  // kept on one line
  EXPECT_EQ(dir.Read("a.ini"),
            "[S]\nN\xE9v=\xC1rp\xE1"
            "d\nK=line break\n");
  struct stat st {};
  ASSERT_EQ(::stat((dir.path() / "a.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary files are left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(Profile, WriteToMissingDirectoryOrEmptyNameFails) {
  EXPECT_FALSE(WriteProfileString("S", "K", "v", dir.Model("no/such/dir/a.ini")));
  EXPECT_FALSE(WriteProfileString("S", "K", "v", ""));
  EXPECT_FALSE(WriteProfileString("S", "K=", "v", dir.Model("a.ini")));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.ini"));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(Profile, ReadsNoticeFilesChangedOnDisk) {
  const std::string f = dir.Write("a.ini", "[S]\nK=1\n");
  EXPECT_EQ(ReadProfileInt("S", "K", 0, f), 1);
  dir.Write("a.ini", "[S]\nK=22\n");
  EXPECT_EQ(ReadProfileInt("S", "K", 0, f), 22);
  std::filesystem::remove(dir.path() / "a.ini");
  EXPECT_EQ(ReadProfileInt("S", "K", 0, f), 0);
}

TEST_F(Profile, FileNamesInOtherLetterCase) {
  dir.Write("maps/hungary.map", "[MAP]\nNAME=H\n");
  const std::string f = dir.Model("MAPS\\HUNGARY.MAP");
  EXPECT_EQ(ReadProfileString("MAP", "NAME", "", 32, f), "H");
  ASSERT_TRUE(WriteProfileString("MAP", "UNIT", "5", f));
  EXPECT_EQ(dir.Read("maps/hungary.map"), "[MAP]\nNAME=H\nUNIT=5\n");
}

// Many values written in one replacement give the file that writing them one after
// the other gives, on random files of sections, entries, comments and blank lines with
// every kind of line end, and random writes of old and new sections and keys.
TEST_F(Profile, ManyValuesAtOnceEqualOneAfterTheOther) {
  std::mt19937 random(2718u);
  const std::vector<std::string> lines = {
      "[A]", "[b]", " [ A ] ", "[C]", "K=1", "k = 2 ", "L=", "; K=3", "", "  ", "M=x y", "=5", "N"};
  const std::vector<std::string> ends = {"\n", "\r\n", "\r"};
  const std::vector<std::string> sections = {"A", "a", "B", "C", "D", "e"};
  const std::vector<std::string> keys = {"K", "k", "L", "M", "N", "O"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::string& end = ends[random() % ends.size()];
    for (std::size_t n = random() % 12; n > 0; --n) text += lines[random() % lines.size()] + end;
    if (random() % 3 == 0 && !text.empty()) text.resize(text.size() - end.size());  // no last line end
    std::vector<ProfileEntry> entries;
    for (std::size_t n = 1 + random() % 6; n > 0; --n)
      entries.push_back(
          {sections[random() % sections.size()], keys[random() % keys.size()], std::to_string(random() % 3)});
    SCOPED_TRACE("round " + std::to_string(round) + ": " + ::testing::PrintToString(text));
    const std::string one = dir.Write("one.ini", text);
    const std::string many = dir.Write("many.ini", text);
    ForgetProfileFiles();
    for (const ProfileEntry& e : entries) ASSERT_TRUE(WriteProfileString(e.section, e.key, e.value, one));
    ASSERT_TRUE(WriteProfileStrings(entries, many));
    EXPECT_EQ(dir.Read("many.ini"), dir.Read("one.ini"));
  }
}

}  // namespace
}  // namespace koltar
