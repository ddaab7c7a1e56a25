// "Terület keresése..." on the Gothenburg sample, as a user does it: the dialog is filled
// in with the keyboard and the mouse, and the map window goes to the street found.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>

#include "app/command_window.h"
#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/find_point_dialog.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "app/ui_text.h"
#include "categories/point.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

class FindPlace : public test::ServicesTest {
 protected:
  FindPlace() {
    // A copy: closing the map writes its find scale and symbology back.
    std::filesystem::copy(std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / "gothenburg",
                          dir.path() / "gothenburg");
    Program().settingsFile = dir.Model("koltar.INI");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
    EXPECT_TRUE(commands().OpenMap(dir.Model("gothenburg/gothenburg.map")));
    previous = SetDialogRunner([this](QDialog& d) {
      auto* dialog = dynamic_cast<FindPointDialog*>(&d);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return static_cast<int>(QDialog::Rejected);
      d.show();
      QApplication::processEvents();
      act(*dialog);
      return d.result();
    });
  }
  ~FindPlace() override {
    SetDialogRunner(previous);
    frame.reset();
  }

  template <class Widget>
  static Widget* Child(QDialog& d, const char* name) {
    Widget* w = d.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  static QPushButton* OkButton(QDialog& d) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("OK")) return b;
    return nullptr;
  }
  // Chooses the category as a user does: opens the list and takes the entry.
  static void ChooseCategory(QDialog& d, const char* utf8) {
    QComboBox* box = Child<QComboBox>(d, "categories");
    const int index = box->findText(QString::fromUtf8(utf8));
    ASSERT_GE(index, 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  static void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  CommandWindow& commands() { return *frame->commandWindow(); }

  test::TempDir dir;
  std::unique_ptr<MainFrame> frame;
  DialogRunner previous;
  std::function<void(FindPointDialog&)> act;
};

TEST_F(FindPlace, AStreetByItsNameCentresTheWindowOnItWithTheMarker) {
  MMap& map = *commands().ActiveMap();
  MapWindow& view = *commands().ActiveMapFrame()->mapWindow();
  act = [](FindPointDialog& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Térkép pozicionálás"));
    ChooseCategory(d, "Helységek");
    EXPECT_FALSE(OkButton(d)->isEnabled());
    QTest::keyClicks(Child<QLineEdit>(d, "name"), QStringLiteral("kungsgatan"));  // letter case ignored
    EXPECT_TRUE(OkButton(d)->isEnabled());
    EXPECT_EQ(Child<QListView>(d, "names")->currentIndex().data().toString(), QStringLiteral("Kungsgatan"));
    Retype(Child<QLineEdit>(d, "scale"), QStringLiteral("5000"));
    QTest::mouseClick(OkButton(d), Qt::LeftButton);
  };
  commands().Execute(cmd::kFindPlace);

  const MPoint& towns = *map.points()[static_cast<std::size_t>(map.townCategory())];
  const MapPoint street = towns.GetPosition(towns.FindByName("Kungsgatan"));
  EXPECT_EQ(view.view().scale, 5000);
  EXPECT_EQ(view.view().centre, street);
  EXPECT_EQ(map.findScale(), 5000);
  ASSERT_TRUE(view.markerShown());
  view.RenderNow();
  // The marker's circle stands around the window's middle: drawing it once more (XOR)
  // takes it away there.
  const QImage marked = view.buffer();
  const DevicePoint c = MapToDevice(view.Transform(), street);
  EXPECT_LE(std::abs(c.x - view.viewport()->width() / 2), 1);
  EXPECT_LE(std::abs(c.y - view.viewport()->height() / 2), 1);
  view.HideMarker();
  EXPECT_NE(view.buffer().pixel(c.x + 50, c.y), marked.pixel(c.x + 50, c.y));
  EXPECT_EQ(view.buffer().pixel(c.x + 20, c.y), marked.pixel(c.x + 20, c.y));  // inside: untouched
}

TEST_F(FindPlace, ANameTypedWithoutAccentsIsOfferedAndTaken) {
  MapWindow& view = *commands().ActiveMapFrame()->mapWindow();
  const std::int32_t before = view.view().scale;
  act = [](FindPointDialog& d) {
    ChooseCategory(d, "Helységek");
    QLineEdit* name = Child<QLineEdit>(d, "name");
    QTest::keyClicks(name, QStringLiteral("linnegata"));
    EXPECT_FALSE(OkButton(d)->isEnabled());  // no whole name
    ASSERT_TRUE(d.hintList()->popup()->isVisible());
    ASSERT_EQ(d.hintList()->completionModel()->rowCount(), 1);
    EXPECT_EQ(d.hintList()->completionModel()->index(0, 0).data().toString(),
              QString::fromUtf8("Linnégatan"));
    // Down to the hint and Enter: the name is taken, and a second Enter is OK.
    QTest::keyClick(name, Qt::Key_Down);
    QTest::keyClick(d.hintList()->popup(), Qt::Key_Return);
    EXPECT_EQ(name->text(), QString::fromUtf8("Linnégatan"));
    EXPECT_TRUE(OkButton(d)->isEnabled());
    EXPECT_FALSE(d.hintList()->popup()->isVisible());
    QTest::keyClick(name, Qt::Key_Return);
  };
  commands().Execute(cmd::kFindPlace);
  EXPECT_EQ(view.view().scale, 25000);  // the map's find scale
  EXPECT_NE(view.view().scale, before);
  EXPECT_TRUE(view.markerShown());
}

TEST_F(FindPlace, CancelLeavesTheWindowAsItWas) {
  MapWindow& view = *commands().ActiveMapFrame()->mapWindow();
  const MapView before = view.view();
  act = [](FindPointDialog& d) {
    ChooseCategory(d, "Helységek");
    QTest::keyClicks(Child<QLineEdit>(d, "name"), QStringLiteral("Majorna"));
    EXPECT_TRUE(OkButton(d)->isEnabled());
    QTest::keyClick(&d, Qt::Key_Escape);
  };
  commands().Execute(cmd::kFindPlace);
  EXPECT_EQ(view.view().scale, before.scale);
  EXPECT_EQ(view.view().centre, before.centre);
  EXPECT_FALSE(view.markerShown());
}

}  // namespace
}  // namespace koltar
