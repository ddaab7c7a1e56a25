#include <gtest/gtest.h>

#include "platform/paths.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

TEST(SplitPath, DriveDirectoryNameExtension) {
  const PathParts p = SplitPath("E:\\MAPS\\SUB/ROADS.DAT");
  EXPECT_EQ(p.drive, "E:");
  EXPECT_EQ(p.dir, "\\MAPS\\SUB/");
  EXPECT_EQ(p.name, "ROADS");
  EXPECT_EQ(p.ext, ".DAT");

  const PathParts q = SplitPath("archive.tar.gz");
  EXPECT_EQ(q.drive, "");
  EXPECT_EQ(q.dir, "");
  EXPECT_EQ(q.name, "archive.tar");
  EXPECT_EQ(q.ext, ".gz");

  const PathParts r = SplitPath("/home/user/maps/");
  EXPECT_EQ(r.dir, "/home/user/maps/");
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.ext, "");
}

TEST(ResolveFileName, WrittenNameAgainstTheMapDirectory) {
  EXPECT_EQ(ResolveFileName("E:\\MAPS\\", "ROADS.DAT"), "E:\\MAPS\\ROADS.DAT");
  EXPECT_EQ(ResolveFileName("E:\\MAPS\\", "D:\\OTHER\\ROADS.DAT"), "D:\\OTHER\\ROADS.DAT");
  EXPECT_EQ(ResolveFileName("E:\\MAPS\\", "ROADS"), "E:\\MAPS\\ROADS");
}

TEST(ResolveFileName, DirectoryIsTakenWholeFromOneSide) {
  // A written directory replaces the base's; it is not joined to it.
  EXPECT_EQ(ResolveFileName("E:\\MAPS\\", "DATA\\ROADS.DAT"), "E:DATA\\ROADS.DAT");
  // A drive alone keeps the base's directory.
  EXPECT_EQ(ResolveFileName("E:\\MAPS\\", "C:ROADS.DAT"), "C:\\MAPS\\ROADS.DAT");
  EXPECT_EQ(ResolveFileName("/home/u/maps/", "roads.dat"), "/home/u/maps/roads.dat");
  // A base without a closing separator loses its last component.
  EXPECT_EQ(ResolveFileName("E:\\MAPS", "ROADS.DAT"), "E:\\ROADS.DAT");
  // Long paths are kept whole.
  const std::string deep = "/" + std::string(300, 'd') + "/";
  EXPECT_EQ(ResolveFileName(deep, "x.dat"), deep + "x.dat");
}

TEST(GetPathDirectory, DropsNameAndExtension) {
  EXPECT_EQ(GetPathDirectory("E:\\MAPS\\HUNGARY.MAP"), "E:\\MAPS\\");
  EXPECT_EQ(GetPathDirectory("E:\\OLD"), "E:\\");
  EXPECT_EQ(GetPathDirectory("plain.map"), "");
  EXPECT_EQ(GetPathDirectory("/data/symb/x.ini"), "/data/symb/");
}

TEST(LocalFileName, SlashesDrivesAndLetterCase) {
  test::TempDir dir;
  dir.Write("Maps/roads.dat", "x");
  dir.Write("Maps/T\xC3\xA9rk\xC3\xA9p.map", "y");  // "Térkép.map" on disk, in UTF-8

  const std::string root = dir.Model();
  // Exact name.
  EXPECT_EQ(LocalFileName(root + "Maps/roads.dat"), dir.path() / "Maps/roads.dat");
  // Backslashes and other letter case in every component.
  EXPECT_EQ(LocalFileName(root + "MAPS\\ROADS.DAT"), dir.path() / "Maps/roads.dat");
  // Code page 1250 name with accented capitals: "TÉRKÉP.MAP".
  EXPECT_EQ(LocalFileName(root + "maps\\T\xC9RK\xC9P.MAP"), dir.path() / "Maps/T\xC3\xA9rk\xC3\xA9p.map");
  // A drive letter is dropped, the rest of the path kept.
  EXPECT_EQ(LocalFileName("E:" + root + "MAPS\\ROADS.DAT"), dir.path() / "Maps/roads.dat");
  EXPECT_EQ(LocalFileName("E:\\MAPS\\A.DAT").string(), "/MAPS/A.DAT");
  // A file to be created keeps its own name below the matched directories.
  EXPECT_EQ(LocalFileName(root + "MAPS\\NEW.INI"), dir.path() / "Maps/NEW.INI");
  EXPECT_EQ(LocalFileName(root + "NOPE\\ROADS.DAT"), dir.path() / "NOPE/ROADS.DAT");
}

}  // namespace
}  // namespace koltar
