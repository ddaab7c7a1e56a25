#include "app/linked_info_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/dialog_support.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"

namespace koltar {

GetOLEServerDialog::GetOLEServerDialog(GetOLEServer& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(QString::fromUtf8("Alkalmazás társítás"));
  file_ = new QLabel(this);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  names_ = new TextListModel([this] { return static_cast<int>(state_.count()); },
                             [this](int row) { return state_.name(row); }, this);
  list_ = new QListView(this);
  list_->setModel(names_);
  list_->setUniformItemSizes(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumSize(360, 240);
  auto* listLabel = new QLabel(QString::fromUtf8("&Alkalmazások:"), this);
  listLabel->setBuddy(list_);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QString::fromUtf8("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QString::fromUtf8("Mégsem"), QDialogButtonBox::RejectRole);
  ok_->setDefault(true);

  auto* all = new QVBoxLayout(this);
  all->addWidget(new QLabel(QString::fromUtf8("File:"), this));
  all->addWidget(file_);
  all->addWidget(listLabel);
  all->addWidget(list_, 1);
  all->addWidget(
      new QLabel(QString::fromUtf8("A file megnyitásához válassza ki a megfelelő alkalmazást"), this));
  all->addWidget(buttons);

  // Nothing is selected at first, and OK waits for a choice.
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    state_.Select(rows.isEmpty() ? -1 : rows.front().row());
    Refresh();
  });
  connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (state_.DoubleClick(index.row())) {
      state_.Accept();
      accept();
    }
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (!state_.okEnabled()) return;
    state_.Accept();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  list_->setFocus();
  Refresh();
}

void GetOLEServerDialog::Refresh() {
  file_->setText(ToQString(state_.filePath()));
  ok_->setEnabled(state_.okEnabled());
}

MLinkedInfo::ChooserRunner QtChooserRunner(QWidget* parent) {
  return [parent](GetOLEServer& state) {
    GetOLEServerDialog dialog(state, parent);
    return RunModal(dialog) == QDialog::Accepted;
  };
}

std::optional<std::string> ChooseLinkFile(QWidget* parent) {
  QFileDialog dialog(parent, QString::fromUtf8("Település információs file"));
  dialog.setNameFilters({QString::fromUtf8("Minden file (*)")});
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ModelFileName(std::filesystem::path(dialog.selectedFiles().front().toStdString()));
}

}  // namespace koltar
