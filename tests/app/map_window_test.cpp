#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <memory>

#include "app/commands.h"
#include "app/map_window.h"
#include "categories/text.h"
#include "map/mmap.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/qt/qt_progress.h"
#include "platform/text.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

class MapWindowTest : public test::ServicesTest {
 protected:
  // A map 4000 x 3000 map units of 10 m: a wide diagonal road with a name, a nameless
  // one, and one whose name has a line break mark.
  std::string WriteMap(int extraLines = 0) {
    MapWriter w(dir.path());
    TextCategoryWriter& labels = w.AddTexts("Nevek", {"Tajak"});
    labels.Add(1, {1000, 1000}, 0.0f, "Bakony");
    w.symbology.AddCategory("Nevek").AddLayer("Tajak").Set("FONT", "ARIAL CE,0,0,128,1,0,0,1500.0,0");
    w.name = "Teszt";
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Fout"});
    roads.Add(1, {{0, 0}, {4000, 3000}}, Utf8ToCp1250("Fő utca"));  // names are code page 1250
    roads.Add(1, {{0, 3000}, {1000, 2000}}, "");
    roads.Add(1, {{3000, 0}, {4000, 1000}}, "Kossuth|Lajos utca");
    roads.infoFile = "utak.htm";
    for (int i = 0; i < extraLines; ++i) {
      const std::int32_t x = (i < extraLines / 2) ? 100 + i % 1500 : 2500 + i % 1500;
      roads.Add(1, {{x, 100}, {x, 2900}}, "");
    }
    w.symbology.AddCategory("Utak").AddLayer("Fout").Set("LINEWIDTH", "2000").Set("LINECOLOR", "200,0,0");
    EXPECT_TRUE(w.Write());
    return w.MapFileName();
  }

  // A view on the map whose client area is exactly 800 x 600 pixels, drawn.
  MapWindow& Open(const std::string& file) {
    map = std::make_unique<MMap>(file);
    // The frame around the client area (scroll bars, border), measured on a first window,
    // so that the real one gets its 800 x 600 client from the start, as the first size
    // decides the scale.
    QSize frame;
    {
      MapWindow probe(*map, [] { return 0; });
      probe.resize(900, 700);
      probe.show();
      QApplication::processEvents();
      frame = probe.size() - probe.viewport()->size();
      map->RemoveWindow();
    }
    window = std::make_unique<MapWindow>(*map, [this] { return tool; });
    window->resize(QSize(800, 600) + frame);
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->viewport()->size(), QSize(800, 600));
    window->RenderNow();
    return *window;
  }

  void TearDown() override {
    window.reset();
    map.reset();
  }

  MapPoint MapAt(const QPoint& p) const {
    return DeviceToMap(window->Transform(), DevicePoint{p.x(), p.y()});
  }

  test::TempDir dir;
  int tool = cmd::kToolCursor;
  std::unique_ptr<MMap> map;
  std::unique_ptr<MapWindow> window;
};

TEST_F(MapWindowTest, FirstDisplayFitsTheWholeMap) {
  MapWindow& w = Open(WriteMap());
  // FitScale = 1000 * 10 * 4000 / (800 * 0.25) = 200000, shown at 220000.
  EXPECT_EQ(w.view().scale, 220000);
  EXPECT_EQ(w.view().centre, (MapPoint{2000, 1500}));
  EXPECT_EQ(services.status.scale, "1 : 220 000 ");
  // The road is drawn: a pixel on the diagonal is red.
  const DevicePoint mid = MapToDevice(w.Transform(), MapPoint{2000, 1500});
  EXPECT_EQ(w.buffer().pixelColor(mid.x, mid.y), QColor(200, 0, 0));
}

TEST_F(MapWindowTest, EmptyMapOpensCentredOnTheOrigin) {
  MapWriter empty(dir.path(), "empty.map");
  empty.AddLines("Semmi", {"A"});
  ASSERT_TRUE(empty.Write());
  MapWindow& w = Open(empty.MapFileName());
  EXPECT_EQ(w.view().centre, (MapPoint{0, 0}));
}

