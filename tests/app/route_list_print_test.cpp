// The route list, printing and the print preview in the program as a user meets them:
// "Optimális út megjelenítése..." stepping through the route with the map following,
// copying and saving; the printed page drawn into a picture; printing into a PDF file
// with no printer installed; the preview's place and its page redrawn at each size.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <QTreeView>

#include "app/command_window.h"
#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/main_frame.h"
#include "app/map_print.h"
#include "app/map_window.h"
#include "app/route_list_dialog.h"
#include "app/ui_text.h"
#include "map/mmap.h"
#include "map/route_plan_page.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_device_context.h"
#include "tests/map/route_maps.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

QColor Colour(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

bool Inside(const DeviceRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(RoutePlanPicture, MapInsideItsAreaNothingOutsideTheFrame) {
  test::ScopedTestServices services;
  test::TempDir dir;
  std::unique_ptr<MMap> map = test::WriteVillages(dir.path());
  ASSERT_TRUE(test::PlanThrough(*map, {"Alma", Cp("Őr")}));
  QtDeviceContext dc(794, 1123, 96);
  const RoutePlanLayout page = LayOutRoutePlanPage(dc, 794, 1123);
  DrawRoutePlanPage(*map, dc, MapRect{-100, 1100, 1100, -100}, 25000, 794, 1123);
  const QImage& image = *dc.image();
  // The frame's pen is 3 pixels wide about its outline.
  const DeviceRect outer{page.frame.left - 2, page.frame.top - 2, page.frame.right + 2,
                         page.frame.bottom + 2};
  int route = 0, land = 0, strayRoute = 0, strayLand = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const bool inMap = Inside(page.mapArea, x, y);
      if (c == Colour(test::kRouteColor)) ++(inMap ? route : strayRoute);
      if (c == Colour(test::kLandColor)) ++(inMap ? land : strayLand);
      if (!Inside(outer, x, y) && c != QColor(Qt::white)) ++outside;
    }
  }
  EXPECT_GT(route, 100);
  EXPECT_GT(land, 10000);
  EXPECT_EQ(strayRoute, 0);
  EXPECT_EQ(strayLand, 0);
  EXPECT_EQ(outside, 0);
  // The table's text is drawn in the route column, the outlines in black.
  int ink = 0;
  for (int y = page.column.top + 1; y < page.column.top + 5 * page.lineHeight; ++y)
    for (int x = page.column.left + 1; x < page.column.right - 1; ++x)
      if (image.pixelColor(x, y) == QColor(Qt::black)) ++ink;
  EXPECT_GT(ink, 50);
  EXPECT_EQ(image.pixelColor(page.mapArea.left, (page.mapArea.top + page.mapArea.bottom) / 2),
            QColor(Qt::black));
}

class RouteListPrintGui : public test::ServicesTest {
 protected:
  RouteListPrintGui() {
    Program().settingsFile = dir.Model("koltar.INI");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
    test::WriteVillages(dir.path()).reset();
  }
  ~RouteListPrintGui() override {
    SetDialogRunner(nullptr);
    frame.reset();
  }
  // The villages' map with the route from Alma to Őr planned and positioned on.
  void OpenWithRoute() {
    ASSERT_TRUE(commands().OpenMap(dir.Model("falvak.map")));
    ASSERT_TRUE(test::PlanThrough(*commands().ActiveMap(), {"Alma", Cp("Őr")}));
    commands().PositionOnRoute();
    commands().UpdateCommands();
  }
  CommandWindow& commands() { return *frame->commandWindow(); }
  MapWindow& view() { return *commands().ActiveMapFrame()->mapWindow(); }

  test::TempDir dir;
  std::unique_ptr<MainFrame> frame;
};

