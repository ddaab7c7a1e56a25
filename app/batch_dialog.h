#pragma once
// The batch planning dialog ("Útvonal keresés (batch üzemmódban)") as a Qt window over
// its plain class OptPathBatch: it shows the class's state, forwards the user's actions
// and shows the state anew after each. The two texts use a fixed-pitch font so that the
// route plan's columns line up; Ctrl+Enter, like Enter, starts a new line in them.

#include <QDialog>
#include <functional>

#include "map/map_links.h"
#include "route/opt_path_batch.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace koltar {

class TEnableRoadListBox;

class OptPathBatchDialog final : public QDialog {
 public:
  OptPathBatchDialog(OptPathBatch& state, QWidget* parent = nullptr);
  ~OptPathBatchDialog() override;

  OptPathBatch& state() { return state_; }
  // The controls, for the tests and the keyboard.
  QLineEdit* sourceFileField() const { return sourceFile_; }
  QLineEdit* targetFileField() const { return targetFile_; }
  QPlainTextEdit* sourceTextField() const { return sourceText_; }
  QPlainTextEdit* resultTextField() const { return resultText_; }
  QPushButton* loadButton() const { return load_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* generateButton() const { return generate_; }
  QPushButton* doneButton() const { return done_; }
  QPushButton* helpButton() const { return help_; }
  QPushButton* enableAllButton() const { return enableAll_; }
  QPushButton* disableAllButton() const { return disableAll_; }
  TEnableRoadListBox* roadList() const { return roadList_; }
  QComboBox* criterionList() const { return criterion_; }

  // Shows the plain class's state in every control.
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Act(const std::function<void()>& action);
  void TakeFields();

  OptPathBatch& state_;
  WindowHandle previousOwner_;
  bool refreshing_ = false;
  QLineEdit* sourceFile_ = nullptr;
  QLineEdit* targetFile_ = nullptr;
  QPlainTextEdit* sourceText_ = nullptr;
  QPlainTextEdit* resultText_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* generate_ = nullptr;
  QPushButton* done_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* enableAll_ = nullptr;
  QPushButton* disableAll_ = nullptr;
  TEnableRoadListBox* roadList_ = nullptr;
  QComboBox* criterion_ = nullptr;
};

// The platform's file dialogs of the batch dialog: "Útvnonal végpontok" (an existing
// file) and "Útvnonal tervek" (asking before overwriting), both with the filters
// "Adatfile (*.dat)" and "Minden file (*.*)", run through RunModal over `parent`.
OptPathBatch::FileChoosers QtBatchFileChoosers(QWidget* parent);
// Shows the dialog modally over `parent`.
BatchDialogRunner QtBatchDialogRunner(QWidget* parent);

}  // namespace koltar
