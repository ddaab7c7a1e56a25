#include "app/route_dialogs.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/dialog_support.h"
#include "app/road_type_list.h"
#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

using Button = SelectTargetNode::Button;

// Shows the hint row of the settlement list in bold while nothing is selected.
class HintDelegate final : public QStyledItemDelegate {
 public:
  HintDelegate(std::function<int()> hint, QObject* parent)
      : QStyledItemDelegate(parent), hint_(std::move(hint)) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() == hint_()) option->font.setBold(true);
  }

 private:
  std::function<int()> hint_;
};

QListView* MakeList(QWidget* parent, TextListModel* model) {
  auto* list = new QListView(parent);
  list->setModel(model);
  list->setUniformItemSizes(true);  // rows are measured once, not each of tens of thousands
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

QPushButton* FindButton(QDialogButtonBox* box, QDialogButtonBox::ButtonRole role) {
  for (QAbstractButton* b : box->buttons())
    if (box->buttonRole(b) == role) return static_cast<QPushButton*>(b);
  return nullptr;
}

int SelectedRow(const QListView* list) {
  const QModelIndexList rows = list->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void SetTextKeepingCursor(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}

}  // namespace

// ---- route request --------------------------------------------------------------------

SelectTargetNodeDialog::SelectTargetNodeDialog(SelectTargetNode& state, QWidget* parent)
    : QDialog(parent), state_(state), previousOwner_(state.owner()) {
  state_.SetOwner(OwnerHandle(this));
  setWindowTitle(QString::fromUtf8("Útvonal választás"));
  Build();
  Connect();
  Refresh();
}

SelectTargetNodeDialog::~SelectTargetNodeDialog() { state_.SetOwner(previousOwner_); }

void SelectTargetNodeDialog::Build() {
  settlementField_ = new QLineEdit(this);
  settlementField_->setMaxLength(62);
  settlements_ = new TextListModel([this] { return static_cast<int>(state_.settlementCount()); },
                                   [this](int row) { return state_.settlementText(row); }, this);
  settlementList_ = MakeList(this, settlements_);
  settlementList_->setItemDelegate(new HintDelegate([this] { return state_.hintRow(); }, settlementList_));
  settlementList_->setMinimumHeight(160);
  auto* settlementLabel = new QLabel(QString::fromUtf8("&Település:"), this);
  settlementLabel->setBuddy(settlementField_);

  houseLabel_ = new QLabel(QString::fromUtf8("&Házszám:"), this);
  houseField_ = new QLineEdit(this);
  houseField_->setMaxLength(18);
  houseLabel_->setBuddy(houseField_);
  segmentLabel_ = new QLabel(QString::fromUtf8("Szakaszok:"), this);
  segments_ =
      new TextListModel([this] { return static_cast<int>(state_.segments().size()); },
                        [this](int row) { return state_.segments()[static_cast<std::size_t>(row)]; }, this);
  segmentList_ = MakeList(this, segments_);
  segmentList_->setSelectionMode(QAbstractItemView::NoSelection);
  segmentList_->setMaximumHeight(80);
  segmentLabel_->setBuddy(segmentList_);

  add_ = new QPushButton(QStringLiteral(">>"), this);

  auto* routeLabel = new QLabel(QString::fromUtf8("Út&vonal:"), this);
  route_ = new TextListModel(
      [this] { return static_cast<int>(state_.routeEntries().size()); },
      [this](int row) { return state_.routeEntries()[static_cast<std::size_t>(row)].text; }, this);
  routeList_ = MakeList(this, route_);
  routeLabel->setBuddy(routeList_);
  moveUp_ = new QPushButton(QString::fromUtf8("Előrevisz"), this);
  moveDown_ = new QPushButton(QString::fromUtf8("Hátravisz"), this);
  delete_ = new QPushButton(QString::fromUtf8("Töröl"), this);
  deleteAll_ = new QPushButton(QString::fromUtf8("Töröl mind"), this);

  auto* startBox = new QGroupBox(QString::fromUtf8("Kiindulási hely (alapértelmezés):"), this);
  defaultStart_ = new QLabel(startBox);
  defaultStart_->setMinimumWidth(160);
  take_ = new QPushButton(QString::fromUtf8("Felvesz"), startBox);
  apply_ = new QPushButton(QString::fromUtf8("Alkalmaz"), startBox);

  auto* roadLabel = new QLabel(QString::fromUtf8("Engedélyezett &utak:"), this);
  roadList_ = new TEnableRoadListBox([this] { return static_cast<int>(state_.roadTypeCount()); },
                                     [this](int row) { return state_.roadTypeName(row); },
                                     [this](int row) { return state_.roadTypeEnabled(row); }, this);
  roadLabel->setBuddy(roadList_);
  enableAll_ = new QPushButton(QString::fromUtf8("Mindet engedélyezi"), this);
  disableAll_ = new QPushButton(QString::fromUtf8("Mindet tiltja"), this);

  auto* criterionLabel = new QLabel(QString::fromUtf8("&Optimalizálási szempont:"), this);
  criterion_ = new QComboBox(this);
  for (const std::string& name : SelectTargetNode::CriterionNames()) criterion_->addItem(ToQString(name));
  criterionLabel->setBuddy(criterion_);
  costs_ = new QPushButton(QString::fromUtf8("Költségek..."), this);

  buttons_ = MakeDialogButtons(this);
  ok_ = FindButton(buttons_, QDialogButtonBox::AcceptRole);
  cancel_ = FindButton(buttons_, QDialogButtonBox::RejectRole);
  help_ = FindButton(buttons_, QDialogButtonBox::HelpRole);

  // Settlements and house numbers on the left, ">>" between, the route on the right.
  auto* left = new QVBoxLayout;
  left->addWidget(settlementLabel);
  left->addWidget(settlementField_);
  left->addWidget(settlementList_, 1);
  auto* house = new QFormLayout;
  house->addRow(houseLabel_, houseField_);
  house->addRow(segmentLabel_, segmentList_);
  left->addLayout(house);

  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(add_);
  middle->addStretch();

  auto* routeButtons = new QVBoxLayout;
  for (QPushButton* b : {moveUp_, moveDown_, delete_, deleteAll_}) routeButtons->addWidget(b);
  routeButtons->addStretch();
  auto* routeRow = new QHBoxLayout;
  routeRow->addWidget(routeList_, 1);
  routeRow->addLayout(routeButtons);
  auto* startRow = new QHBoxLayout(startBox);
  startRow->addWidget(defaultStart_, 1);
  startRow->addWidget(take_);
  startRow->addWidget(apply_);
  auto* right = new QVBoxLayout;
  right->addWidget(routeLabel);
  right->addLayout(routeRow, 1);
  right->addWidget(startBox);

  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(middle);
  top->addLayout(right, 1);

  auto* roadButtons = new QVBoxLayout;
  roadButtons->addWidget(enableAll_);
  roadButtons->addWidget(disableAll_);
  roadButtons->addStretch();
  auto* roadRow = new QHBoxLayout;
  roadRow->addWidget(roadList_, 1);
  roadRow->addLayout(roadButtons);
  auto* roads = new QVBoxLayout;
  roads->addWidget(roadLabel);
  roads->addLayout(roadRow);
  roadList_->setMaximumHeight(140);

  auto* criterionColumn = new QVBoxLayout;
  criterionColumn->addWidget(criterionLabel);
  criterionColumn->addWidget(criterion_);
  criterionColumn->addWidget(costs_);
  criterionColumn->addStretch();

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(roads, 1);
  bottom->addLayout(criterionColumn);

  auto* all = new QVBoxLayout(this);
  all->addLayout(top, 1);
  all->addLayout(bottom);
  all->addWidget(buttons_);

  // Tab order: from the settlement field through the route to the switches, the
  // criterion and the dialog's buttons.
  QWidget* order[] = {
      settlementField_, settlementList_, houseField_, segmentList_, add_,    routeList_, moveUp_,
      moveDown_,        delete_,         deleteAll_,  take_,        apply_,  roadList_,  enableAll_,
      disableAll_,      criterion_,      costs_,      ok_,          cancel_, help_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  settlementField_->installEventFilter(this);
}

void SelectTargetNodeDialog::Connect() {
  connect(settlementField_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { state_.TypeSettlement(FromQString(text)); }); });
  connect(settlementList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (refreshing_) return;
    const int row = SelectedRow(settlementList_);
    if (row >= 0) Act([&] { state_.ChooseSettlement(row); });
  });
  connect(settlementList_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) Act([&] { state_.DoubleClickSettlement(index.row()); });
  });
  connect(houseField_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { state_.SetHouseNumber(FromQString(text)); }); });
  connect(routeList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!refreshing_) Act([&] { state_.SelectEntry(SelectedRow(routeList_)); });
  });
  connect(add_, &QPushButton::clicked, this, [this] {
    Act([&] { state_.Add(); });
    settlementField_->setFocus();  // ready for the next name
  });
  connect(moveUp_, &QPushButton::clicked, this, [this] { Act([&] { state_.MoveUp(); }); });
  connect(moveDown_, &QPushButton::clicked, this, [this] { Act([&] { state_.MoveDown(); }); });
  connect(delete_, &QPushButton::clicked, this, [this] { Act([&] { state_.Delete(); }); });
  connect(deleteAll_, &QPushButton::clicked, this, [this] { Act([&] { state_.DeleteAll(); }); });
  connect(take_, &QPushButton::clicked, this, [this] { Act([&] { state_.TakeDefaultStart(); }); });
  connect(apply_, &QPushButton::clicked, this, [this] { Act([&] { state_.ApplyDefaultStart(); }); });
  roadList_->onToggle = [this](int row) { Act([&] { state_.ToggleRoadType(row); }); };
  connect(enableAll_, &QPushButton::clicked, this, [this] { Act([&] { state_.EnableAllRoadTypes(); }); });
  connect(disableAll_, &QPushButton::clicked, this, [this] { Act([&] { state_.DisableAllRoadTypes(); }); });
  connect(criterion_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!refreshing_) Act([&] { state_.SetCriterion(index); });
  });
  connect(costs_, &QPushButton::clicked, this, [this] { Act([&] { state_.OpenCosts(); }); });
  connect(buttons_, &QDialogButtonBox::helpRequested, this, [this] { state_.ShowHelp(); });
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
    if (state_.Accept()) accept();
  });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SelectTargetNodeDialog::Act(const std::function<void()>& action) {
  action();
  Refresh();
}

