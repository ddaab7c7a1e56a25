// The program's pictures, drawn from code: tool-bar and menu icons, the program and map
// window icons, the map window's cursors, the layer list's switch bitmaps and the
// welcome screen's picture and sound.

#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <string_view>
#include <vector>

namespace koltar::icons {

// The sizes in pixels of the tool-bar icons and of the program and map window icons.
inline constexpr int kToolIconSizes[] = {16, 32};
inline constexpr int kWindowIconSizes[] = {16, 32, 48, 256};
// The sizes of the icon theme (hicolor) that the desktop takes the program's and the map
// files' icons from.
inline constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Commands that have an icon, in menu order.
const std::vector<int>& IconCommands();

// The icon of a command, size x size pixels (16 or 32); a null image for a command
// without an icon.
QImage DrawCommandIcon(int command, int size);

// The program icon (a road map with a route) and the map window icon (a folded map
// sheet), size x size pixels (16, 32, 48, 256).
QImage DrawProgramIcon(int size);
QImage DrawMapIcon(int size);

struct CursorPicture {
  QImage image;    // 32 x 32, black figure with a white outline on transparent
  QPoint hotspot;  // pixel that the cursor points with
};

// Names of the cursor pictures.
const std::vector<std::string_view>& CursorNames();

// The cursor of the given name; a null image for an unknown name.
CursorPicture DrawCursor(std::string_view name);

// The layer list's 12 x 12 visibility switch: a sunken box, ticked when on. The image
// is indexed on the 16 standard colours.
QImage DrawSwitch(bool on);

// The welcome screen's picture (440 x 270, saved as a BMP file) and its sound (a WAV
// file of 16-bit mono samples), installed and named in the settings file, not compiled
// in.
QImage DrawWelcomePicture();
QByteArray MakeWelcomeSound();

}  // namespace koltar::icons