TEST_F(RouteListPrintGui, StepThroughTheListCopyAndSave) {
  EXPECT_FALSE(frame->action(cmd::kShowRoute)->isEnabled());
  OpenWithRoute();
  ASSERT_TRUE(frame->action(cmd::kShowRoute)->isEnabled());
  MMap& map = *commands().ActiveMap();
  QtClipboard clipboard;
  InstalledServices().clipboard = &clipboard;
  const std::string saved = dir.Model("ut.txt");
  bool listed = false;
  SetDialogRunner([&](QDialog& d) -> int {
    if (auto* files = dynamic_cast<QFileDialog*>(&d)) {
      EXPECT_EQ(files->windowTitle(), QString::fromUtf8("Optimális út kivitele"));
      EXPECT_EQ(files->nameFilters(), (QStringList{QString::fromUtf8("Szöveg file-ok (*.txt)"),
                                                   QString::fromUtf8("Minden file (*.*)")}));
      EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
      files->selectFile(QString::fromStdString(saved));
      return QDialog::Accepted;
    }
    auto* dialog = dynamic_cast<ShowOptPathDialog*>(&d);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return QDialog::Rejected;
    listed = true;
    d.show();
    QApplication::processEvents();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Optimális út"));
    QTreeView* lines = dialog->lines();
    EXPECT_EQ(QApplication::focusWidget(), lines);
    EXPECT_EQ(lines->model()->rowCount(), 3);
    EXPECT_EQ(lines->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Távolság\n[km]"));
    EXPECT_EQ(lines->model()->index(2, 0).data().toString(), QString::fromUtf8("» Őr"));
    EXPECT_EQ(lines->model()->index(2, 2).data().toString(), QStringLiteral("00:02"));
    // The arrow keys step through the route and the map follows, with the marker.
    const MapPoint routeView = view().view().centre;
    QTest::keyClick(lines, Qt::Key_Down);
    EXPECT_EQ(view().view().centre, (MapPoint{1000, 0}));
    QTest::keyClick(lines, Qt::Key_Down);
    EXPECT_EQ(view().view().centre, (MapPoint{1000, 1000}));
    QTest::keyClick(lines, Qt::Key_Home);
    EXPECT_EQ(view().view().centre, (MapPoint{0, 0}));
    EXPECT_NE(routeView, (MapPoint{0, 0}));  // the dialog moved the view, not its opening
    EXPECT_TRUE(view().markerShown());
    EXPECT_EQ(view().view().scale, RoundScale(map.findScale()));
    // Copy, as plain text on the clipboard.
    QTest::mouseClick(dialog->copyButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromUtf8("\tTelepülés\tTávolság\tIdő\tKöltség\r\n»\tAlma\t  0.0\t00:00\t   0.0\r\n"
                                " \tBükk\t  1.0\t00:01\t  10.0\r\n»\tŐr\t  2.0\t00:02\t  20.0\r\n"));
    QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    // A new positioning scale typed, and OK.
    dialog->scaleField()->setFocus();
    dialog->scaleField()->selectAll();
    QTest::keyClicks(dialog->scaleField(), "30000");
    QTest::keyClick(dialog->scaleField(), Qt::Key_Return);
    return d.result();
  });
  frame->action(cmd::kShowRoute)->trigger();
  InstalledServices().clipboard = &services.clipboard;
  ASSERT_TRUE(listed);
  EXPECT_EQ(map.findScale(), 30000);
  EXPECT_FALSE(view().markerShown());
  EXPECT_EQ(dir.Read("ut.txt"), Cp("\tTelepülés\tTávolság\tIdő\tKöltség\n»\tAlma\t  0.0\t00:00\t   0.0\n"
                                   " \tBükk\t  1.0\t00:01\t  10.0\n»\tŐr\t  2.0\t00:02\t  20.0\n"));
  EXPECT_EQ(services.messages.Transcript(),
            (std::vector<std::string>{"KOLTAR32|INFORMATION|" + Cp("Optimális út kiírva '") + saved +
                                      "' file-ba."}));
}

TEST_F(RouteListPrintGui, EscapeKeepsTheScaleAndDoubleClickSaysThereIsNoLinkedInformation) {
  OpenWithRoute();
  const std::int32_t before = commands().ActiveMap()->findScale();
  SetDialogRunner([&](QDialog& d) -> int {
    auto& dialog = dynamic_cast<ShowOptPathDialog&>(d);
    d.show();
    QApplication::processEvents();
    QTreeView* lines = dialog.lines();
    const QRect row = lines->visualRect(lines->model()->index(1, 0));
    // A double click comes after the press of its first click.
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mousePress(lines->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, row.center());
    dialog.scaleField()->setText(QStringLiteral("70000"));
    QTest::keyClick(&d, Qt::Key_Escape);
    return d.result();
  });
  frame->action(cmd::kShowRoute)->trigger();
  EXPECT_EQ(commands().ActiveMap()->findScale(), before);
  EXPECT_EQ(
      services.messages.Transcript(),
      (std::vector<std::string>{"KOLTAR32|EXCLAMATION|" + Cp("Kapcsolt információ nem jeleníthető meg.")}));
  EXPECT_FALSE(view().markerShown());
}

TEST_F(RouteListPrintGui, PrintsOnePageIntoAPdfFileWithoutAPrinter) {
  OpenWithRoute();
  ASSERT_NE(commands().printer(), nullptr);
  QPrinter& printer = *commands().printer()->printer();
  const QString pdf = QString::fromStdString(dir.Model("terv.pdf"));
  int dialogs = 0;
  SetDialogRunner([&](QDialog& d) -> int {
    ++dialogs;
    if (dialogs == 1) {
      // The page set-up of a PDF printer: A3, landscape.
      auto* setup = dynamic_cast<PdfPageSetupDialog*>(&d);
      EXPECT_NE(setup, nullptr);
      if (!setup) return QDialog::Rejected;
      setup->paperList()->setCurrentIndex(setup->paperList()->findText(QStringLiteral("A3")));
      setup->orientationList()->setCurrentIndex(1);
      setup->accept();
      return d.result();
    }
    auto* print = dynamic_cast<QPrintDialog*>(&d);
    EXPECT_NE(print, nullptr);
    if (!print) return QDialog::Rejected;
    // One page: no range to choose; a file is a choice.
    EXPECT_FALSE(print->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(print->testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_EQ(print->maxPage(), 1);
    if (dialogs == 3) return QDialog::Rejected;  // the second print is cancelled
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return QDialog::Accepted;
  });
  frame->action(cmd::kPrinterSetup)->trigger();
  frame->action(cmd::kPrint)->trigger();
  ASSERT_TRUE(QFile::exists(pdf));
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
  // A3 landscape: 1191 x 842 points.
  const QRegularExpressionMatch box =
      QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
          .match(QString::fromLatin1(bytes));
  ASSERT_TRUE(box.hasMatch());
  EXPECT_NEAR(box.captured(1).toDouble(), 1190.55, 1.0);
  EXPECT_NEAR(box.captured(2).toDouble(), 841.89, 1.0);
  QFile::remove(pdf);
  frame->action(cmd::kPrint)->trigger();
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(dialogs, 3);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(RouteListPrintGui, PreviewSizedByThePageAndRedrawnAtEachSize) {
  OpenWithRoute();
  frame->action(cmd::kPreview)->trigger();
  PreviewFrameWindow* preview = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* p = dynamic_cast<PreviewFrameWindow*>(w)) preview = p;
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->windowTitle(), QString::fromUtf8("Koltar-Deka - Nyomtatási kép"));
  EXPECT_TRUE(preview->isVisible());
  const PreviewFrameGeometry place = PreviewGeometryFor(commands().printer()->PrintableSize(), view());
  const int caption = view().style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &view());
  EXPECT_EQ(preview->size(), QSize(place.width, place.height - caption));
  EXPECT_EQ(preview->pos(), QPoint(place.left, place.top));
  // The page 15 pixels from each side, drawn whole: the route in it at both sizes.
  for (const QSize size : {preview->size(), QSize(640, 900)}) {
    preview->resize(size);
    QApplication::processEvents();
    EXPECT_EQ(preview->client()->geometry(), QRect(15, 15, size.width() - 30, size.height() - 30));
    const QImage page = preview->client()->grab().toImage();
    int route = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (page.pixelColor(x, y) == Colour(test::kRouteColor)) ++route;
    EXPECT_GT(route, 20) << size.width();
  }
  // It goes with its map window.
  const QPointer<PreviewFrameWindow> alive(preview);
  commands().CloseAllMaps();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

}  // namespace
}  // namespace koltar
