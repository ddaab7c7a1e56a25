#include "app/dialog_support.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

DialogRunner& Runner() {
  static DialogRunner runner;
  return runner;
}

}  // namespace

TextListModel::TextListModel(Count count, Text text, QObject* parent)
    : QAbstractListModel(parent), count_(std::move(count)), text_(std::move(text)) {}

int TextListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_(); }

QVariant TextListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= count_()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQString(text_(index.row()));
  return {};
}

void TextListModel::Reset() {
  beginResetModel();
  endResetModel();
}

QDialogButtonBox* MakeDialogButtons(QWidget* parent, bool withHelp) {
  auto* buttons = new QDialogButtonBox(parent);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QString::fromUtf8("Mégsem"), QDialogButtonBox::RejectRole);
  if (withHelp) buttons->addButton(QString::fromUtf8("Súgó"), QDialogButtonBox::HelpRole);
  return buttons;
}

int RunModal(QDialog& dialog) {
  if (Runner()) return Runner()(dialog);
  const int result = dialog.exec();
  // The keyboard goes back to the window the dialog was opened from, also where no
  // window manager gives it back (the dialog's owner may itself be a dialog).
  if (QWidget* owner = dialog.parentWidget()) owner->window()->activateWindow();
  return result;
}

DialogRunner SetDialogRunner(DialogRunner runner) {
  DialogRunner previous = std::move(Runner());
  Runner() = std::move(runner);
  return previous;
}

}  // namespace koltar
