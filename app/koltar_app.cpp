#include "app/koltar_app.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/command_window.h"
#include "app/main_frame.h"
#include "app/status_fields.h"
#include "platform/services.h"

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
}

}  // namespace koltar
