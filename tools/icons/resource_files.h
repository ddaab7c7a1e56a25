// The files of the resources folder that are drawn from code: the pictures, the cursor
// hot spot table and the resource list, with writing them and checking stored copies.

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

namespace koltar::icons {

struct ResourceFile {
  QString path;     // relative to the resources folder, e.g. "icons/1001-16.png"
  QImage image;     // a picture (PNG, or BMP for a .bmp path), or null for other files
  QByteArray text;  // the contents of a text file
};

// Every file, the resource list ("resources.qrc", naming all the others but those of
// welcome/, which are installed instead) last.
std::vector<ResourceFile> AllResourceFiles();

// Writes every file under root, creating folders; false (with a message on stderr) when
// a file cannot be written.
[[nodiscard]] bool WriteResourceFiles(const QString& root);

// The problems of the stored copy under root, one line each: a file that differs from
// what would be written or is missing ("differs or missing: <path>"), and a file in a
// picture folder that is not drawn here ("not drawn by make_icons: <path>"). Empty
// when the stored copy is up to date.
QStringList StaleResourceFiles(const QString& root);

// The program's and the map files' icons for the desktop, by the icon theme's layout:
// "hicolor/48x48/apps/koltar.png", "hicolor/48x48/mimetypes/application-x-koltar-map.png".
// They are installed, not compiled in.
std::vector<ResourceFile> DesktopIconFiles();
[[nodiscard]] bool WriteDesktopIcons(const QString& root);
// The problems of the stored icons under root, as StaleResourceFiles says them; every
// file under root is the theme's.
QStringList StaleDesktopIcons(const QString& root);

// Whether two pictures have the same size and every channel of every pixel within a few
// levels: the rasteriser's blending may round differently on another processor, while
// any change to a drawing moves whole pixels by far more.
bool SamePicture(const QImage& a, const QImage& b);
// Whether two WAV files of 16-bit samples have the same header and every sample within a
// few steps, which the floating-point synthesis may round differently elsewhere.
bool SameSound(const QByteArray& a, const QByteArray& b);

}  // namespace koltar::icons
