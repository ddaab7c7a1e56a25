// The program's entry: the Qt application, the application object and its event loop.

#include <QApplication>

#include "app/koltar_app.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(koltar::ToQString(koltar::kApplicationName));
  koltar::InstallFontSubstitutions();

  koltar::Koltar koltar(koltar::ModelFileName(QCoreApplication::applicationFilePath().toStdString()));
  koltar.Show();
  return QApplication::exec();
}
