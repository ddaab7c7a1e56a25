// The program's pictures compiled into it: tool-bar and menu icons, the map window's
// cursors, bitmaps, and the program and map window icons. Every accessor needs a
// QGuiApplication and registers the pictures itself on first use.

#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace koltar {

// Registers the compiled-in pictures, so that ":/icons/..." paths resolve. Needed only
// before such paths are used directly; calling it again does nothing.
void InitResources();

// The icon of a menu or tool-bar command (1001 ... 1026, 24361, 24362, 24364) at 16 and
// 32 pixels; a null icon for a command without one.
QIcon CommandIcon(int command);

// A map window tool's cursor (DISPLAYNAME, ZOOM, ZOOMWND, NAMEPOS) with its hot spot; the
// platform's arrow for an unknown name.
QCursor ToolCursor(const char* name);

// A bitmap resource (SWITCHON, SWITCHOFF) at its own size; a null pixmap for an unknown
// name.
QPixmap ResourceBitmap(const char* name);

// The program's icon and the map windows' icon, at 16, 32, 48 and 256 pixels.
QIcon ProgramIcon();
QIcon MapIcon();

}  // namespace koltar
