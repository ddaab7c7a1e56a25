#include "app/carto_symb_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialog_support.h"
#include "app/style_pickers.h"
#include "categories/symbology_use.h"
#include "map/mmap.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "symbology/cartosymb.h"
#include "symbology/style_pickers.h"

namespace koltar {
namespace {

using C = SymbControl;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A key that types something other than a digit or "+": the scale fields refuse it
// (what the program writes there, "-1" for an unset bound, stays as it is).
bool TypesNonDigit(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  for (QChar c : key.text())
    if (c.isPrint() && !c.isDigit() && c != QLatin1Char('+')) return true;
  return false;
}

QString ObjectName(SymbControl id) { return QStringLiteral("c%1").arg(static_cast<int>(id)); }

}  // namespace

CartoSymbDialog::CartoSymbDialog(CartoSymbDlg& behaviour, std::function<void()> preview, QWidget* parent)
    : QDialog(parent), behaviour_(behaviour), preview_(std::move(preview)) {
  setWindowTitle(Utf8("Térkép megjelenítése"));
  setModal(true);
  previewTimer_.setSingleShot(true);
  previewTimer_.setInterval(kPreviewDelay);
  connect(&previewTimer_, &QTimer::timeout, this, [this] {
    behaviour_.Preview();
    if (preview_) preview_();
  });
  Build();
  Connect();
  seenChanges_ = behaviour_.changeCount();
  Refresh();
}

CartoSymbDialog::~CartoSymbDialog() = default;

QWidget* CartoSymbDialog::Control(SymbControl id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

// ---- building the window -------------------------------------------------------------

QLabel* CartoSymbDialog::Label(SymbControl forControl, const char* text, QWidget* buddy) {
  auto* label = new QLabel(Utf8(text), this);
  label->setBuddy(buddy);
  labels_[forControl] = label;
  return label;
}

template <class Widget>
Widget* CartoSymbDialog::Named(SymbControl id, Widget* widget) {
  widget->setObjectName(ObjectName(id));
  controls_[id] = widget;
  return widget;
}

StyleComboBox* CartoSymbDialog::Picker(SymbControl id, StylePickerKind kind) {
  return Named(id, new StyleComboBox(kind, this));
}

QLineEdit* CartoSymbDialog::Edit(SymbControl id) {
  auto* edit = Named(id, new QLineEdit(this));
  if (const int n = CartoSymbDlg::MaxLength(id); n > 0) edit->setMaxLength(n);
  return edit;
}

QLineEdit* CartoSymbDialog::ColorTextOf(SymbControl picker) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(ObjectName(picker) + QStringLiteral("hex"));
  edit->setMaxLength(7);
  edit->setPlaceholderText(QStringLiteral("#RRGGBB"));
  edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("#MMMMMM")) + 12);
  colorTexts_[picker] = edit;
  return edit;
}

QPushButton* CartoSymbDialog::Button(SymbControl id, const char* text) {
  auto* button = Named(id, new QPushButton(Utf8(text), this));
  button->setAutoDefault(false);  // Enter stays with OK
  return button;
}

