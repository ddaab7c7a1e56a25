// Test entry of the Qt tests: one QApplication for all of them (offscreen platform), with
// the font substitutions the program installs.

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/qt_device_context.h"

namespace {

// The offscreen platform complains about window features it does not have; that noise
// hides the test output.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("propagateSizeHints"))) return;
  qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietHandler);
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  koltar::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