TEST_F(MapWindowTest, ZoomToolHalvesAndDoublesTheScaleAroundTheClick) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolZoom;
  w.SetScale(50000);
  w.RenderNow();
  const QPoint at(200, 150);
  const MapPoint target = MapAt(at);
  QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(w.view().scale, 25000);
  EXPECT_LE(std::abs(w.view().centre.x - target.x), 1);
  EXPECT_LE(std::abs(w.view().centre.y - target.y), 1);
  EXPECT_FALSE(w.bandShown());
  QTest::mouseClick(w.viewport(), Qt::RightButton, {}, QPoint(400, 300));
  EXPECT_EQ(w.view().scale, 50000);
}

TEST_F(MapWindowTest, AreaDragThatEndsWhereItBeganChangesNothing) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolArea;
  const QImage before = w.buffer();
  const MapView view = w.view();
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_EQ(w.view().scale, view.scale);
  EXPECT_EQ(w.view().centre, view.centre);
  EXPECT_EQ(w.buffer(), before);  // the band was erased
}

TEST_F(MapWindowTest, AreaSelectionFillsTheWindowWithTheBand) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolArea;
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), w.viewport()->mapToGlobal(QPointF(300, 200)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.viewport(), &move);
  EXPECT_TRUE(w.bandShown());
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, QPoint(300, 200));
  // A band of a quarter of the width: a quarter of the scale.
  EXPECT_EQ(w.view().scale, 55000);
}

TEST_F(MapWindowTest, PositionFieldShowsGroundCoordinatesInsideTheExtent) {
  MapWindow& w = Open(WriteMap());
  QTest::mouseMove(w.viewport(), QPoint(400, 300));
  QMouseEvent inside(QEvent::MouseMove, QPointF(400, 300), w.viewport()->mapToGlobal(QPointF(400, 300)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w.viewport(), &inside);
  // Map (2000, 1500) times UNIT 10, origin 0.
  EXPECT_EQ(services.status.position, "X: 20 000    Y: 15 000 ");
  QMouseEvent outside(QEvent::MouseMove, QPointF(5, 5), w.viewport()->mapToGlobal(QPointF(5, 5)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w.viewport(), &outside);
  EXPECT_EQ(services.status.position, "");
}

TEST_F(MapWindowTest, NameBoxShowsTheNameOrTheCategory) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolName;
  const auto deviceOf = [&](MapPoint p) {
    const DevicePoint d = MapToDevice(w.Transform(), p);
    return QPoint(d.x, d.y);
  };
  const QImage before = w.buffer();
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, deviceOf({2000, 1500}));
  EXPECT_EQ(w.nameBoxText(), Utf8ToCp1250("Fő utca"));
  ASSERT_NE(w.nameBoxRect(), nullptr);
  const int oneLine = w.nameBoxRect()->height();
  // The box stands above the cursor and is yellow.
  EXPECT_LE(w.nameBoxRect()->bottom(), deviceOf({2000, 1500}).y());
  EXPECT_EQ(w.buffer().pixelColor(w.nameBoxRect()->left() + 2, w.nameBoxRect()->top() + 1),
            QColor(255, 255, 0));
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, deviceOf({2000, 1500}));
  EXPECT_EQ(w.nameBoxRect(), nullptr);
  EXPECT_EQ(w.buffer(), before);  // what lay under the box is back

  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, deviceOf({500, 2500}));
  EXPECT_EQ(w.nameBoxText(), Utf8ToCp1250("Utak: Nincs név tárolva."));
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, deviceOf({500, 2500}));

  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, deviceOf({3500, 500}));
  ASSERT_NE(w.nameBoxRect(), nullptr);
  EXPECT_GT(w.nameBoxRect()->height(), oneLine + oneLine / 2);  // two lines
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, deviceOf({3500, 500}));
}

TEST_F(MapWindowTest, DoubleClickWithTheNameToolOpensTheObjectsInformation) {
  struct Recorder final : HelpService {
    void ShowIndex(const std::string&) override {}
    void ShowContext(const std::string&, int) override {}
    void ShowKeyword(const std::string& f, const std::string& k) override { calls.push_back(f + " " + k); }
    void Quit() override {}
    std::vector<std::string> calls;
  } help;
  InstalledServices().help = &help;
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolName;
  const auto deviceOf = [&](MapPoint p) {
    const DevicePoint d = MapToDevice(w.Transform(), p);
    return QPoint(d.x, d.y);
  };
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, deviceOf({2000, 1500}));
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, deviceOf({500, 2500}));   // no name: no topic
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, deviceOf({3000, 2800}));  // nothing there
  EXPECT_EQ(help.calls, (std::vector<std::string>{dir.Model("utak.htm") + " " + Utf8ToCp1250("Fő utca")}));
  InstalledServices().help = nullptr;
}

