#include "platform/services.h"

#include <cstdio>

#include "platform/bitmap.h"
#include "platform/clipboard.h"
#include "platform/help.h"
#include "platform/launcher.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/sound.h"
#include "platform/status.h"
#include "platform/text.h"

namespace koltar {
namespace {

class NoProgress final : public ProgressService {
 public:
  void Start(const std::string&) override {}
  void Set(int) override {}
  void End() override {}
  bool EscapePressed() override { return false; }
};

class NoWaitCursor final : public WaitCursorService {
 public:
  void Begin() override {}
  void End() override {}
};

class NoStatusFields final : public StatusFields {
 public:
  void SetScaleText(const std::string&) override {}
  void SetPositionText(const std::string&) override {}
};

class NoImages final : public ImageService {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int, int) override { return nullptr; }
  std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view) override { return nullptr; }
};

class NoHelp final : public HelpService {
 public:
  void ShowIndex(const std::string&) override {}
  void ShowContext(const std::string&, int) override {}
  void ShowKeyword(const std::string&, const std::string&) override {}
  void Quit() override {}
};

class NoClipboard final : public ClipboardService {
 public:
  bool SetText(std::string_view) override { return false; }
};

class NoLauncher final : public FileLauncher {
 public:
  bool Available() override { return false; }
  std::string DefaultApplication(std::string_view) override { return {}; }
  std::vector<ApplicationInfo> Applications(std::string_view) override { return {}; }
  bool Launch(std::string_view, std::string_view) override { return false; }
};

class NoSound final : public SoundPlayer {
 public:
  void PlayAsync(std::string_view) override {}
};

}  // namespace

ProgramValues& Program() {
  static ProgramValues values;
  return values;
}

Services& InstalledServices() {
  static Services services;
  return services;
}

MessageService& Messages() {
  static StderrMessageService fallback;
  MessageService* s = InstalledServices().messages;
  return s ? *s : fallback;
}

ProgressService& Progress() {
  static NoProgress fallback;
  ProgressService* s = InstalledServices().progress;
  return s ? *s : fallback;
}

WaitCursorService& WaitCursor() {
  static NoWaitCursor fallback;
  WaitCursorService* s = InstalledServices().waitCursor;
  return s ? *s : fallback;
}

StatusFields& Status() {
  static NoStatusFields fallback;
  StatusFields* s = InstalledServices().status;
  return s ? *s : fallback;
}

ImageService& Images() {
  static NoImages fallback;
  ImageService* s = InstalledServices().images;
  return s ? *s : fallback;
}

HelpService& Help() {
  static NoHelp fallback;
  HelpService* s = InstalledServices().help;
  return s ? *s : fallback;
}

ClipboardService& Clipboard() {
  static NoClipboard fallback;
  ClipboardService* s = InstalledServices().clipboard;
  return s ? *s : fallback;
}

FileLauncher& Launcher() {
  static NoLauncher fallback;
  FileLauncher* s = InstalledServices().launcher;
  return s ? *s : fallback;
}

SoundPlayer& Sound() {
  static NoSound fallback;
  SoundPlayer* s = InstalledServices().sound;
  return s ? *s : fallback;
}

MessageAnswer StderrMessageService::Show(const Message& message) {
  // One line per message: a closing line end of the box text is not repeated.
  std::string_view text = message.text;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  std::fprintf(stderr, "%s: %s\n", Cp1250ToUtf8(message.caption).c_str(), Cp1250ToUtf8(text).c_str());
  return message.kind == MessageKind::Question ? MessageAnswer::No : MessageAnswer::Ok;
}

MessageAnswer ShowMessage(std::string_view text, MessageKind kind, WindowHandle owner,
                          std::string_view caption) {
  return Messages().Show(Message{std::string(text), kind, std::string(caption), owner});
}

void ProgressStart(std::string_view text) { Progress().Start(std::string(text)); }
void ProgressSet(int percent) { Progress().Set(percent); }
void ProgressEnd() { Progress().End(); }
bool EscapePressed() { return Progress().EscapePressed(); }

ScopedWaitCursor::ScopedWaitCursor() { WaitCursor().Begin(); }
ScopedWaitCursor::~ScopedWaitCursor() { WaitCursor().End(); }

}  // namespace koltar
