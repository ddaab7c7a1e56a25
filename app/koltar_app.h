#pragma once
// The application object: program-wide values, platform services and the main window.

#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_progress.h"

namespace koltar {

class MainFrame;

class Koltar {
 public:
  // Takes the settings and help file names, works out the pixel size, installs the
  // platform services and builds the main window (not shown yet).
  explicit Koltar(const ProgramFiles& files);
  ~Koltar();

  MainFrame& frame() { return *frame_; }
  // The maps (model file names) to open at start instead of the default map.
  void OpenAtStart(std::vector<std::string> mapFiles);
  // Shows the main window maximised.
  void Show();

 private:
  QtMessageService messages_;
  QtWaitCursor waitCursor_;
  QtImageService images_;
  QtHelp help_;
  QtClipboard clipboard_;
  std::unique_ptr<MainFrame> frame_;
  std::unique_ptr<QtProgress> progress_;
};

}  // namespace koltar
