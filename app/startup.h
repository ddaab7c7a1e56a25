#pragma once
// What the program works out before any window opens: its command line, the names of
// its settings and help files, and the size of a screen pixel.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// Where the program's files are. In a build tree the settings and help files lie beside
// the executable (ProgramFilesOf). An installed program (the executable in <prefix>/bin,
// the installed default settings in <prefix>/share/koltar/koltar.INI) keeps its settings
// in the user's configuration directory, as koltar.INI there, made from the installed
// default on first start; its help file is koltar.HLP of the data directory.
struct ProgramPlace {
  bool installed = false;
  std::filesystem::path dataDirectory;  // <prefix>/share/koltar when installed
};
ProgramPlace ProgramPlaceOf(const std::filesystem::path& executable);

// The program's files (model names): beside the executable in a build tree; for an
// installed program the settings file in `configDirectory`, made first when missing.
ProgramFiles LocateProgramFiles(const std::filesystem::path& executable,
                                const std::filesystem::path& configDirectory);

// Makes the user's settings file from the installed default: a copy, in which a
// [MAP] DEFAULT, [WELCOME] PICTURE or [WELCOME] SOUND that names a file relative to the
// data directory (the samples, the welcome screen's files) names it in full. Creates the file's directory. False when the file cannot be written.
[[nodiscard]] bool MakeUserSettings(const std::filesystem::path& userFile,
                                    const std::filesystem::path& installedDefault,
                                    const std::filesystem::path& dataDirectory);

// What the command line asks for: the program's own options are -h/--help and
// --version; every other argument names a map to open ("--" ends the options, so that a
// file name may start with '-'). Help and version win over other arguments.
struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::vector<std::string> files;  // as given, local file names
  std::string error;               // for Error: the argument that is no option of ours
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text that --help prints, and that of --version.
std::string_view CommandLineHelp();
std::string VersionText();

// [Screen] PixelSize of the settings file, one value in millimetres for both directions;
// when it is missing, not a number, zero or negative, the screen's logical dots per inch
// decide (25.4 / dpi).
PixelSize ReadPixelSize(std::string_view settingsFile, double logicalDpiX, double logicalDpiY);

}  // namespace koltar
