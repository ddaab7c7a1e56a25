#pragma once
// MLinkedInfo: files attached to map objects. Each named object of a category can have
// one linked file, kept in the map's linked-information file (the .map key LINKEDINFO):
// an INI-style file with a section per category, a key per object name and the linked
// file's full path as its value. A key with an empty value is no link. Every operation
// reads and writes that file at once; the file is created with the first link, and the
// linked files themselves are never touched.
//
// A linked file opens with the application that the desktop associates with its type
// (platform/launcher.h), or, when there is none, with one the user picks in the
// application chooser (GetOLEServer).

#include <functional>
#include <string>
#include <string_view>

#include "linkedinfo/get_ole_server.h"
#include "platform/messages.h"

namespace koltar {

class FileLauncher;

class MLinkedInfo {
 public:
  // Shows the application chooser on a GetOLEServer; true when it was closed with OK
  // (GetOLEServer::Accept has stored the choice).
  using ChooserRunner = std::function<bool(GetOLEServer&)>;

  // `fileName`: the model name of the linked-information file, resolved against the map
  // file; a name without a file part (LINKEDINFO empty) keeps no links.
  explicit MLinkedInfo(std::string_view fileName) : fileName_(fileName) {}
  const std::string& fileName() const { return fileName_; }
  // Whether the map names a linked-information file at all.
  bool HasStore() const;

  // The object the user last right-clicked in a map window: its category's name and
  // its own (code page 1250).
  void SetCurrent(std::string_view category, std::string_view object);
  const std::string& currentCategory() const { return currentCategory_; }
  const std::string& currentObject() const { return currentObject_; }

  // The linked file's path (a model file name); "" for none.
  std::string LinkOf(std::string_view category, std::string_view object) const;
  // True when the object has a linked file.
  bool HasLink(std::string_view category, std::string_view object) const {
    return !LinkOf(category, object).empty();
  }

  // Links `path` to the object. Over an existing link, asks first ("A '%s' kategória
  // '%s' objektumához már van kiegészítő információ kapcsolva.\n\nMódosítható a
  // kapcsolat?") and keeps the old link on any answer but Yes. True when stored; false,
  // without a message, also when the file cannot be written (no LINKEDINFO).
  bool AttachLink(std::string_view category, std::string_view object, std::string_view path,
                  WindowHandle owner = nullptr);
  // Empties the object's link after asking ("Kiegészítő információk kapcsolatának
  // törlése ..."); the key stays, empty. Without a link says so ("'%s' kategória '%s'
  // objektumához nincs információs file kapcsolva.\n", exclamation icon). True when
  // removed.
  bool RemoveLink(std::string_view category, std::string_view object, WindowHandle owner = nullptr);
  // Opens the object's linked file: with the application the desktop associates with
  // its type, else with the one chosen through `choose` (cancelling launches nothing and
  // shows nothing). Says so when there is no link, when the desktop knows no
  // applications ("A program nem tudja elérni a Windows regisztrációs adatbázisát, ...")
  // and when the choice gives no application ("A program nem tudott alkalmazást
  // társítani a '%s' file-hoz."), all with the exclamation icon. Whether the application
  // then starts is not told. True when an application was started.
  bool OpenLink(std::string_view category, std::string_view object, FileLauncher& launcher,
                const ChooserRunner& choose, WindowHandle owner = nullptr) const;

 private:
  std::string fileName_;
  std::string currentCategory_;
  std::string currentObject_;
};

}  // namespace koltar
