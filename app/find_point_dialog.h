#pragma once
// The place search dialog, "Térkép pozicionálás", of command 1014. Its behaviour is
// FindPoint (categories/find_point.h); this window shows FindPoint's state and forwards
// the user's actions to it. The name list is a list view over the plain class's names,
// so that a category of tens of thousands of names fills at once; the hints for a name
// typed without accents drop down under the name field.
//
// Child widgets carry object names for tests: "categories", "layers", "name", "names",
// "houseNumber", "segments", "range", "scale".

#include <QDialog>

#include "categories/find_point.h"

class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace koltar {

class MMap;
class TextListModel;

class FindPointDialog final : public QDialog {
 public:
  // `found` holds the scales on entry and the choice after OK; the map must outlive the
  // dialog.
  FindPointDialog(QWidget* parent, const MMap& map, FindPointData& found);

  const FindPoint& behaviour() const { return find_; }
  // The drop-down list of hints under the name field.
  QCompleter* hintList() const { return hints_; }

  // OK: closes only when the plain class accepts.
  void accept() override;

 private:
  void Build();
  void Connect();
  // Shows the plain class's state; `lists` also takes new layer and name lists.
  void Refresh(bool lists);
  void ShowHints();

  FindPoint find_;
  QComboBox* categories_ = nullptr;
  QComboBox* layers_ = nullptr;
  QLineEdit* name_ = nullptr;
  QListView* names_ = nullptr;
  TextListModel* nameModel_ = nullptr;
  QCompleter* hints_ = nullptr;
  TextListModel* hintModel_ = nullptr;
  QLabel* houseLabel_ = nullptr;
  QLineEdit* house_ = nullptr;
  QLabel* segmentLabel_ = nullptr;
  QListView* segments_ = nullptr;
  TextListModel* segmentModel_ = nullptr;
  QLabel* range_ = nullptr;
  QLabel* scaleLabel_ = nullptr;
  QLabel* scaleUnit_ = nullptr;
  QLineEdit* scale_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace koltar
