#pragma once
// The dialogs of linked information: the application chooser ("Alkalmazás társítás")
// as a Qt window over its plain class GetOLEServer, and the file-open dialog in which a
// file is chosen to be attached ("Település információs file").

#include <QDialog>
#include <optional>
#include <string>

#include "linkedinfo/linkedinfo.h"

class QLabel;
class QListView;
class QPushButton;

namespace koltar {

class TextListModel;

class GetOLEServerDialog final : public QDialog {
 public:
  GetOLEServerDialog(GetOLEServer& state, QWidget* parent = nullptr);

  GetOLEServer& state() { return state_; }
  QLabel* fileLabel() const { return file_; }
  QListView* list() const { return list_; }
  QPushButton* okButton() const { return ok_; }

  void Refresh();

 private:
  GetOLEServer& state_;
  QLabel* file_ = nullptr;
  QListView* list_ = nullptr;
  TextListModel* names_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// Shows the chooser modally (through RunModal) over `parent`.
MLinkedInfo::ChooserRunner QtChooserRunner(QWidget* parent);

// The file to attach, chosen in the file-open dialog (title "Település információs
// file", filter "Minden file (*.*)", existing files only), as a model file name; nothing
// when cancelled.
std::optional<std::string> ChooseLinkFile(QWidget* parent);

}  // namespace koltar