void SelectTargetNodeDialog::Refresh() {
  refreshing_ = true;
  SetTextKeepingCursor(settlementField_, ToQString(state_.settlementField()));
  ShowSettlementSelection();

  const bool house = state_.houseNumbersEnabled();
  for (QWidget* w : {static_cast<QWidget*>(houseLabel_), static_cast<QWidget*>(houseField_),
                     static_cast<QWidget*>(segmentLabel_), static_cast<QWidget*>(segmentList_)})
    w->setEnabled(house);
  SetTextKeepingCursor(houseField_, ToQString(state_.houseNumber()));
  segments_->Reset();

  route_->Reset();
  ShowRouteSelection();
  defaultStart_->setText(ToQString(state_.defaultStartText()));
  roadList_->Refresh();
  criterion_->setCurrentIndex(state_.criterion());

  const std::pair<QPushButton*, Button> buttons[] = {{add_, Button::Add},
                                                     {take_, Button::TakeDefaultStart},
                                                     {apply_, Button::ApplyDefaultStart},
                                                     {moveUp_, Button::MoveUp},
                                                     {moveDown_, Button::MoveDown},
                                                     {delete_, Button::Delete},
                                                     {deleteAll_, Button::DeleteAll},
                                                     {ok_, Button::Ok}};
  for (const auto& [widget, which] : buttons) widget->setEnabled(state_.Enabled(which));
  const bool addDefault = state_.defaultButton() == Button::Add;
  ok_->setDefault(!addDefault);
  add_->setDefault(addDefault);
  refreshing_ = false;
}

