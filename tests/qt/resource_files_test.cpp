#include "tools/icons/resource_files.h"

#include <gtest/gtest.h>

#include <QFile>

#include "tests/support/test_env.h"
#include "tools/icons/artwork.h"

namespace koltar::icons {
namespace {

TEST(ResourceFiles, TheCheckFindsChangedMissingAndStrayFiles) {
  test::TempDir dir;
  const QString root = QString::fromStdString(dir.path().string());
  ASSERT_TRUE(WriteResourceFiles(root));
  EXPECT_TRUE(StaleResourceFiles(root).isEmpty());

  // One picture replaced by another, one removed, one that nothing draws, and a hot spot
  // table edited by hand.
  ASSERT_TRUE(QFile::remove(root + "/icons/1002-16.png"));
  ASSERT_TRUE(QFile::copy(root + "/icons/1001-16.png", root + "/icons/1002-16.png"));
  ASSERT_TRUE(QFile::remove(root + "/icons/1003-32.png"));
  ASSERT_TRUE(QFile::copy(root + "/icons/1001-16.png", root + "/icons/stray.png"));
  dir.Write("cursors/hotspots.txt", "ZOOM 0 0\n");

  EXPECT_EQ(
      StaleResourceFiles(root),
      QStringList({"differs or missing: icons/1002-16.png", "differs or missing: icons/1003-32.png",
                   "differs or missing: cursors/hotspots.txt", "not drawn by make_icons: icons/stray.png"}));
}

TEST(ResourceFiles, DesktopIconsAtEveryThemeSizeAndTheirCheck) {
  const std::vector<ResourceFile> icons = DesktopIconFiles();
  ASSERT_EQ(icons.size(), 16u);
  for (const ResourceFile& icon : icons) {
    const int size = icon.image.width();
    EXPECT_EQ(icon.image.height(), size);
    EXPECT_TRUE(icon.path.startsWith(QStringLiteral("hicolor/%1x%1/").arg(size))) << qPrintable(icon.path);
  }
  test::TempDir dir;
  const QString root = QString::fromStdString(dir.path().string());
  ASSERT_TRUE(WriteDesktopIcons(root));
  EXPECT_TRUE(StaleDesktopIcons(root).isEmpty());
  // The program's icon drawn where the map files' belongs, and a stray file deep down.
  const QString map = "hicolor/48x48/mimetypes/application-x-koltar-map.png";
  ASSERT_TRUE(QFile::remove(root + "/" + map));
  ASSERT_TRUE(QFile::copy(root + "/hicolor/48x48/apps/koltar.png", root + "/" + map));
  ASSERT_TRUE(QFile::copy(root + "/hicolor/48x48/apps/koltar.png", root + "/hicolor/48x48/apps/old.png"));
  EXPECT_EQ(StaleDesktopIcons(root), QStringList({"differs or missing: " + map,
                                                  "not drawn by make_icons: hicolor/48x48/apps/old.png"}));
}

TEST(ResourceFiles, PicturesMatchWithinAFewLevelsPerChannel) {
  QImage a(4, 4, QImage::Format_ARGB32);
  a.fill(qRgba(100, 150, 200, 255));
  QImage b = a;
  b.setPixel(2, 2, qRgba(103, 147, 200, 252));
  EXPECT_TRUE(SamePicture(a, b));
  b.setPixel(2, 2, qRgba(100, 150, 210, 255));
  EXPECT_FALSE(SamePicture(a, b));
  b = a;
  b.setPixel(0, 3, qRgba(100, 150, 200, 0));
  EXPECT_FALSE(SamePicture(a, b));
  EXPECT_FALSE(SamePicture(a, a.copy(0, 0, 4, 3)));
}

TEST(ResourceFiles, SoundsMatchWithinAFewStepsPerSample) {
  const QByteArray wav = MakeWelcomeSound();
  EXPECT_TRUE(SameSound(wav, wav));
  QByteArray near = wav;
  near[100] = static_cast<char>(near[100] + 2);
  EXPECT_TRUE(SameSound(wav, near));
  near[100] = static_cast<char>(near[100] + 8);
  EXPECT_FALSE(SameSound(wav, near));
  QByteArray header = wav;
  header[22] = 2;  // stereo
  EXPECT_FALSE(SameSound(wav, header));
  EXPECT_FALSE(SameSound(wav, wav.left(wav.size() - 2)));
}

// Every other file is compiled in, except the welcome screen's, which are installed.
TEST(ResourceFiles, TheResourceListNamesEveryOtherFileOnce) {
  const std::vector<ResourceFile> files = AllResourceFiles();
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.back().path, "resources.qrc");
  const QByteArray& list = files.back().text;
  qsizetype installed = 0;
  for (size_t i = 0; i + 1 < files.size(); ++i) {
    const bool welcome = files[i].path.startsWith("welcome/");
    installed += welcome ? 1 : 0;
    EXPECT_EQ(list.count("<file>" + files[i].path.toUtf8() + "</file>"), welcome ? 0 : 1)
        << qPrintable(files[i].path);
  }
  EXPECT_EQ(installed, 2);
  EXPECT_EQ(list.count("<file>"), static_cast<qsizetype>(files.size() - 1) - installed);
}

}  // namespace
}  // namespace koltar::icons
