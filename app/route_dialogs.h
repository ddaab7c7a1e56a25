#pragma once
// The route request dialog ("Útvonal választás") and the cost settings dialog
// ("Költségek beállítása") as Qt windows over their plain classes, SelectTargetNode and
// SetCost: each shows the plain class's state, forwards the user's actions to it and
// shows its state anew after each.

#include <QDialog>
#include <functional>

#include "map/route_planning.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;

namespace koltar {

class TEnableRoadListBox;
class TextListModel;

class SelectTargetNodeDialog final : public QDialog {
 public:
  SelectTargetNodeDialog(SelectTargetNode& state, QWidget* parent = nullptr);
  ~SelectTargetNodeDialog() override;

  SelectTargetNode& state() { return state_; }
  // The controls, for the tests and the keyboard.
  QLineEdit* settlementField() const { return settlementField_; }
  QListView* settlementList() const { return settlementList_; }
  QLineEdit* houseNumberField() const { return houseField_; }
  QListView* segmentList() const { return segmentList_; }
  QListView* routeList() const { return routeList_; }
  TEnableRoadListBox* roadList() const { return roadList_; }
  QComboBox* criterionList() const { return criterion_; }
  QLabel* defaultStartLabel() const { return defaultStart_; }
  QPushButton* button(SelectTargetNode::Button which) const;
  QPushButton* costsButton() const { return costs_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* helpButton() const { return help_; }
  QPushButton* enableAllButton() const { return enableAll_; }
  QPushButton* disableAllButton() const { return disableAll_; }

  // Shows the plain class's state in every control.
  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Connect();
  void Act(const std::function<void()>& action);
  void StepSettlement(int direction);
  void ShowSettlementSelection();
  void ShowRouteSelection();

  SelectTargetNode& state_;
  WindowHandle previousOwner_;
  bool refreshing_ = false;
  QLineEdit* settlementField_ = nullptr;
  QListView* settlementList_ = nullptr;
  TextListModel* settlements_ = nullptr;
  QLabel* houseLabel_ = nullptr;
  QLineEdit* houseField_ = nullptr;
  QLabel* segmentLabel_ = nullptr;
  QListView* segmentList_ = nullptr;
  TextListModel* segments_ = nullptr;
  QPushButton* add_ = nullptr;
  QListView* routeList_ = nullptr;
  TextListModel* route_ = nullptr;
  QPushButton* moveUp_ = nullptr;
  QPushButton* moveDown_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* deleteAll_ = nullptr;
  TEnableRoadListBox* roadList_ = nullptr;
  QPushButton* enableAll_ = nullptr;
  QPushButton* disableAll_ = nullptr;
  QComboBox* criterion_ = nullptr;
  QPushButton* costs_ = nullptr;
  QLabel* defaultStart_ = nullptr;
  QPushButton* take_ = nullptr;
  QPushButton* apply_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
};

class SetCostDialog final : public QDialog {
 public:
  SetCostDialog(SetCost& state, QWidget* parent = nullptr);
  ~SetCostDialog() override;

  SetCost& state() { return state_; }
  QTreeView* list() const { return list_; }
  QLabel* typeLabel() const { return label_; }
  QLineEdit* speedField() const { return speed_; }
  QLineEdit* costField() const { return cost_; }
  QPushButton* okButton() const { return ok_; }

  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class LinesModel;
  void Act(const std::function<void()>& action);

  SetCost& state_;
  WindowHandle previousOwner_;
  bool refreshing_ = false;
  int shownVersion_ = -1;
  LinesModel* lines_ = nullptr;
  QTreeView* list_ = nullptr;
  QLabel* label_ = nullptr;
  QLineEdit* speed_ = nullptr;
  QLineEdit* cost_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// The runners that show both dialogs modally (through RunModal) over `parent`; the cost
// dialog opened from the request dialog has that dialog as its parent.
RouteDialogRunners QtRouteDialogRunners(QWidget* parent);

}  // namespace koltar
