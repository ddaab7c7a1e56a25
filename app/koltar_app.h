#pragma once
// The application object: program-wide values, platform services and the main window.

#include <memory>

#include "platform/qt/qt_help.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_progress.h"

namespace koltar {

class MainFrame;

class Koltar {
 public:
  // Works out the settings and help file names from the executable's path and the pixel
  // size, installs the platform services and builds the main window (not shown yet).
  explicit Koltar(const std::string& executablePath);
  ~Koltar();

  MainFrame& frame() { return *frame_; }
  // Shows the main window maximised.
  void Show();

 private:
  QtMessageService messages_;
  QtWaitCursor waitCursor_;
  QtImageService images_;
  QtHelp help_;
  std::unique_ptr<MainFrame> frame_;
  std::unique_ptr<QtProgress> progress_;
};

}  // namespace koltar