void SelectTargetNodeDialog::ShowSettlementSelection() {
  QItemSelectionModel* selection = settlementList_->selectionModel();
  const int row = state_.selectedRow();
  if (row >= 0) {
    const QModelIndex index = settlements_->index(row);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    settlementList_->scrollTo(index);
  } else {
    selection->clearSelection();
    const int hint = state_.hintRow();
    if (hint >= 0) {
      const QModelIndex index = settlements_->index(hint);
      selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
      settlementList_->scrollTo(index, QAbstractItemView::PositionAtTop);
    }
  }
  settlementList_->viewport()->update();
}

void SelectTargetNodeDialog::ShowRouteSelection() {
  const int entry = state_.selectedEntry();
  if (entry >= 0)
    routeList_->selectionModel()->setCurrentIndex(route_->index(entry), QItemSelectionModel::ClearAndSelect);
  else
    routeList_->selectionModel()->clearSelection();
}

void SelectTargetNodeDialog::StepSettlement(int direction) {
  const int count = static_cast<int>(state_.settlementCount());
  if (count == 0) return;
  int row = state_.selectedRow();
  if (row < 0)
    row = state_.hintRow() >= 0 ? state_.hintRow() : 0;
  else
    row = std::clamp(row + direction, 0, count - 1);
  Act([&] { state_.ChooseSettlement(row); });
  settlementField_->selectAll();
}

void SelectTargetNodeDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  settlementField_->setFocus(Qt::OtherFocusReason);
}

