#pragma once
// What the program's dialogs share on the Qt side. A dialog's behaviour (the contents of
// its controls, their enabling, its reactions and what OK stores) is a plain class in
// its library, tested without a window; the Qt dialog only shows that class's state and
// forwards the user's actions to it.

#include <QAbstractListModel>
#include <QDialog>
#include <functional>
#include <string>

#include "platform/messages.h"

class QDialogButtonBox;

namespace koltar {

// A list of code page 1250 texts that a plain dialog class holds, shown by a Qt list
// or combo box. Rows are asked for as the view draws them, so a list of tens of
// thousands of names fills at once.
class TextListModel final : public QAbstractListModel {
 public:
  using Count = std::function<int()>;
  using Text = std::function<std::string(int row)>;

  TextListModel(Count count, Text text, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Tells the views that the whole list changed.
  void Reset();

 private:
  Count count_;
  Text text_;
};

// The row of buttons the program's dialogs end with: "OK", "Mégsem" and, when
// `withHelp`, "Súgó" (its clicked signal is the button box's helpRequested).
QDialogButtonBox* MakeDialogButtons(QWidget* parent, bool withHelp = true);

// The owner handle under which a dialog's plain class shows its messages.
inline WindowHandle OwnerHandle(QWidget* widget) { return widget; }

// Runs a modal dialog and returns its result (QDialog::Accepted or Rejected). Every
// dialog of the program is run through here, so that the GUI tests can act in a dialog
// the way a user would (SetDialogRunner) instead of waiting for a window.
int RunModal(QDialog& dialog);
// Replaces what RunModal does (null: QDialog::exec); returns the previous runner.
using DialogRunner = std::function<int(QDialog&)>;
DialogRunner SetDialogRunner(DialogRunner runner);

}  // namespace koltar
