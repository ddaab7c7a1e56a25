// Test entry of the Qt layer: a QApplication (on the offscreen platform under CTest) so
// that fonts and painting work, with the font substitutions the program installs.

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/qt_device_context.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  koltar::InstallFontSubstitutions();
  return RUN_ALL_TESTS();
}
