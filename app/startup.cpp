#include "app/startup.h"

#include <system_error>
#include <utility>

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"

namespace koltar {

namespace {

constexpr std::string_view kSettingsName = "koltar.INI";
constexpr std::string_view kHelpName = "koltar.HLP";

}  // namespace

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

ProgramPlace ProgramPlaceOf(const std::filesystem::path& executable) {
  const std::filesystem::path data = executable.parent_path().parent_path() / "share" / "koltar";
  std::error_code error;
  if (executable.parent_path().filename() == "bin" &&
      std::filesystem::is_regular_file(data / kSettingsName, error))
    return ProgramPlace{true, data};
  return ProgramPlace{};
}

ProgramFiles LocateProgramFiles(const std::filesystem::path& executable,
                                const std::filesystem::path& configDirectory) {
  const ProgramPlace place = ProgramPlaceOf(executable);
  if (!place.installed) return ProgramFilesOf(ModelFileName(executable));
  const std::filesystem::path settings = configDirectory / kSettingsName;
  std::error_code error;
  // Without a settings file of its own the program runs on the installed default, whose
  // default map it then cannot find; it starts without one.
  const bool made = std::filesystem::exists(settings, error) ||
                    MakeUserSettings(settings, place.dataDirectory / kSettingsName, place.dataDirectory);
  return ProgramFiles{ModelFileName(made ? settings : place.dataDirectory / kSettingsName),
                      ModelFileName(place.dataDirectory / kHelpName)};
}

bool MakeUserSettings(const std::filesystem::path& userFile, const std::filesystem::path& installedDefault,
                      const std::filesystem::path& dataDirectory) {
  std::error_code error;
  std::filesystem::create_directories(userFile.parent_path(), error);
  if (!std::filesystem::copy_file(installedDefault, userFile,
                                  std::filesystem::copy_options::overwrite_existing, error))
    return false;
  const std::string model = ModelFileName(userFile);
  // The files of the data directory that the default names: the map opened at start
  // and the welcome screen's picture and sound.
  const std::pair<const char*, const char*> named[] = {
      {"MAP", "DEFAULT"}, {"WELCOME", "PICTURE"}, {"WELCOME", "SOUND"}};
  bool written = true;
  for (const auto& [section, key] : named) {
    const std::string name = ReadProfileString(section, key, "", 260, model);
    // A name with a drive or from the root stays as it is.
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) continue;
    written = WriteProfileString(section, key, ModelFileName(dataDirectory) + "/" + name, model) && written;
  }
  return written;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (const std::string& a : arguments) {
    if (!optionsEnded && (a == "-h" || a == "--help")) return CommandLine{CommandLine::Action::Help, {}, {}};
    if (!optionsEnded && a == "--version") line.action = CommandLine::Action::Version;
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      line.files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a != "--version" && line.error.empty()) {
      line.error = a;
    }
  }
  if (line.action == CommandLine::Action::Run && !line.error.empty())
    line.action = CommandLine::Action::Error;
  return line;
}

std::string_view CommandLineHelp() {
  return "Usage: koltar [OPTION]... [MAP.map]...\n"
         "Koltar, a road-map viewer and route planner with a Hungarian user interface.\n"
         "Opens the map description files named, each in a window of its own; without\n"
         "one, the default map of the settings file ([MAP] DEFAULT).\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "      --version  show the version and exit\n";
}

std::string VersionText() { return std::string("koltar ") + KOLTAR_VERSION + "\n"; }

}  // namespace koltar
