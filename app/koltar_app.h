#pragma once
// The application object: program-wide values, platform services and the main window.

#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/gio/gio_launcher.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/qt_sound.h"

namespace koltar {

class MainFrame;
class MWelcome;
class WelcomeWindow;

class Koltar {
 public:
  // Takes the settings and help file names, works out the pixel size, installs the
  // platform services and builds the main window (not shown yet).
  explicit Koltar(const ProgramFiles& files);
  ~Koltar();

  MainFrame& frame() { return *frame_; }
  // The maps (model file names) to open at start instead of the default map.
  void OpenAtStart(std::vector<std::string> mapFiles);
  // Shows the main window maximised, and the welcome screen over it when it has a
  // picture.
  void Show();
  // The welcome screen's window; null when there is no picture (or it was never made).
  WelcomeWindow* welcomeWindow() const { return welcomeWindow_.get(); }

 private:
  QtMessageService messages_;
  QtWaitCursor waitCursor_;
  QtImageService images_;
  QtHelp help_;
  QtClipboard clipboard_;
  GioLauncher launcher_;
  QtSoundPlayer sound_;
  std::unique_ptr<MWelcome> welcome_;
  std::unique_ptr<WelcomeWindow> welcomeWindow_;
  std::unique_ptr<MainFrame> frame_;
  std::unique_ptr<QtProgress> progress_;
};

}  // namespace koltar
