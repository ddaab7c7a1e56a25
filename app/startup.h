#pragma once
// What the program works out before any window opens: the names of its settings and
// help files, and the size of a screen pixel.

#include <string>
#include <string_view>

#include "platform/services.h"

namespace koltar {

struct ProgramFiles {
  std::string settings;  // the executable's path with ".INI" for its extension
  std::string help;      // ... with ".HLP"
};

// File names beside the executable (model names). An executable without an extension,
// as on Linux, gets one appended, so /opt/koltar/mapview reads /opt/koltar/mapview.INI.
// Paths of any length are kept whole.
ProgramFiles ProgramFilesOf(std::string_view executablePath);

// [Screen] PixelSize of the settings file, one value in millimetres for both directions;
// when it is missing, not a number, zero or negative, the screen's logical dots per inch
// decide (25.4 / dpi).
PixelSize ReadPixelSize(std::string_view settingsFile, double logicalDpiX, double logicalDpiY);

}  // namespace koltar
