#pragma once
// The about box: program name, version, icon, publisher and authors.

#include <QDialog>

namespace koltar {

// Builds the dialog (modal, title "Névjegy", an OK button).
QDialog* MakeAboutDialog(QWidget* owner);
void ShowAboutDialog(QWidget* owner);

}  // namespace koltar
