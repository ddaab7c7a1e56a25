#include "app/route_list_dialog.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_support.h"
#include "app/linked_info_dialogs.h"
#include "app/map_window.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

constexpr int kScaleLength = 39;
constexpr int kColumns = 4;

QPushButton* Button(const char* utf8) { return new QPushButton(QString::fromUtf8(utf8)); }

}  // namespace

// The list lines in four columns: the mark with the name, distance, time and cost.
class ShowOptPathDialog::LinesModel final : public QAbstractTableModel {
 public:
  LinesModel(const ShowOptPath& state, QObject* parent) : QAbstractTableModel(parent), state_(state) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(state_.lines().size());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : kColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const RouteListLine& line = state_.lines()[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                     : Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::FontRole && line.requested) {
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    if (role != Qt::DisplayRole) return {};
    // "%c\t%s\t%5.1f\t%s\t%6.1lf": the first two fields make the first column.
    const QStringList fields = ToQString(line.text).split(QLatin1Char('\t'));
    if (fields.size() < 5) return index.column() == 0 ? ToQString(line.text) : QString();
    if (index.column() == 0) return fields[0] + QLatin1Char(' ') + fields[1];
    return fields[index.column() + 1].trimmed();
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(section == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                              : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    return ToQString(ShowOptPath::ColumnHeadings()[static_cast<std::size_t>(section)]);
  }

  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  const ShowOptPath& state_;
};

std::unique_ptr<QFileDialog> MakeRouteFileDialog(QWidget* owner, RouteFileKind kind) {
  QString title = QString::fromUtf8("Optimális út kivitele");
  QStringList filters;
  QString suffix;
  switch (kind) {
    case RouteFileKind::Text: filters << QString::fromUtf8("Szöveg file-ok (*.txt)"); break;
    case RouteFileKind::Gpx:
      title = QString::fromUtf8("Optimális út kivitele GPX-be");
      filters << QString::fromUtf8("GPX file-ok (*.gpx)");
      suffix = QStringLiteral("gpx");
      break;
    case RouteFileKind::GeoJson:
      title = QString::fromUtf8("Optimális út kivitele GeoJSON-ba");
      filters << QString::fromUtf8("GeoJSON file-ok (*.geojson *.json)");
      suffix = QStringLiteral("geojson");
      break;
  }
  filters << QString::fromUtf8("Minden file (*.*)");
  auto dialog = std::make_unique<QFileDialog>(owner, title, QCoreApplication::applicationDirPath());
  // The program's own dialog, so that the tests can fill it in through RunModal.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilters(filters);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);  // in an existing folder; asks before replacing
  dialog->setDefaultSuffix(suffix);
  return dialog;
}

ShowOptPathDialog::ShowOptPathDialog(ShowOptPath& state, QWidget* parent)
    : QDialog(parent), state_(state), previousOwner_(state.owner()) {
  setWindowTitle(QString::fromUtf8("Optimális út"));
  state_.SetOwner(OwnerHandle(this));
  Build();
  lines_->setFocus();
}

ShowOptPathDialog::~ShowOptPathDialog() { state_.SetOwner(previousOwner_); }

void ShowOptPathDialog::Build() {
  model_ = new LinesModel(state_, this);
  lines_ = new QTreeView;
  lines_->setObjectName(QStringLiteral("lines"));
  lines_->setModel(model_);
  lines_->setRootIsDecorated(false);
  lines_->setUniformRowHeights(true);
  lines_->setItemsExpandable(false);
  lines_->setAllColumnsShowFocus(true);
  lines_->setSelectionMode(QAbstractItemView::SingleSelection);
  lines_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lines_->header()->setSectionsMovable(false);
  lines_->header()->setStretchLastSection(false);
  lines_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int c = 1; c < kColumns; ++c) lines_->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  lines_->setMinimumSize(480, 260);

