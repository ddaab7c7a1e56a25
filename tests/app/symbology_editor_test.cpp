// Command 1015 and the symbology editor's window on a copy of the Hungary sample: a
// layer hidden with a double click disappears from the map and only its VISIBLE key
// changes in the file; a previewed colour goes away again with Cancel; the range check
// of the scale fields; a map without symbology opens no editor.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>

#include "app/carto_symb_dialog.h"
#include "app/command_window.h"
#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "app/style_pickers.h"
#include "app/ui_text.h"
#include "map/mmap.h"
#include "platform/qt/qt_images.h"
#include "symbology/cartosymb.h"
#include "symbology/style_pickers.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

constexpr ColorRef kMainRoad = Rgb(202, 147, 44);  // "Főút - távoli", drawn at the whole map's scale

class SymbologyEditorWindow : public test::ServicesTest {
 protected:
  SymbologyEditorWindow() {
    Program().settingsFile = dir.Model("koltar.INI");
    // A copy, since closing the map writes the symbology back.
    std::filesystem::copy(std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / "hungary",
                          dir.path() / "hungary");
    symbologyBefore = dir.Read("hungary/hungary.sym");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
    previousRunner = SetDialogRunner([this](QDialog& d) {
      auto* editor = dynamic_cast<CartoSymbDialog*>(&d);
      EXPECT_NE(editor, nullptr);
      ++runs;
      if (!editor) return static_cast<int>(QDialog::Rejected);
      d.show();
      QApplication::processEvents();
      act(*editor);
      QApplication::processEvents();
      return d.result();
    });
  }
  ~SymbologyEditorWindow() override {
    SetDialogRunner(previousRunner);
    frame.reset();
  }

