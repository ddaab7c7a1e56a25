#include <gtest/gtest.h>

#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

TEST(QtMessages, EachKindHasItsIconAndButtons) {
  EXPECT_EQ(LookOf(MessageKind::Stop).icon, QMessageBox::Critical);
  EXPECT_EQ(LookOf(MessageKind::Exclamation).icon, QMessageBox::Warning);
  EXPECT_EQ(LookOf(MessageKind::Information).icon, QMessageBox::Information);
  EXPECT_EQ(LookOf(MessageKind::Plain).icon, QMessageBox::NoIcon);
  EXPECT_EQ(LookOf(MessageKind::Question).buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(LookOf(MessageKind::Exclamation).buttons, QMessageBox::Ok);
  EXPECT_TRUE(LookOf(MessageKind::SystemModal).applicationModal);
  EXPECT_FALSE(LookOf(MessageKind::Stop).applicationModal);
}

TEST(QtText, ModelTextToAndFromQString) {
  // Qt code keeps UTF-8 literals; model text is code page 1250.
  EXPECT_EQ(ToQString("T\xE9rk\xE9p bet\xF6lt\xE9se:"), QString::fromUtf8("Térkép betöltése:"));
  EXPECT_EQ(FromQString(QString::fromUtf8("Győr")), "Gy\xF5r");
  EXPECT_EQ(FromQString(QString::fromUtf8("Malmö 東")), "Malm\xF6 ?");
}

}  // namespace
}  // namespace koltar