  scale_ = new QLineEdit(ToQString(state_.scaleText()));
  scale_->setObjectName(QStringLiteral("scale"));
  scale_->setMaxLength(kScaleLength);
  scale_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ +\\-0-9]*")), scale_));
  auto* range = new QLabel(ToQString(state_.rangeText()));
  range->setObjectName(QStringLiteral("range"));
  auto* scaleLabel = new QLabel(QString::fromUtf8("&Megjelenítési méretarány:"));
  scaleLabel->setBuddy(scale_);

  auto* frame = new QGroupBox;
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scaleLabel);
  scaleRow->addWidget(new QLabel(QStringLiteral("1 :")));
  scaleRow->addWidget(scale_, 1);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(range);
  frameLayout->addLayout(scaleRow);

  copy_ = Button("Má&sol");
  save_ = Button("M&ent...");
  gpx_ = Button("Kivitel &GPX-be...");
  geoJson_ = Button("Kivitel Geo&JSON-ba...");
  auto* exportButtons = new QVBoxLayout;
  for (QPushButton* b : {copy_, save_, gpx_, geoJson_}) {
    b->setAutoDefault(false);
    exportButtons->addWidget(b);
  }
  exportButtons->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help);
  buttons->button(QDialogButtonBox::Help)->setText(QString::fromUtf8("Súgó"));
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);

  // The column headings ("Csomópontok:", "Távolság [km]"...) head the list itself.
  auto* top = new QHBoxLayout;
  top->addWidget(lines_, 1);
  top->addLayout(exportButtons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(new QLabel(QString::fromUtf8("A térkép pozicionálható a település kiválasztásával.")));
  layout->addWidget(
      new QLabel(QString::fromUtf8("Dupla kattintással megjeleníthetők a csatolt információk.")));
  layout->addWidget(frame);
  layout->addWidget(buttons);
  setTabOrder(lines_, copy_);
  setTabOrder(copy_, save_);
  setTabOrder(save_, gpx_);
  setTabOrder(gpx_, geoJson_);
  setTabOrder(geoJson_, scale_);

  // A selection, not the current row: the list takes a current row when it gets the
  // focus, and that is no choice of the user's.
  connect(lines_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList rows = lines_->selectionModel()->selectedRows();
    state_.Select(rows.isEmpty() ? -1 : rows.front().row());
  });
  connect(lines_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) state_.DoubleClick(index.row());
  });
  connect(scale_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.ScaleTyped(FromQString(text)); });
  connect(copy_, &QPushButton::clicked, this, [this] { (void)state_.Copy(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveAs(RouteFileKind::Text); });
  connect(gpx_, &QPushButton::clicked, this, [this] { SaveAs(RouteFileKind::Gpx); });
  connect(geoJson_, &QPushButton::clicked, this, [this] { SaveAs(RouteFileKind::GeoJson); });
  connect(buttons, &QDialogButtonBox::accepted, this, &ShowOptPathDialog::accept);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { state_.ShowHelp(); });
}

void ShowOptPathDialog::SaveAs(RouteFileKind kind) {
  const std::unique_ptr<QFileDialog> dialog = MakeRouteFileDialog(this, kind);
  if (RunModal(*dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return;
  const std::string file = ModelFileName(dialog->selectedFiles().front().toStdString());
  switch (kind) {
    case RouteFileKind::Text: (void)state_.Save(file); break;
    case RouteFileKind::Gpx: (void)state_.Export(RouteFormat::Gpx, file); break;
    case RouteFileKind::GeoJson: (void)state_.Export(RouteFormat::GeoJson, file); break;
  }
}

void ShowOptPathDialog::accept() {
  state_.ScaleTyped(FromQString(scale_->text()));
  if (state_.Accept()) QDialog::accept();
}

void ShowOptPathDialog::reject() {
  state_.Close();
  QDialog::reject();
}

void MapWindowRouteTarget::PositionOnSettlement(std::int32_t scale, MapPoint at) {
  window_.PositionOnMarker(scale, at);
}

void MapWindowRouteTarget::HideMarker() { window_.HideMarker(); }

void ShowRouteList(QWidget* parent, MapWindow& window) {
  MMap* map = window.map();
  if (!map) return;
  RouteListScales scales{map->smallestScale(), map->largestScale(), map->findScale()};
  MapWindowRouteTarget target(window);
  ShowOptPath state(*map, target, scales, LinkedInfoOf(*map, QtChooserRunner(parent)), OwnerHandle(parent));
  if (!state.Open()) return;
  ShowOptPathDialog dialog(state, parent);
  if (RunModal(dialog) != QDialog::Accepted) return;
  map->SetFindScale(std::clamp(scales.positioning, map->smallestScale(), map->largestScale()));
}

}  // namespace koltar
