#include "app/find_point_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialog_support.h"
#include "map/mmap.h"
#include "platform/qt/qt_text.h"
#include "view/place_view.h"

namespace koltar {
namespace {

constexpr int kScaleLength = 40;

QLabel* Label(const char* utf8, QWidget* buddy) {
  auto* label = new QLabel(QString::fromUtf8(utf8));
  label->setBuddy(buddy);
  return label;
}

QListView* ListView(const char* objectName) {
  auto* view = new QListView;
  view->setObjectName(QString::fromLatin1(objectName));
  view->setUniformItemSizes(true);  // rows are not measured one by one
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  return view;
}

// Sets a field's text only when it differs, so that the cursor of a field being typed
// in stays where it is.
void SetText(QLineEdit* edit, const std::string& cp1250) {
  const QString text = ToQString(cp1250);
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

FindPointDialog::FindPointDialog(QWidget* parent, const MMap& map, FindPointData& found)
    : QDialog(parent), find_(PlaceCategoriesOf(map), found, OwnerHandle(this)) {
  setWindowTitle(QString::fromUtf8("Térkép pozicionálás"));
  Build();
  find_.Open();
  for (const std::string& text : find_.categoryTexts()) categories_->addItem(ToQString(text));
  Refresh(true);
  Connect();
  name_->setFocus();
}

void FindPointDialog::Build() {
  categories_ = new QComboBox;
  categories_->setObjectName(QStringLiteral("categories"));
  layers_ = new QComboBox;
  layers_->setObjectName(QStringLiteral("layers"));
  name_ = new QLineEdit;
  name_->setObjectName(QStringLiteral("name"));
  names_ = ListView("names");
  nameModel_ = new TextListModel([this] { return find_.names().size(); },
                                 [this](int row) { return std::string(find_.names()[row].name); }, this);
  names_->setModel(nameModel_);

  hintModel_ = new TextListModel(
      [this] { return static_cast<int>(find_.hints().size()); },
      [this](int row) {
        return std::string(find_.names()[find_.hints()[static_cast<std::size_t>(row)]].name);
      },
      this);
  hints_ = new QCompleter(hintModel_, this);
  hints_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  hints_->setMaxVisibleItems(10);
  hints_->setWidget(name_);

  house_ = new QLineEdit;
  house_->setObjectName(QStringLiteral("houseNumber"));
  house_->setMaxLength(39);
  segments_ = ListView("segments");
  segments_->setSelectionMode(QAbstractItemView::NoSelection);
  segmentModel_ =
      new TextListModel([this] { return static_cast<int>(find_.segments().size()); },
                        [this](int row) { return find_.segments()[static_cast<std::size_t>(row)]; }, this);
  segments_->setModel(segmentModel_);

  range_ = new QLabel;
  range_->setObjectName(QStringLiteral("range"));
  scale_ = new QLineEdit;
  scale_->setObjectName(QStringLiteral("scale"));
  scale_->setMaxLength(kScaleLength);
  scale_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ +\\-0-9]*")), scale_));
  scaleLabel_ = Label("Megjelenítési méretarány:", scale_);
  scaleUnit_ = new QLabel(QStringLiteral("1 :"));

  auto* left = new QGridLayout;
  left->addWidget(Label("&Kategóriák:", categories_), 0, 0);
  left->addWidget(categories_, 0, 1);
  left->addWidget(Label("&Rétegek:", layers_), 1, 0);
  left->addWidget(layers_, 1, 1);
  left->addWidget(Label("Keresett &hely:", name_), 2, 0, 1, 2);
  left->addWidget(name_, 3, 0, 1, 2);
  left->addWidget(names_, 4, 0, 1, 2);
  left->setRowStretch(4, 1);

  auto* right = new QVBoxLayout;
  houseLabel_ = Label("Há&zszám:", house_);
  right->addWidget(houseLabel_);
  right->addWidget(house_);
  segmentLabel_ = Label("Útszakaszok:", segments_);
  right->addWidget(segmentLabel_);
  right->addWidget(segments_, 1);

  auto* frame = new QGroupBox;
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scaleLabel_);
  scaleRow->addWidget(scaleUnit_);
  scaleRow->addWidget(scale_, 1);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(range_);
  frameLayout->addLayout(scaleRow);
  right->addWidget(frame);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 3);
  columns->addLayout(right, 2);
  QDialogButtonBox* buttons = MakeDialogButtons(this);
  for (QAbstractButton* b : buttons->buttons())
    if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) ok_ = qobject_cast<QPushButton*>(b);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &FindPointDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { find_.ShowHelp(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);
  setTabOrder(categories_, layers_);
  setTabOrder(layers_, name_);
  setTabOrder(name_, names_);
  setTabOrder(names_, house_);
  setTabOrder(house_, segments_);
  setTabOrder(segments_, scale_);
  resize(640, 420);
}