bool SelectTargetNodeDialog::eventFilter(QObject* watched, QEvent* event) {
  // The arrow keys in the settlement field move through the list, as in a combo box.
  if (watched == settlementField_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      StepSettlement(key == Qt::Key_Down ? 1 : -1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

QPushButton* SelectTargetNodeDialog::button(Button which) const {
  switch (which) {
    case Button::Add: return add_;
    case Button::TakeDefaultStart: return take_;
    case Button::ApplyDefaultStart: return apply_;
    case Button::MoveUp: return moveUp_;
    case Button::MoveDown: return moveDown_;
    case Button::Delete: return delete_;
    case Button::DeleteAll: return deleteAll_;
    case Button::Ok: return ok_;
  }
  return nullptr;
}

// ---- cost settings --------------------------------------------------------------------

// The road types in three columns: the name, the speed and the unit cost, as the
// plain class's tab-separated lines give them.
class SetCostDialog::LinesModel final : public QAbstractTableModel {
 public:
  LinesModel(SetCost& state, QObject* parent) : QAbstractTableModel(parent), state_(state) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(state_.lineCount());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : 3;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                     : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const QStringList columns = ToQString(state_.Line(index.row())).split(QLatin1Char('\t'));
    return index.column() < columns.size() ? columns[index.column()].trimmed() : QString();
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"Út tipus", "Sebesség\n[Km/h]", "Költség\n[Ft/km]"};
    return section >= 0 && section < 3 ? QString::fromUtf8(titles[section]) : QString();
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  SetCost& state_;
};

SetCostDialog::SetCostDialog(SetCost& state, QWidget* parent)
    : QDialog(parent), state_(state), previousOwner_(state.owner()) {
  state_.SetOwner(OwnerHandle(this));
  setWindowTitle(QString::fromUtf8("Költségek beállítása"));
  lines_ = new LinesModel(state_, this);
  list_ = new QTreeView(this);
  list_->setModel(lines_);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->setMinimumSize(420, 200);

  label_ = new QLabel(this);
  speed_ = new QLineEdit(this);
  cost_ = new QLineEdit(this);
  for (QLineEdit* field : {speed_, cost_}) {
    field->setMaxLength(16);
    field->installEventFilter(this);
  }
  auto* fields = new QFormLayout;
  fields->addRow(label_);
  fields->addRow(QString::fromUtf8("&Sebesség [Km/h]:"), speed_);
  fields->addRow(QString::fromUtf8("&Költség [Ft/km]:"), cost_);

  auto* buttons = MakeDialogButtons(this);
  ok_ = FindButton(buttons, QDialogButtonBox::AcceptRole);
  ok_->setDefault(true);

  auto* all = new QVBoxLayout(this);
  all->addWidget(list_, 1);
  all->addLayout(fields);
  all->addWidget(buttons);

  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (refreshing_) return;
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (!rows.isEmpty()) Act([&] { state_.Select(rows.front().row()); });
  });
  connect(speed_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.EditSpeed(FromQString(text)); });
  connect(cost_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.EditCost(FromQString(text)); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    state_.Accept();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { state_.ShowHelp(); });
  Refresh();
}

SetCostDialog::~SetCostDialog() { state_.SetOwner(previousOwner_); }

void SetCostDialog::Act(const std::function<void()>& action) {
  action();
  Refresh();
}

void SetCostDialog::Refresh() {
  refreshing_ = true;
  if (shownVersion_ != state_.listVersion()) {
    lines_->Reset();
    shownVersion_ = state_.listVersion();
  }
  const int selection = static_cast<int>(state_.listSelection());
  if (selection >= 0)
    list_->selectionModel()->setCurrentIndex(lines_->index(selection, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  else
    list_->selectionModel()->clearSelection();
  label_->setText(ToQString(state_.label()));
  SetTextKeepingCursor(speed_, ToQString(state_.speedText()));
  SetTextKeepingCursor(cost_, ToQString(state_.costText()));
  const bool editing = state_.selected() >= 0;
  speed_->setEnabled(editing);
  cost_->setEnabled(editing);
  refreshing_ = false;
}

bool SetCostDialog::eventFilter(QObject* watched, QEvent* event) {
  // A field's value is taken when the field loses the focus.
  if (event->type() == QEvent::FocusOut && (watched == speed_ || watched == cost_))
    Act([&] { watched == speed_ ? state_.LeaveSpeed() : state_.LeaveCost(); });
  return QDialog::eventFilter(watched, event);
}

RouteDialogRunners QtRouteDialogRunners(QWidget* parent) {
  RouteDialogRunners runners;
  runners.request = [parent](SelectTargetNode& state) {
    SelectTargetNodeDialog dialog(state, parent);
    return RunModal(dialog) == QDialog::Accepted;
  };
  runners.costs = [parent](SetCost& state) {
    // Opened from the route request dialog, the cost dialog belongs to it.
    QWidget* owner = state.owner() ? static_cast<QWidget*>(state.owner()) : parent;
    SetCostDialog dialog(state, owner);
    return RunModal(dialog) == QDialog::Accepted;
  };
  return runners;
}

}  // namespace koltar
