#include "app/koltar_app.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/command_window.h"
#include "app/main_frame.h"
#include "app/status_fields.h"
#include "app/welcome_window.h"
#include "platform/services.h"
#include "welcome/welcome.h"

namespace koltar {

Koltar::Koltar(const ProgramFiles& files) {
  ProgramValues& program = Program();
  program.settingsFile = files.settings;
  program.helpFile = files.help;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
  const double dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
  program.pixel = ReadPixelSize(program.settingsFile, dpiX, dpiY);

  Services& services = InstalledServices();
  services.messages = &messages_;
  services.waitCursor = &waitCursor_;
  services.images = &images_;
  services.help = &help_;
  services.clipboard = &clipboard_;
  services.launcher = &launcher_;
  services.sound = &sound_;

  // The welcome screen reads its keys and starts its sound before the main window is
  // built; its window shows once the main window is on screen.
  const QRect screenArea = screen ? screen->geometry() : QRect(0, 0, 0, 0);
  welcome_ = std::make_unique<MWelcome>(program.settingsFile, screenArea.width(), screenArea.height());
  if (welcome_->hasPicture()) welcomeWindow_ = std::make_unique<WelcomeWindow>(*welcome_);

  frame_ = std::make_unique<MainFrame>();
  MainStatusBar* bar = frame_->mainStatusBar();
  services.status = bar;
  progress_ =
      std::make_unique<QtProgress>(bar, std::vector<QWidget*>{bar->scaleField(), bar->positionField()});
  services.progress = progress_.get();
}

Koltar::~Koltar() {
  // The frame goes first: closing maps may still show messages and progress.
  frame_.reset();
  welcomeWindow_.reset();
  welcome_.reset();
  help_.Quit();
  Services& services = InstalledServices();
  services = Services{};
}

void Koltar::OpenAtStart(std::vector<std::string> mapFiles) {
  frame_->commandWindow()->SetStartMaps(std::move(mapFiles));
}

void Koltar::Show() {
  frame_->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  frame_->showMaximized();
  if (welcomeWindow_) welcomeWindow_->Start();
}

}  // namespace koltar
