#include "app/startup.h"

#include <cstdlib>

#include "platform/paths.h"
#include "platform/profile.h"

namespace koltar {

ProgramFiles ProgramFilesOf(std::string_view executablePath) {
  const PathParts p = SplitPath(executablePath);
  const std::string stem = p.drive + p.dir + p.name;
  return ProgramFiles{stem + ".INI", stem + ".HLP"};
}

PixelSize ReadPixelSize(std::string_view settingsFile, double logicalDpiX, double logicalDpiY) {
  const std::string text = ReadProfileString("Screen", "PixelSize", "-1", 8, settingsFile);
  const double size = std::strtod(text.c_str(), nullptr);
  if (size > 0) return PixelSize{size, size};
  return PixelSize{25.4 / logicalDpiX, 25.4 / logicalDpiY};
}

}  // namespace koltar
