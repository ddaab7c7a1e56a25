// The program's entry: the command line, the Qt application, the application object and
// its event loop.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/koltar_app.h"
#include "app/startup.h"
#include "platform/paths.h"
#include "platform/qt/qt_device_context.h"

namespace {

std::vector<std::string> ArgumentsAfterTheProgram(const QStringList& arguments) {
  std::vector<std::string> out;
  for (qsizetype i = 1; i < arguments.size(); ++i) out.push_back(arguments[i].toStdString());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  using koltar::CommandLine;
  // Help and version are answered without a display.
  CommandLine line = koltar::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version) {
    const std::string text = line.action == CommandLine::Action::Help ? std::string(koltar::CommandLineHelp())
                                                                      : koltar::VersionText();
    std::fputs(text.c_str(), stdout);
    return 0;
  }

  QApplication application(argc, argv);
  // The user's settings live in a folder of the executable's name (~/.config/koltar);
  // the desktop entry tells the desktop which icon the windows have. Windows and
  // messages carry the program's own name, kApplicationName.
  QApplication::setApplicationName(QStringLiteral("koltar"));
  QApplication::setApplicationVersion(QString::fromStdString(koltar::VersionText()).trimmed());
  QGuiApplication::setDesktopFileName(QStringLiteral("org.koltar.Koltar"));
  koltar::InstallFontSubstitutions();
  // The program speaks Hungarian; so do Qt's own dialogs (file, print, page set-up)
  // when Qt's translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);

  // Qt has taken its own options (-platform, -style...) out of the arguments.
  line = koltar::ParseCommandLine(ArgumentsAfterTheProgram(QCoreApplication::arguments()));
  if (line.action == CommandLine::Action::Error) {
    std::fprintf(stderr, "koltar: unknown option %s\nTry 'koltar --help'.\n", line.error.c_str());
    return 2;
  }

  const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
  const std::filesystem::path config =
      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
  koltar::Koltar koltar(koltar::LocateProgramFiles(executable, config));
  std::vector<std::string> maps;
  for (const std::string& file : line.files)
    maps.push_back(koltar::ModelFileName(std::filesystem::absolute(file)));
  koltar.OpenAtStart(std::move(maps));
  koltar.Show();
  return QApplication::exec();
}
