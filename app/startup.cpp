#include "app/startup.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"

namespace koltar {

ProgramFiles ProgramFilesOf(std::string_view executablePath) {
  const PathParts p = SplitPath(executablePath);
  const std::string stem = p.drive + p.dir + p.name;
  return ProgramFiles{stem + ".INI", stem + ".HLP"};
}

PixelSize ReadPixelSize(std::string_view settingsFile, double logicalDpiX, double logicalDpiY) {
  const std::string text = ReadProfileString("Screen", "PixelSize", "-1", 8, settingsFile);
  double size = 0;
  ScanValues(text, "%lf", size);
  if (size > 0) return PixelSize{size, size};
  return PixelSize{25.4 / logicalDpiX, 25.4 / logicalDpiY};
}

}  // namespace koltar
