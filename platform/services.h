#pragma once
// Program-wide values and the platform services the core reaches the outside through.
// The application fills them in once at start-up; tests install their own fakes.

#include <string>

#include "platform/device_types.h"

namespace koltar {

class MessageService;
class ProgressService;
class WaitCursorService;
class StatusFields;
class ImageService;
class HelpService;
class ClipboardService;
class FileLauncher;
class SoundPlayer;

struct ProgramValues {
  std::string settingsFile;  // executable's path with ".INI"
  std::string helpFile;      // executable's path with ".HLP"
  PixelSize pixel;
};

// The program-wide values; set once at start-up.
ProgramValues& Program();

// Installed services; null members fall back to quiet defaults (messages to standard
// error, no progress display, no ESC, no cursor, no status bar, no pictures, no
// clipboard, no applications to open files with, no sound).
struct Services {
  MessageService* messages = nullptr;
  ProgressService* progress = nullptr;
  WaitCursorService* waitCursor = nullptr;
  StatusFields* status = nullptr;
  ImageService* images = nullptr;
  HelpService* help = nullptr;
  ClipboardService* clipboard = nullptr;
  FileLauncher* launcher = nullptr;
  SoundPlayer* sound = nullptr;
};

Services& InstalledServices();

// The service to use now: the installed one or the default.
MessageService& Messages();
ProgressService& Progress();
WaitCursorService& WaitCursor();
StatusFields& Status();
// Pictures; without an installed service no bitmap can be made or loaded.
ImageService& Images();
// The help viewer; without one, help requests do nothing.
HelpService& Help();
// The clipboard; without one, nothing can be put on it.
ClipboardService& Clipboard();
// Opening files with applications; without one, no application is known.
FileLauncher& Launcher();
// Sound; without a player, nothing is heard.
SoundPlayer& Sound();

}  // namespace koltar