TEST_F(MapWindowTest, ScrollBarsMoveTheCentreByLinesAndPages) {
  MapWindow& w = Open(WriteMap());
  const std::int32_t step = DeviceLengthToMap(w.Transform(), 800);  // one client width
  const std::int32_t x = w.view().centre.x;
  w.ScrollAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(w.view().centre.x, x + static_cast<std::int32_t>(std::round(step * 0.1)));
  w.ScrollAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(w.view().centre.x, x);
  const std::int32_t y = w.view().centre.y;
  const std::int32_t vstep = DeviceLengthToMap(w.Transform(), 600);
  w.ScrollAction(Qt::Vertical, QAbstractSlider::SliderPageStepAdd);  // page down: south
  EXPECT_EQ(w.view().centre.y, std::max(0, y - vstep));
  w.ScrollAction(Qt::Horizontal, QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(w.view().centre.x, 4000);
  EXPECT_EQ(w.horizontalScrollBar()->value(), 1000);
}

TEST_F(MapWindowTest, ThumbDragWaitsForTheRelease) {
  MapWindow& w = Open(WriteMap());
  QScrollBar* bar = w.horizontalScrollBar();
  const MapPoint before = w.view().centre;
  bar->setSliderDown(true);
  bar->setSliderPosition(250);  // dragging
  EXPECT_EQ(w.view().centre, before);
  bar->setSliderDown(false);           // released
  EXPECT_EQ(w.view().centre.x, 1000);  // 4000 / 1000 * 250
}

TEST_F(MapWindowTest, ScrollingDrawsOnlyTheUncoveredStrip) {
  MapWindow& w = Open(WriteMap());
  const QImage before = w.buffer();
  w.ScrollAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd);
  const std::int32_t pixels = 80;  // a tenth of the width
  // What was at x + 80 is now at x.
  for (int y = 0; y < 600; y += 37) EXPECT_EQ(w.buffer().pixel(100, y), before.pixel(100 + pixels, y)) << y;
}

TEST_F(MapWindowTest, MarkerComesAndGoesWithoutTrace) {
  MapWindow& w = Open(WriteMap());
  const QImage before = w.buffer();
  w.ShowMarker(MapPoint{2000, 1500});
  EXPECT_NE(w.buffer(), before);
  const DevicePoint c = MapToDevice(w.Transform(), MapPoint{2000, 1500});
  EXPECT_NE(w.buffer().pixel(c.x + 50, c.y), before.pixel(c.x + 50, c.y));  // on the circle
  w.HideMarker();
  EXPECT_EQ(w.buffer(), before);
  // A redraw keeps a shown marker.
  w.ShowMarker(MapPoint{2000, 1500});
  const QImage marked = w.buffer();
  w.Redraw();
  w.RenderNow();
  EXPECT_EQ(w.buffer(), marked);
}

TEST_F(MapWindowTest, WheelZoomKeepsThePointUnderTheMouse) {
  MapWindow& w = Open(WriteMap());
  w.SetScale(100000);
  w.RenderNow();
  const QPoint at(600, 200);
  const MapPoint under = MapAt(at);
  QWheelEvent wheel(QPointF(at), w.viewport()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w.viewport(), &wheel);
  EXPECT_EQ(w.view().scale, 50000);
  const MapPoint now = MapAt(at);
  EXPECT_LE(std::abs(now.x - under.x), 2);
  EXPECT_LE(std::abs(now.y - under.y), 2);
}

TEST_F(MapWindowTest, LabelDraggedWithTheMouseMovesAndIsSaved) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolLabel;
  MText& labels = *map->text(0);
  const MapRect r = labels.GetLabelRect(0);
  const DevicePoint inside =
      MapToDevice(w.Transform(), MapPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  const QImage before = w.buffer();
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, QPoint(inside.x, inside.y));
  ASSERT_TRUE(w.labelDragged());
  EXPECT_NE(w.buffer(), before);  // the outline is shown
  QMouseEvent move(QEvent::MouseMove, QPointF(inside.x + 40, inside.y - 20),
                   w.viewport()->mapToGlobal(QPointF(inside.x + 40, inside.y - 20)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.viewport(), &move);
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, QPoint(inside.x + 40, inside.y - 20));
  EXPECT_FALSE(w.labelDragged());
  const MapPoint moved = labels.GetLabelPosition(0);
  const std::int32_t dx = DeviceLengthToMap(w.Transform(), 40);
  EXPECT_NEAR(moved.x, 1000 + dx, 1);
  EXPECT_NEAR(moved.y, 1000 + dx / 2, 1);
  EXPECT_TRUE(labels.changed());
  // Drawn again at the new place: the label's pixels have moved.
  w.RenderNow();
  EXPECT_NE(w.buffer(), before);

  ASSERT_TRUE(map->SaveLabelPositions());
  EXPECT_FALSE(labels.changed());
  MMap reloaded(map->fileName());
  EXPECT_EQ(reloaded.text(0)->GetLabelPosition(0), moved);
}