void CartoSymbDialog::Build() {
  auto* columns = new QHBoxLayout;
  columns->addLayout(LayerColumn(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(LineGroup());
  right->addWidget(FontGroup());
  right->addWidget(SymbolGroup());
  right->addStretch(1);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(RangeGroup());
  layout->addWidget(Buttons());
  SetTabOrder();
  categories_->setFocus();
}

QLayout* CartoSymbDialog::LayerColumn() {
  categories_ = Named(C::Categories, new QComboBox(this));
  for (const CartoCategory& c : behaviour_.workingCopy()) categories_->addItem(ToQString(c.name));
  layers_ = Named(C::Layers, new QListView(this));
  const auto layerOfRow = [this](int row) {
    return LayerOfItem(behaviour_.workingCopy(), behaviour_.LayerItem(row));
  };
  layerModel_ = new TextListModel([this] { return behaviour_.layerCount(); },
                                  [layerOfRow](int row) {
                                    const CartoLayer* layer = layerOfRow(row);
                                    return layer ? layer->name : std::string();
                                  },
                                  this);
  layers_->setModel(layerModel_);
  layers_->setItemDelegate(new LayerListDelegate(layerOfRow, layers_));
  layers_->setSelectionMode(QAbstractItemView::SingleSelection);
  layers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layers_->setMinimumWidth(200);
  layers_->installEventFilter(this);

  auto* column = new QVBoxLayout;
  column->addWidget(Label(C::Categories, "Térkép elemek:", categories_));
  column->addWidget(categories_);
  column->addWidget(layers_, 1);
  auto* visibility = new QHBoxLayout;
  visibility->addWidget(Button(C::AllVisible, "Látható (mind)"));
  visibility->addWidget(Button(C::AllInvisible, "Nem látható (mind)"));
  column->addLayout(visibility);
  return column;
}

QGroupBox* CartoSymbDialog::LineGroup() {
  auto* group = new QGroupBox(Utf8("Vonal/Terület"), this);
  auto* grid = new QGridLayout(group);
  auto* lineColor = Picker(C::LineColor, StylePickerKind::Color);
  auto* fillColor = Picker(C::FillColor, StylePickerKind::Color);
  auto* hatch = Picker(C::HatchStyle, StylePickerKind::Hatch);
  auto* lineStyle = Picker(C::LineStyle, StylePickerKind::LineStyle);
  auto* lineWidth = Edit(C::LineWidth);
  grid->addWidget(Label(C::LineColor, "Szín:", lineColor), 0, 0);
  grid->addWidget(lineColor, 0, 1);
  grid->addWidget(ColorTextOf(C::LineColor), 0, 2);
  grid->addWidget(Label(C::FillColor, "Kitöltő szín:", fillColor), 1, 0);
  grid->addWidget(fillColor, 1, 1);
  grid->addWidget(ColorTextOf(C::FillColor), 1, 2);
  grid->addWidget(Label(C::HatchStyle, "Kitöltő minta:", hatch), 2, 0);
  grid->addWidget(hatch, 2, 1);
  grid->addWidget(Label(C::LineStyle, "Tipus:", lineStyle), 3, 0);
  grid->addWidget(lineStyle, 3, 1);
  grid->addWidget(Label(C::LineWidth, "Vastagság:", lineWidth), 4, 0);
  grid->addWidget(lineWidth, 4, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* CartoSymbDialog::FontGroup() {
  auto* group = new QGroupBox(Utf8("Megírás"), this);
  auto* grid = new QGridLayout(group);
  auto* face = Named(C::FontFace, new QComboBox(this));
  faceModel_ =
      new TextListModel([this] { return static_cast<int>(behaviour_.faces().size()); },
                        [this](int row) { return behaviour_.faces()[static_cast<std::size_t>(row)]; }, this);
  face->setModel(faceModel_);
  face->setMaxVisibleItems(20);
  auto* fontColor = Picker(C::FontColor, StylePickerKind::Color);
  formats_ = new QGroupBox(Utf8("Betüformázás"), this);
  auto* formatRow = new QHBoxLayout(formats_);
  const std::pair<C, const char*> boxes[] = {
      {C::Bold, "Vastag"}, {C::Italic, "Dőlt"}, {C::Underline, "Aláhúzott"}};
  for (const auto& [id, text] : boxes) formatRow->addWidget(Named(id, new QCheckBox(Utf8(text), this)));
  auto* fontHeight = Edit(C::FontHeight);
  auto* fontWidth = Edit(C::FontWidth);
  grid->addWidget(Label(C::FontFace, "Betütipus:", face), 0, 0);
  grid->addWidget(face, 0, 1, 1, 2);
  grid->addWidget(Label(C::FontColor, "Szín:", fontColor), 1, 0);
  grid->addWidget(fontColor, 1, 1);
  grid->addWidget(ColorTextOf(C::FontColor), 1, 2);
  grid->addWidget(formats_, 2, 0, 1, 3);
  grid->addWidget(Label(C::FontHeight, "Betüméret:", fontHeight), 3, 0);
  grid->addWidget(fontHeight, 3, 1);
  grid->addWidget(Label(C::FontWidth, "Szélesség [%]:", fontWidth), 4, 0);
  grid->addWidget(fontWidth, 4, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* CartoSymbDialog::SymbolGroup() {
  auto* group = new QGroupBox(Utf8("Szimbólum (bittérkép)"), this);
  auto* grid = new QGridLayout(group);
  auto* file = Named(C::BitmapFile, new QLabel(this));
  file->setTextFormat(Qt::PlainText);
  auto* height = Edit(C::BitmapHeight);
  grid->addWidget(Label(C::BitmapFile, "File:", nullptr), 0, 0);
  grid->addWidget(file, 0, 1);
  grid->addWidget(Label(C::BitmapHeight, "Méret:", height), 1, 0);
  grid->addWidget(height, 1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* CartoSymbDialog::RangeGroup() {
  auto* group = new QGroupBox(Utf8("Megjelenítési méretarány-tartomány"), this);
  auto* grid = new QGridLayout(group);
  rangeText_ = Named(C::CategoryRange, new QLabel(this));
  QFont small(QStringLiteral("MS Sans Serif"));
  small.setPointSize(8);
  small.setWeight(QFont::Normal);
  rangeText_->setFont(small);
  auto* min = Edit(C::ScaleMin);
  auto* max = Edit(C::ScaleMax);
  for (QLineEdit* e : {min, max}) e->installEventFilter(this);
  grid->addWidget(rangeText_, 0, 0, 1, 5);
  grid->addWidget(Label(C::ScaleMin, "1 : ", min), 1, 0);
  grid->addWidget(min, 1, 1);
  grid->addWidget(Label(C::ScaleMax, "- 1 : ", max), 1, 2);
  grid->addWidget(max, 1, 3);
  grid->addWidget(Button(C::RangeToAll, "Minden rétegre"), 1, 4);
  return group;
}

QDialogButtonBox* CartoSymbDialog::Buttons() {
  QDialogButtonBox* buttons = MakeDialogButtons(this);
  for (QAbstractButton* b : buttons->buttons()) {
    if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) okButton_ = static_cast<QPushButton*>(b);
    if (buttons->buttonRole(b) == QDialogButtonBox::RejectRole) cancelButton_ = static_cast<QPushButton*>(b);
  }
  if (okButton_) okButton_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [] { CartoSymbDlg::ShowHelp(); });
  buttons_ = buttons;
  return buttons;
}

void CartoSymbDialog::SetTabOrder() {
  // Down the left column, then the properties, the range and the buttons.
  std::vector<QWidget*> order = {categories_, layers_, Control(C::AllVisible), Control(C::AllInvisible)};
  for (C id : {C::LineColor, C::FillColor, C::HatchStyle, C::LineStyle, C::LineWidth, C::FontFace,
               C::FontColor, C::Bold, C::Italic, C::Underline, C::FontHeight, C::FontWidth, C::BitmapHeight,
               C::ScaleMin, C::ScaleMax, C::RangeToAll}) {
    order.push_back(Control(id));
    if (const auto hex = colorTexts_.find(id); hex != colorTexts_.end()) order.push_back(hex->second);
  }
  for (QAbstractButton* b : buttons_->buttons()) order.push_back(b);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void CartoSymbDialog::Connect() {
  connect(categories_, &QComboBox::currentIndexChanged, this, [this](int index) {
    behaviour_.SelectCategory(index);
    Changed();
  });
  connect(layers_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            behaviour_.SelectLayer(current.row());
            Changed();
          });
  connect(layers_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    behaviour_.ToggleVisibility(index.row());
    Changed();
  });
  connect(static_cast<QPushButton*>(Control(C::AllVisible)), &QPushButton::clicked, this, [this] {
    behaviour_.SetAllVisible(true);
    Changed();
  });
  connect(static_cast<QPushButton*>(Control(C::AllInvisible)), &QPushButton::clicked, this, [this] {
    behaviour_.SetAllVisible(false);
    Changed();
  });
  connect(static_cast<QPushButton*>(Control(C::RangeToAll)), &QPushButton::clicked, this, [this] {
    behaviour_.RangeToAllLayers();
    Changed();
  });
  // A choice counts also when it is the item already selected: the selection may be
  // another layer's still (a colour the palette does not hold).
  for (C id : {C::LineColor, C::FillColor, C::HatchStyle, C::LineStyle, C::FontColor, C::FontFace})
    connect(static_cast<QComboBox*>(Control(id)), &QComboBox::activated, this, [this, id](int item) {
      behaviour_.Pick(id, item);
      Changed();
    });
  for (C id : {C::Bold, C::Italic, C::Underline})
    connect(static_cast<QCheckBox*>(Control(id)), &QCheckBox::clicked, this, [this, id](bool ticked) {
      behaviour_.SetChecked(id, ticked);
      Changed();
    });
  for (C id : {C::LineWidth, C::FontHeight, C::FontWidth, C::BitmapHeight, C::ScaleMin, C::ScaleMax})
    connect(static_cast<QLineEdit*>(Control(id)), &QLineEdit::textEdited, this,
            [this, id](const QString& text) {
              behaviour_.SetText(id, FromQString(text));
              Changed();
            });
  for (auto& [id, hex] : colorTexts_) {
    const C picker = id;
    connect(hex, &QLineEdit::textEdited, this, [this, picker](const QString& text) {
      if (behaviour_.SetColorText(picker, FromQString(text.trimmed()))) Changed();
    });
    connect(hex, &QLineEdit::editingFinished, this, [this] { Refresh(); });
  }
}

void CartoSymbDialog::Changed() {
  Refresh();
  if (behaviour_.changeCount() != seenChanges_) {
    seenChanges_ = behaviour_.changeCount();
    previewTimer_.start();
  }
}

void CartoSymbDialog::Refresh() {
  {
    const QSignalBlocker block(categories_);
    categories_->setCurrentIndex(behaviour_.selectedCategory());
  }
  {
    const QSignalBlocker block(layers_->selectionModel());
    if (shownCategory_ != behaviour_.selectedCategory()) {
      shownCategory_ = behaviour_.selectedCategory();
      layerModel_->Reset();
    }
    const QModelIndex row = layerModel_->index(behaviour_.selectedLayer(), 0);
    if (row.isValid() && layers_->currentIndex() != row) layers_->setCurrentIndex(row);
    layers_->viewport()->update();
  }
  rangeText_->setText(ToQString(behaviour_.CategoryRangeText()));
  for (auto& [id, widget] : controls_) {
    const bool enabled = behaviour_.IsEnabled(id);
    widget->setEnabled(enabled);
    if (const auto l = labels_.find(id); l != labels_.end() && l->second) l->second->setEnabled(enabled);
    const QSignalBlocker block(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && id != C::Categories)
      combo->setCurrentIndex(behaviour_.Selection(id));
    else if (auto* box = qobject_cast<QCheckBox*>(widget))
      box->setChecked(behaviour_.IsChecked(id));
    else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      const QString text = ToQString(behaviour_.Text(id));
      if (line->text() != text) line->setText(text);
    } else if (id == C::BitmapFile)
      static_cast<QLabel*>(widget)->setText(ToQString(behaviour_.Text(id)));
  }
  formats_->setEnabled(behaviour_.IsEnabled(C::Bold));
  for (auto& [id, hex] : colorTexts_) {
    const std::optional<ColorRef> colour = behaviour_.LayerColor(id);
    static_cast<StyleComboBox*>(Control(id))
        ->SetShownValue(colour ? std::optional<std::int32_t>(static_cast<std::int32_t>(*colour))
                               : std::nullopt);
    // A disabled picker shows an empty field, and so does its text.
    const bool enabled = behaviour_.IsEnabled(id);
    hex->setEnabled(enabled);
    if (!hex->hasFocus()) hex->setText(enabled ? ToQString(behaviour_.ColorText(id)) : QString());
  }
}

bool CartoSymbDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == layers_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    // The keyboard's way to the visibility switch of the selected layer.
    behaviour_.ToggleVisibility(behaviour_.selectedLayer());
    Changed();
    return true;
  }
  const bool scaleField = watched == Control(C::ScaleMin) || watched == Control(C::ScaleMax);
  if (scaleField && event->type() == QEvent::KeyPress && TypesNonDigit(*static_cast<QKeyEvent*>(event)))
    return true;
  if (scaleField && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = QApplication::focusWidget();
    // Checked when the focus goes to another control of the dialog, except OK and
    // Mégsem; not when the dialog itself loses it.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next &&
        isAncestorOf(next) && next != okButton_ && next != cancelButton_)
      CheckRangeLater(watched == Control(C::ScaleMin) ? C::ScaleMin : C::ScaleMax);
  }
  return QDialog::eventFilter(watched, event);
}

void CartoSymbDialog::CheckRangeLater(SymbControl field) {
  // After the focus has moved: the message box must not open inside the focus change.
  QMetaObject::invokeMethod(
      this,
      [this, field] {
        if (behaviour_.CheckRange(field, OwnerHandle(this))) return;
        if (QWidget* w = Control(field)) w->setFocus(Qt::OtherFocusReason);
      },
      Qt::QueuedConnection);
}

void CartoSymbDialog::done(int result) {
  previewTimer_.stop();
  decided_ = true;
  if (result == QDialog::Accepted)
    behaviour_.Accept();
  else
    previewCancelled_ = behaviour_.Cancel();
  QDialog::done(result);
}

std::vector<std::string> InstalledFaces() {
  std::vector<std::string> faces;
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    const std::string utf8 = family.toStdString();
    if (FitsCp1250(utf8)) faces.push_back(Utf8ToCp1250(utf8));
  }
  return faces;
}

bool EditSymbology(QWidget* owner, MMap& map, std::function<void()> preview) {
  MCartoSymb& symbology = map.symbology();
  if (!CartoSymbDlg::CanEdit(symbology, OwnerHandle(owner))) return false;
  CartoSymbDlg behaviour(symbology, PropertiesUsed(symbology.categories(), map.drawOrder()),
                         InstalledFaces());
  CartoSymbDialog dialog(behaviour, std::move(preview), owner);
  const int result = RunModal(dialog);
  if (!dialog.decided()) dialog.done(result);  // a runner that only returned a result
  return result == QDialog::Accepted || dialog.previewCancelled();
}

}  // namespace koltar