  bool OpenSample() { return commands().OpenMap(dir.Model("hungary/hungary.map")); }
  CommandWindow& commands() { return *frame->commandWindow(); }
  MapWindow& view() { return *commands().ActiveMapFrame()->mapWindow(); }
  int PixelsOf(ColorRef color) {
    view().RenderNow();
    const QImage& image = view().buffer();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += ToColorRef(image.pixel(x, y)) == color;
    return n;
  }
  template <class Widget>
  static Widget* Find(QDialog& d, int id) {
    Widget* w = d.findChild<Widget*>(QStringLiteral("c%1").arg(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  static void ChooseCategory(QDialog& d, const char* name) {
    auto* categories = Find<QComboBox>(d, 2100);
    categories->setCurrentIndex(categories->findText(QString::fromUtf8(name)));
  }
  static QModelIndex LayerRow(QDialog& d, const char* name) {
    QListView* layers = Find<QListView>(d, 2101);
    for (int row = 0; row < layers->model()->rowCount(); ++row) {
      const QModelIndex index = layers->model()->index(row, 0);
      if (index.data().toString() == QString::fromUtf8(name)) return index;
    }
    ADD_FAILURE() << name;
    return {};
  }
  static void Click(QDialog& d, const char* text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
      if (b->text() == QString::fromUtf8(text)) {
        QTest::mouseClick(b, Qt::LeftButton);
        return;
      }
    ADD_FAILURE() << text;
  }

  test::TempDir dir;
  std::string symbologyBefore;
  std::unique_ptr<MainFrame> frame;
  DialogRunner previousRunner;
  std::function<void(CartoSymbDialog&)> act = [](CartoSymbDialog&) {};
  int runs = 0;
};

TEST_F(SymbologyEditorWindow, AHiddenLayerLeavesTheMapAndOnlyItsVisibilityIsWritten) {
  ASSERT_TRUE(OpenSample());
  ASSERT_TRUE(frame->action(cmd::kSymbology)->isEnabled());
  commands().Execute(cmd::kNewWindow);  // a second window of the map
  MapWindow& second = view();
  ASSERT_GT(PixelsOf(kMainRoad), 0);
  act = [](CartoSymbDialog& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Térkép megjelenítése"));
    ChooseCategory(d, "Főbb utak");
    QListView* layers = Find<QListView>(d, 2101);
    const QModelIndex row = LayerRow(d, "Főút - távoli");
    const QPoint at = layers->visualRect(row).center();
    QTest::mousePress(layers->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(layers->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(layers->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(layers->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(layers->currentIndex(), row);
    // Space switches the selected layer from the keyboard: on, and off again.
    QTest::keyClick(layers, Qt::Key_Space);
    QTest::keyClick(layers, Qt::Key_Space);
    Click(d, "OK");
  };
  frame->action(cmd::kSymbology)->trigger();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(PixelsOf(kMainRoad), 0);
  // Every window of the map is drawn anew.
  commands().setActiveSubWindow(commands().MapFrames().front());
  ASSERT_NE(&view(), &second);
  EXPECT_EQ(PixelsOf(kMainRoad), 0);
  commands().Execute(cmd::kClose);
  ASSERT_TRUE(commands().maps().empty());

  std::string expected = symbologyBefore;
  const std::size_t section = expected.find(Cp("[Főbb utak:Főút - távoli]\r\nVISIBLE=1"));
  ASSERT_NE(section, std::string::npos);
  expected[expected.find("VISIBLE=1", section) + 8] = '0';
  EXPECT_EQ(dir.Read("hungary/hungary.sym"), expected);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(SymbologyEditorWindow, APreviewShowsTheChangeAndCancelTakesItBack) {
  ASSERT_TRUE(OpenSample());
  const int before = PixelsOf(kMainRoad);
  ASSERT_GT(before, 0);
  const ColorRef blue = SymbologyPalette()[10];
  int previewed = -1;
  act = [&](CartoSymbDialog& d) {
    ChooseCategory(d, "Főbb utak");
    QListView* layers = Find<QListView>(d, 2101);
    QTest::mouseClick(layers->viewport(), Qt::LeftButton, {},
                      layers->visualRect(LayerRow(d, "Főút - távoli")).center());
    auto* lineColor = Find<StyleComboBox>(d, 112);
    ASSERT_TRUE(lineColor->isEnabled());
    lineColor->setCurrentIndex(10);  // what choosing an item in the list does
    emit lineColor->activated(10);
    EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("c112hex"))->text(), QStringLiteral("#0000FF"));
    QTest::qWait(CartoSymbDialog::kPreviewDelay + 200);
    previewed = PixelsOf(blue);
    Click(d, "Mégsem");
  };
  frame->action(cmd::kSymbology)->trigger();
  EXPECT_GT(previewed, before / 2);
  EXPECT_EQ(PixelsOf(blue), 0);
  EXPECT_EQ(PixelsOf(kMainRoad), before);
  commands().Execute(cmd::kClose);
  EXPECT_EQ(dir.Read("hungary/hungary.sym"), symbologyBefore);
}

TEST_F(SymbologyEditorWindow, ScaleFieldsTakeDigitsAndRefuseValuesOutsideTheRange) {
  ASSERT_TRUE(OpenSample());
  act = [&](CartoSymbDialog& d) {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
    ChooseCategory(d, "Megírások");
    auto* max = Find<QLineEdit>(d, 154);
    EXPECT_EQ(max->text(), QStringLiteral("60000"));
    max->setFocus();
    max->selectAll();
    QTest::keyClicks(max, QStringLiteral("6x0-000000"));
    EXPECT_EQ(max->text(), QStringLiteral("60000000"));
    QTest::keyClick(max, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(services.messages.Transcript(),
              std::vector<std::string>{"Koltar-DEKA|EXCLAMATION|Value is not in the range 100 to 50000000."});
    EXPECT_EQ(QApplication::focusWidget(), max);
    Click(d, "OK");  // the value typed is stored regardless
  };
  frame->action(cmd::kSymbology)->trigger();
  EXPECT_EQ(services.messages.messages().size(), 1u) << "leaving the field for OK checks nothing";
  std::int32_t min = 0, maxScale = 0;
  commands().ActiveMap()->symbology().GetLayerDisplayScale(Cp("Megírások"), Cp("Nagyváros - közeli"), min,
                                                           maxScale);
  EXPECT_EQ(maxScale, 60000000);
}

TEST_F(SymbologyEditorWindow, WithoutSymbologyTheCommandOnlySaysSo) {
  dir.Write("utak.dat", "");
  dir.Write("utak.crd", "");
  const std::string map =
      dir.Write("a.map",
                "[MAP]\nNAME=A\nCARTOSYMB=nincs.sym\n[CATEGORIES]\nN=1\nCATEGORY01=LINE,Utak\n"
                "[Utak]\nDATAFILE=utak.dat\nCOORDFILE=utak.crd\nNLAYER=1\nLAYER01=Ut\n");
  ASSERT_TRUE(commands().OpenMap(map));
  services.messages.Clear();
  frame->action(cmd::kSymbology)->trigger();
  EXPECT_EQ(runs, 0);
  ASSERT_EQ(services.messages.Transcript(),
            std::vector<std::string>{Cp("KOLTAR32|STOP|A térképhez nincs érvényes kartográfiai adatbázis.")});
  EXPECT_EQ(services.messages.messages()[0].owner, OwnerHandle(frame.get()));
}

TEST(StylePickerWidget, TheClosedFieldDrawsTheChosenLineStyle) {
  StyleComboBox picker(StylePickerKind::LineStyle);
  picker.resize(160, 24);
  picker.setCurrentIndex(2);  // dotted
  const QImage image = picker.grab().toImage().convertToFormat(QImage::Format_RGB32);
  // The middle row of the field holds runs of three black pixels three apart.
  int bestRow = -1, bestCount = 0;
  for (int y = 0; y < image.height(); ++y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += ToColorRef(image.pixel(x, y)) == kBlack;
    if (n > bestCount) bestCount = n, bestRow = y;
  }
  ASSERT_GE(bestRow, 0);
  std::string row;
  for (int x = 0; x < image.width(); ++x) row += ToColorRef(image.pixel(x, bestRow)) == kBlack ? '#' : '.';
  EXPECT_NE(row.find("###...###...###"), std::string::npos) << row;
  EXPECT_EQ(row.find("####"), std::string::npos) << row;
  picker.setEnabled(false);
  const QImage empty = picker.grab().toImage();
  int black = 0;
  for (int x = 0; x < empty.width(); ++x) black += ToColorRef(empty.pixel(x, bestRow)) == kBlack;
  EXPECT_EQ(black, 0);
}

}  // namespace
}  // namespace koltar
