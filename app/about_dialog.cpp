#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialog_support.h"
#include "resources/resources.h"

namespace koltar {

QDialog* MakeAboutDialog(QWidget* owner) {
  auto* dialog = new QDialog(owner);
  dialog->setWindowTitle(QString::fromUtf8("Névjegy"));
  dialog->setModal(true);
  auto* icon = new QLabel;
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  auto* text =
      new QLabel(QString::fromUtf8("<b>KOLTAR-DEKA</b><br>"
                                   "Verzió " KOLTAR_VERSION "<br><br>"
                                   "Közúti térképnézegető és útvonaltervező<br>"
                                   "Térképek: a program saját formátumában, nyílt adatokból<br>"
                                   "(OpenStreetMap közreműködők, GeoNames)<br><br>"
                                   "Készítette: a Koltar fejlesztői"));
  text->setObjectName(QStringLiteral("aboutText"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(row);
  layout->addWidget(buttons);
  return dialog;
}

void ShowAboutDialog(QWidget* owner) {
  QDialog* dialog = MakeAboutDialog(owner);
  RunModal(*dialog);
  delete dialog;
}

}  // namespace koltar