void FindPointDialog::Connect() {
  connect(categories_, &QComboBox::activated, this, [this](int index) {
    find_.CategoryChanged(index);
    Refresh(true);
    name_->setFocus();
  });
  connect(layers_, &QComboBox::activated, this, [this](int index) {
    find_.LayerChanged(index);
    Refresh(true);
    name_->setFocus();
  });
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    find_.NameTyped(FromQString(text));
    Refresh(false);
    ShowHints();
  });
  connect(names_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            find_.NameChosen(current.isValid() ? current.row() : -1);
            Refresh(false);
            ShowHints();
          });
  connect(names_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    find_.NameChosen(index.row());
    Refresh(false);
    accept();
  });
  connect(hints_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          [this](const QModelIndex& index) {
            find_.HintChosen(index.row());
            Refresh(false);
            ShowHints();
          });
  connect(house_, &QLineEdit::textEdited, this,
          [this](const QString& text) { find_.HouseNumberTyped(FromQString(text)); });
  connect(scale_, &QLineEdit::textEdited, this,
          [this](const QString& text) { find_.ScaleTyped(FromQString(text)); });
}

void FindPointDialog::Refresh(bool lists) {
  {
    const QSignalBlocker blockCategories(categories_);
    categories_->setCurrentIndex(find_.categoryChoice());
  }
  if (lists) {
    const QSignalBlocker blockLayers(layers_);
    layers_->clear();
    for (const std::string& text : find_.layerTexts()) layers_->addItem(ToQString(text));
    const QSignalBlocker blockSelection(names_->selectionModel());
    nameModel_->Reset();
  }
  {
    const QSignalBlocker blockLayers(layers_);
    layers_->setCurrentIndex(find_.layerChoice());
  }
  SetText(name_, find_.nameText());
  {
    // The list shows the chosen name; the user's selections come back through the model.
    const QSignalBlocker blockSelection(names_->selectionModel());
    const QModelIndex chosen = nameModel_->index(find_.chosenName());
    if (chosen.isValid()) {
      names_->selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
      names_->scrollTo(chosen, QAbstractItemView::PositionAtCenter);
    } else {
      names_->selectionModel()->clearSelection();
    }
  }
  segmentModel_->Reset();
  SetText(house_, find_.houseNumber());
  SetText(scale_, find_.scaleText());
  range_->setText(ToQString(find_.rangeText()));

  for (QWidget* w : {static_cast<QWidget*>(houseLabel_), static_cast<QWidget*>(house_),
                     static_cast<QWidget*>(segmentLabel_), static_cast<QWidget*>(segments_)})
    w->setEnabled(find_.houseNumbersEnabled());
  for (QWidget* w : {static_cast<QWidget*>(range_), static_cast<QWidget*>(scaleLabel_),
                     static_cast<QWidget*>(scaleUnit_), static_cast<QWidget*>(scale_)})
    w->setEnabled(find_.scaleEnabled());
  ok_->setEnabled(find_.okEnabled());
}

void FindPointDialog::ShowHints() {
  hintModel_->Reset();
  if (find_.hints().empty() || !isVisible()) {
    if (hints_->popup()->isVisible()) hints_->popup()->hide();
    return;
  }
  hints_->complete();
}

void FindPointDialog::accept() {
  if (!find_.Accept()) {
    Refresh(false);
    return;
  }
  QDialog::accept();
}

}  // namespace koltar