TEST_F(MapWindowTest, AClickBesideEveryLabelDragsNothing) {
  MapWindow& w = Open(WriteMap());
  tool = cmd::kToolLabel;
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, QPoint(790, 10));
  EXPECT_FALSE(w.labelDragged());
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, QPoint(790, 10));
  EXPECT_FALSE(map->text(0)->changed());
}

TEST_F(MapWindowTest, EscapeStopsASlowDrawingAndClicksMeanwhileAreLost) {
  const std::string file = WriteMap(40000);
  QMainWindow frame;
  QtProgress progress(frame.statusBar(), {});
  InstalledServices().progress = &progress;
  MapWindow& w = Open(file);
  tool = cmd::kToolPosition;
  const MapPoint centre = w.view().centre;
  w.Redraw();
  // An ESC and a click wait in the queue while the drawing starts.
  QCoreApplication::postEvent(w.viewport(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  QCoreApplication::postEvent(w.viewport(), new QMouseEvent(QEvent::MouseButtonPress, QPointF(10, 10),
                                                            w.viewport()->mapToGlobal(QPointF(10, 10)),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  w.RenderNow();
  QApplication::processEvents();
  EXPECT_EQ(w.view().centre, centre);  // the click did not reposition the map
  // The lines of the right half come last in the file: they were not drawn.
  int red = 0;
  for (int x = 560; x < 790; ++x) red += w.buffer().pixelColor(x, 300) == QColor(200, 0, 0) ? 1 : 0;
  EXPECT_LT(red, 100);
  InstalledServices().progress = &services.progress;
}

// A wheel turn during a slow drawing stops it and zooms at once; what is shown then is
// the whole picture of the new view, as a drawing of its own gives it.
TEST_F(MapWindowTest, AWheelTurnStopsASlowDrawingAndZoomsAtOnce) {
  const std::string file = WriteMap(40000);
  QMainWindow frame;
  QtProgress progress(frame.statusBar(), {});
  InstalledServices().progress = &progress;
  MapWindow& w = Open(file);
  const std::int32_t scale = w.view().scale;
  w.Redraw();
  // As the window system gives it: to the top-level window, which hands it on.
  const QPointF at(600, 300);
  QCoreApplication::postEvent(
      w.windowHandle(),
      new QWheelEvent(w.viewport()->mapTo(&w, at), w.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
  w.RenderNow();
  EXPECT_TRUE(progress.superseded());
  for (int i = 0; i < 5; ++i) QApplication::processEvents();  // the wheel, then the drawing
  EXPECT_LT(w.view().scale, scale);
  const QImage shown = w.buffer();
  w.Redraw();
  w.RenderNow();
  EXPECT_FALSE(progress.superseded());
  EXPECT_EQ(shown, w.buffer());
  InstalledServices().progress = &services.progress;
}

// Superseding input that ends with the view as it was (a step left, then right) still
// gets the stopped drawing done, and the keys arrive in their order.
TEST_F(MapWindowTest, ScrollKeysThatChangeNothingLeaveNoHalfDrawnMap) {
  const std::string file = WriteMap(40000);
  QMainWindow frame;
  QtProgress progress(frame.statusBar(), {});
  InstalledServices().progress = &progress;
  MapWindow& w = Open(file);
  const QImage whole = w.buffer();
  const MapPoint centre = w.view().centre;
  w.Redraw();
  QCoreApplication::postEvent(w.viewport(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier));
  QCoreApplication::postEvent(w.viewport(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
  w.RenderNow();
  EXPECT_TRUE(progress.superseded());
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  EXPECT_EQ(w.view().centre, centre);
  EXPECT_EQ(w.buffer(), whole);
  InstalledServices().progress = &services.progress;
}

}  // namespace
}  // namespace koltar
