// Draws the program's pictures and writes them, with the cursor hot spots and the
// resource list, into the resources folder.
//
//   make_icons <resources dir> [<icons dir>]           write every file, and with the
//                                                      second folder the desktop icons
//   make_icons --check <resources dir> [<icons dir>]   compare the files with what would
//                                                      be written; exit status 1 when
//                                                      any differs or is missing
//   make_icons --sheet <file.png>        a contact sheet of every picture, for looking at

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/icons/artwork.h"
#include "tools/icons/resource_files.h"

namespace koltar::icons {
namespace {

// ---- Contact sheet ----

const QColor kSheetGrey(0x80, 0x80, 0x80);
const QColor kSheetMap(0x4a, 0x7a, 0x3a);

void Tile(QPainter& painter, int x, int y, const QImage& image, int zoom, const QColor& ground) {
  const QRect area(x, y, image.width() * zoom + 4, image.height() * zoom + 4);
  painter.fillRect(area, ground);
  painter.drawImage(QRect(x + 2, y + 2, image.width() * zoom, image.height() * zoom), image);
}

QImage CommandSheet() {
  const int columns = 3;
  const int cell_width = 300;
  const int cell_height = 76;
  const int rows = (static_cast<int>(IconCommands().size()) + columns - 1) / columns;
  QImage sheet(columns * cell_width, rows * cell_height, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  int index = 0;
  for (int command : IconCommands()) {
    const int x = (index % columns) * cell_width + 4;
    const int y = (index / columns) * cell_height + 4;
    const QImage small = DrawCommandIcon(command, 16);
    const QImage big = DrawCommandIcon(command, 32);
    painter.drawText(x, y + 12, QString::number(command));
    Tile(painter, x, y + 20, small, 1, Qt::white);
    Tile(painter, x + 22, y + 20, small, 1, kSheetGrey);
    Tile(painter, x + 44, y + 20, big, 1, Qt::white);
    Tile(painter, x + 82, y + 20, big, 1, kSheetGrey);
    Tile(painter, x + 122, y, small, 4, Qt::white);
    Tile(painter, x + 194, y, big, 2, kSheetGrey);
    ++index;
  }
  return sheet;
}

// Every 16-pixel icon enlarged, to judge how crisp it is.
QImage EnlargedSheet() {
  const int zoom = 6;
  const int cell = 16 * zoom + 8;
  const int columns = 8;
  const int rows = (static_cast<int>(IconCommands().size()) + columns - 1) / columns;
  QImage sheet(columns * cell, rows * cell, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  int index = 0;
  for (int command : IconCommands()) {
    Tile(painter, (index % columns) * cell, (index / columns) * cell, DrawCommandIcon(command, 16), zoom,
         index % 2 == 0 ? QColor(Qt::white) : kSheetGrey);
    ++index;
  }
  return sheet;
}

QImage WindowIconSheet() {
  QImage sheet(2 * 400 + 260, 2 * 270, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (int row = 0; row < 2; ++row) {
    auto draw = [row](int size) { return row == 0 ? DrawProgramIcon(size) : DrawMapIcon(size); };
    for (int ground = 0; ground < 2; ++ground) {
      int x = ground * 400 + 4;
      for (int size : kWindowIconSizes) {
        Tile(painter, x, row * 270 + 4, draw(size), 1, ground == 0 ? QColor(Qt::white) : kSheetGrey);
        x += size + 10;
      }
    }
    Tile(painter, 800, row * 270 + 4, draw(16), 4, Qt::white);
    Tile(painter, 800, row * 270 + 80, draw(32), 2, Qt::white);
    Tile(painter, 880, row * 270 + 4, draw(48), 1, Qt::white);
  }
  return sheet;
}

QImage PixelArtSheet() {
  QImage sheet(4 * 290, 180, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  int x = 4;
  for (std::string_view name : CursorNames()) {
    const CursorPicture cursor = DrawCursor(name);
    painter.drawText(x, 14, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    Tile(painter, x, 20, cursor.image, 1, Qt::white);
    Tile(painter, x, 58, cursor.image, 1, kSheetGrey);
    Tile(painter, x, 96, cursor.image, 1, kSheetMap);
    Tile(painter, x, 134, cursor.image, 1, Qt::black);
    Tile(painter, x + 40, 20, cursor.image, 4, kSheetMap);
    // The hot spot, marked on the enlarged picture.
    painter.setPen(Qt::red);
    painter.drawRect(x + 42 + cursor.hotspot.x() * 4, 22 + cursor.hotspot.y() * 4, 3, 3);
    x += 290;
  }
  return sheet;
}

QImage SwitchSheet() {
  QImage sheet(220, 130, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  Tile(painter, 4, 4, DrawSwitch(false), 1, Qt::white);
  Tile(painter, 24, 4, DrawSwitch(true), 1, Qt::white);
  Tile(painter, 4, 24, DrawSwitch(false), 8, Qt::white);
  Tile(painter, 110, 24, DrawSwitch(true), 8, Qt::white);
  return sheet;
}

bool WriteSheet(const QString& file) {
  const QImage parts[] = {CommandSheet(), EnlargedSheet(), WindowIconSheet(), PixelArtSheet(), SwitchSheet()};
  int width = 0;
  int height = 0;
  for (const QImage& part : parts) {
    width = std::max(width, part.width());
    height += part.height() + 8;
  }
  QImage sheet(width, height, QImage::Format_ARGB32);
  sheet.fill(QColor(0xe0, 0xe0, 0xe0));
  QPainter painter(&sheet);
  int y = 0;
  bool ok = true;
  int number = 1;
  for (const QImage& part : parts) {
    painter.drawImage(0, y, part);
    y += part.height() + 8;
    // Each part alone as well, to look at it at full size.
    QString name = file;
    name.insert(name.lastIndexOf('.'), QStringLiteral("-%1").arg(number++));
    ok = part.save(name, "PNG") && ok;
  }
  painter.end();
  return sheet.save(file, "PNG") && ok;
}

int Usage() {
  std::fprintf(stderr,
               "usage: make_icons <resources dir> [<icons dir>]\n"
               "       make_icons --check <resources dir> [<icons dir>]\n"
               "       make_icons --sheet <file.png>\n");
  return 2;
}

}  // namespace
}  // namespace koltar::icons

int main(int argc, char** argv) {
  using namespace koltar::icons;
  if ((argc == 2 || argc == 3) && argv[1][0] != '-') {
    return WriteResourceFiles(QString::fromLocal8Bit(argv[1])) &&
                   (argc == 2 || WriteDesktopIcons(QString::fromLocal8Bit(argv[2])))
               ? 0
               : 1;
  }
  if (argc != 3 && argc != 4) return Usage();
  const std::string_view option = argv[1];
  const QString argument = QString::fromLocal8Bit(argv[2]);
  if (option == "--check") {
    QStringList problems = StaleResourceFiles(argument);
    if (argc == 4) problems += StaleDesktopIcons(QString::fromLocal8Bit(argv[3]));
    for (const QString& problem : problems) std::printf("%s\n", qPrintable(problem));
    if (problems.isEmpty()) std::printf("all resource files are up to date\n");
    return problems.isEmpty() ? 0 : 1;
  }
  if (option == "--sheet" && argc == 3) {
    // Only the sheet writes text, which needs the fonts of a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return WriteSheet(argument) ? 0 : 1;
  }
  return Usage();
}
