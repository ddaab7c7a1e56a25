#include "tools/icons/resource_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string_view>

#include "tools/icons/artwork.h"

namespace koltar::icons {
namespace {

// The folders whose every file is drawn here.
const char* const kPictureFolders[] = {"icons", "cursors", "bitmaps", "welcome"};
// The folder of files that are installed beside the program rather than compiled in.
const QString kInstalledFolder = QStringLiteral("welcome/");

QByteArray Bytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

bool WriteFiles(const QString& root, const std::vector<ResourceFile>& files) {
  for (const ResourceFile& file : files) {
    const QString path = root + '/' + file.path;
    bool written = QDir().mkpath(QFileInfo(path).path());
    if (written && !file.image.isNull()) {
      written = file.image.save(path, path.endsWith(QLatin1String(".bmp")) ? "BMP" : "PNG");
    } else if (written) {
      QFile out(path);
      written = out.open(QIODevice::WriteOnly) && out.write(file.text) == file.text.size();
    }
    if (!written) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
      return false;
    }
  }
  return true;
}

bool Matches(const ResourceFile& file, const QString& path) {
  if (!file.image.isNull()) {
    const QImage stored(path);
    return !stored.isNull() && SamePicture(stored, file.image);
  }
  QFile stored(path);
  if (!stored.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = stored.readAll();
  return path.endsWith(QLatin1String(".wav")) ? SameSound(bytes, file.text) : bytes == file.text;
}

}  // namespace

std::vector<ResourceFile> AllResourceFiles() {
  std::vector<ResourceFile> files;
  for (int command : IconCommands()) {
    for (int size : kToolIconSizes) {
      files.push_back(
          {QStringLiteral("icons/%1-%2.png").arg(command).arg(size), DrawCommandIcon(command, size), {}});
    }
  }
  for (int size : kWindowIconSizes) {
    files.push_back({QStringLiteral("icons/KOLTAR_ICON-%1.png").arg(size), DrawProgramIcon(size), {}});
    files.push_back({QStringLiteral("icons/MAP_ICON-%1.png").arg(size), DrawMapIcon(size), {}});
  }
  QByteArray hotspots = "# cursor name, hot spot x and y in pixels from the top left corner\n";
  for (std::string_view name : CursorNames()) {
    const CursorPicture cursor = DrawCursor(name);
    files.push_back(
        {QStringLiteral("cursors/%1.png").arg(QString::fromLatin1(Bytes(name))), cursor.image, {}});
    hotspots += Bytes(name) + ' ' + QByteArray::number(cursor.hotspot.x()) + ' ' +
                QByteArray::number(cursor.hotspot.y()) + '\n';
  }
  files.push_back({QStringLiteral("cursors/hotspots.txt"), {}, hotspots});
  files.push_back({QStringLiteral("bitmaps/SWITCHON.png"), DrawSwitch(true), {}});
  files.push_back({QStringLiteral("bitmaps/SWITCHOFF.png"), DrawSwitch(false), {}});
  files.push_back({kInstalledFolder + "welcome.bmp", DrawWelcomePicture(), {}});
  files.push_back({kInstalledFolder + "welcome.wav", {}, MakeWelcomeSound()});

  QByteArray list = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
  for (const ResourceFile& file : files)
    if (!file.path.startsWith(kInstalledFolder)) list += "  <file>" + file.path.toUtf8() + "</file>\n";
  list += "</qresource>\n</RCC>\n";
  files.push_back({QStringLiteral("resources.qrc"), {}, list});
  return files;
}

bool WriteResourceFiles(const QString& root) { return WriteFiles(root, AllResourceFiles()); }

std::vector<ResourceFile> DesktopIconFiles() {
  std::vector<ResourceFile> files;
  for (int size : kDesktopIconSizes) {
    const QString folder = QStringLiteral("hicolor/%1x%1/").arg(size);
    files.push_back({folder + "apps/koltar.png", DrawProgramIcon(size), {}});
    files.push_back({folder + "mimetypes/application-x-koltar-map.png", DrawMapIcon(size), {}});
  }
  return files;
}

bool WriteDesktopIcons(const QString& root) { return WriteFiles(root, DesktopIconFiles()); }

QStringList StaleDesktopIcons(const QString& root) {
  QStringList problems;
  std::set<QString> drawn;
  for (const ResourceFile& file : DesktopIconFiles()) {
    drawn.insert(file.path);
    if (!Matches(file, root + '/' + file.path)) problems << "differs or missing: " + file.path;
  }
  const QDir base(QDir(root).absolutePath());
  QDirIterator stored(base.path(), QDir::Files, QDirIterator::Subdirectories);
  QStringList strays;
  while (stored.hasNext()) {
    const QString path = base.relativeFilePath(stored.next());
    if (drawn.count(path) == 0) strays << "not drawn by make_icons: " + path;
  }
  strays.sort();
  return problems + strays;
}

QStringList StaleResourceFiles(const QString& root) {
  QStringList problems;
  std::set<QString> drawn;
  for (const ResourceFile& file : AllResourceFiles()) {
    drawn.insert(file.path);
    if (!Matches(file, root + '/' + file.path)) problems << "differs or missing: " + file.path;
  }
  for (const char* folder : kPictureFolders) {
    for (const QString& name : QDir(root + '/' + folder).entryList(QDir::Files)) {
      const QString path = QStringLiteral("%1/%2").arg(QLatin1String(folder), name);
      if (drawn.count(path) == 0) problems << "not drawn by make_icons: " + path;
    }
  }
  return problems;
}

bool SameSound(const QByteArray& a, const QByteArray& b) {
  constexpr qsizetype kHeader = 44;
  constexpr int kTolerance = 2;
  if (a.size() != b.size() || a.size() < kHeader || a.left(kHeader) != b.left(kHeader)) return false;
  auto sample = [](const QByteArray& w, qsizetype at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(w[at]) |
                                     (static_cast<std::uint8_t>(w[at + 1]) << 8));
  };
  for (qsizetype at = kHeader; at + 1 < a.size(); at += 2)
    if (std::abs(sample(a, at) - sample(b, at)) > kTolerance) return false;
  return true;
}

bool SamePicture(const QImage& a, const QImage& b) {
  constexpr int kTolerance = 3;
  if (a.size() != b.size()) return false;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  auto near = [](int p, int q) { return std::abs(p - q) <= kTolerance; };
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row);
      const QRgb q = y.pixel(column, row);
      if (!near(qRed(p), qRed(q)) || !near(qGreen(p), qGreen(q)) || !near(qBlue(p), qBlue(q)) ||
          !near(qAlpha(p), qAlpha(q))) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace koltar::icons
