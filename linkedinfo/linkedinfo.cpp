#include "linkedinfo/linkedinfo.h"

#include "platform/format.h"
#include "platform/launcher.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"

namespace koltar {
namespace {

constexpr int kPathBuffer = 260;
constexpr char kAlreadyLinked[] =
    "A '%s' kategória '%s' objektumához már van kiegészítő információ kapcsolva.\n\nMódosítható a kapcsolat?";
constexpr char kNotLinked[] = "'%s' kategória '%s' objektumához nincs információs file kapcsolva.\n";
constexpr char kRemoveQuestion[] =
    "Kiegészítő információk kapcsolatának törlése '%s' objektumnál '%s' kategóriában.\n"
    "(A művelet csak a kapcsolatot törli, a kapcsolt file-t nem.)\n\nTörölhető a kapcsolat?";
constexpr char kNoRegistry[] =
    "A program nem tudja elérni a Windows regisztrációs adatbázisát, ezért nem tudja a szükséges "
    "alkalmazást megkeresni.";
constexpr char kNoApplication[] = "A program nem tudott alkalmazást társítani a '%s' file-hoz.";

std::string Text(std::string_view s) { return std::string(s); }

// Stores a link (or its removal) in the file; a failed write leaves the file as it was
// and says so.
bool StoreLink(std::string_view category, std::string_view object, std::string_view path,
               const std::string& fileName, WindowHandle owner) {
  if (WriteProfileString(category, object, path, fileName)) return true;
  ShowMessage(StringPrintf(kWriteErrorFormat, fileName.c_str()), MessageKind::Exclamation, owner);
  return false;
}

}  // namespace

bool MLinkedInfo::HasStore() const {
  const PathParts parts = SplitPath(fileName_);
  return !parts.name.empty() || !parts.ext.empty();
}

void MLinkedInfo::SetCurrent(std::string_view category, std::string_view object) {
  currentCategory_ = std::string(category);
  currentObject_ = std::string(object);
}

std::string MLinkedInfo::LinkOf(std::string_view category, std::string_view object) const {
  if (!HasStore() || category.empty() || object.empty()) return {};
  return ReadProfileString(category, object, "", kPathBuffer, fileName_);
}

bool MLinkedInfo::AttachLink(std::string_view category, std::string_view object, std::string_view path,
                             WindowHandle owner) {
  if (!LinkOf(category, object).empty() &&
      ShowMessage(StringPrintf(kAlreadyLinked, Text(category).c_str(), Text(object).c_str()),
                  MessageKind::Question, owner) != MessageAnswer::Yes)
    return false;
  // A map without a linked-information file keeps no links; nothing is told.
  return HasStore() && StoreLink(category, object, path, fileName_, owner);
}

bool MLinkedInfo::RemoveLink(std::string_view category, std::string_view object, WindowHandle owner) {
  if (LinkOf(category, object).empty()) {
    ShowMessage(StringPrintf(kNotLinked, Text(category).c_str(), Text(object).c_str()),
                MessageKind::Exclamation, owner);
    return false;
  }
  if (ShowMessage(StringPrintf(kRemoveQuestion, Text(object).c_str(), Text(category).c_str()),
                  MessageKind::Question, owner) != MessageAnswer::Yes)
    return false;
  return StoreLink(category, object, "", fileName_, owner);
}

bool MLinkedInfo::OpenLink(std::string_view category, std::string_view object, FileLauncher& launcher,
                           const ChooserRunner& choose, WindowHandle owner) const {
  const std::string path = LinkOf(category, object);
  if (path.empty()) {
    ShowMessage(StringPrintf(kNotLinked, Text(category).c_str(), Text(object).c_str()),
                MessageKind::Exclamation, owner);
    return false;
  }
  if (!launcher.Available()) {
    ShowMessage(kNoRegistry, MessageKind::Exclamation, owner);
    return false;
  }
  std::string application = launcher.DefaultApplication(path);
  if (application.empty()) {
    GetOLEServer chooser(path, launcher.Applications(path));
    if (!choose || !choose(chooser)) return false;
    application = chooser.result();
  }
  if (application.empty()) {
    ShowMessage(StringPrintf(kNoApplication, path.c_str()), MessageKind::Exclamation, owner);
    return false;
  }
  return launcher.Launch(application, path);
}

}  // namespace koltar
