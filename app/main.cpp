// The program's entry: the Qt application, the platform services and the main window.

#include <QApplication>
#include <QMainWindow>

#include "platform/messages.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"
#include "platform/services.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString name = koltar::ToQString(koltar::kApplicationName);
  QApplication::setApplicationName(name);

  koltar::QtMessageService messages;
  koltar::InstalledServices().messages = &messages;

  QMainWindow frame;
  frame.setWindowTitle(name);
  frame.resize(1024, 768);
  frame.showMaximized();
  return QApplication::exec();
}
