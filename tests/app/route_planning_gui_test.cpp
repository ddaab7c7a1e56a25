// Route planning in the program as a user does it: "Optimális út keresése..." from the
// menu, a start and a destination typed in the route request dialog with Enter, the
// route drawn and the view positioned on it; the same route from the map window's
// right-click menu; the cost settings dialog taking a value confirmed with Enter.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <algorithm>

#include "app/command_window.h"
#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "app/route_dialogs.h"
#include "map/mmap.h"
#include "route/opt_path.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

class RoutePlanningGui : public test::ServicesTest {
 protected:
  RoutePlanningGui() {
    Program().settingsFile = dir.Model("koltar.INI");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
  }
  ~RoutePlanningGui() override {
    SetDialogRunner(nullptr);
    frame.reset();
  }

  // Alma (0,0) - Bukk (1000,0) - Cser (1000,1000) on two roads, map units of 10 m, the
  // route drawn in magenta.
  std::string WriteMap() {
    MapWriter w(dir.path());
    w.name = "Utak";
    w.townCategory = "Helysegek";
    w.roadCategory = "Utak";
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Ut"});
    roads.Add(1, {{0, 0}, {1000, 0}}, "");
    roads.Add(1, {{1000, 0}, {1000, 1000}}, "");
    RoadNetworkWriter& net = w.AddRoadNetwork("Halozat", {"Utvonal"});
    net.costs = {{"Ut", 1, 1.0, 50.0, 10.0}};
    net.nodes = {0, 1, 2};
    net.edges = {{0, 1, 0, 10000}, {1, 0, 0, 10000}, {1, 2, 1, 10000}, {2, 1, 1, 10000}};
    PointCategoryWriter& towns = w.AddPoints("Helysegek", {"Falu"});
    towns.Add(1, {0, 0}, "Alma");
    towns.Add(1, {1000, 0}, "Bukk");
    towns.Add(1, {1000, 1000}, "Cser");
    w.symbology.AddCategory("Utak").AddLayer("Ut").Set("LINEWIDTH", "20");
    w.symbology.AddCategory("Halozat")
        .AddLayer("Utvonal")
        .Set("LINECOLOR", "255,0,255")
        .Set("LINEWIDTH", "200");
    EXPECT_TRUE(w.Write());
    return w.MapFileName();
  }

  CommandWindow& commands() { return *frame->commandWindow(); }
  MapWindow& view() { return *commands().ActiveMapFrame()->mapWindow(); }
  bool Enabled(int id) { return frame->action(id)->isEnabled(); }
  int RouteColourPixels(const std::vector<MapPoint>& along) {
    view().RenderNow();
    int count = 0;
    for (const MapPoint& p : along) {
      const DevicePoint d = MapToDevice(view().Transform(), p);
      if (view().buffer().pixelColor(d.x, d.y) == QColor(255, 0, 255)) ++count;
    }
    return count;
  }
  // Right-clicks the map point and picks the menu entry of that text.
  void RightClickMenu(MapPoint at, const char* entry) {
    MapWindow& w = view();
    QStringList offered;
    w.runMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
      for (QAction* a : menu.actions()) {
        offered << a->text();
        if (a->text() == QString::fromUtf8(entry) && a->isEnabled()) return a;
      }
      return nullptr;
    };
    const DevicePoint d = MapToDevice(w.Transform(), at);
    QTest::mouseClick(w.viewport(), Qt::RightButton, {}, QPoint(d.x, d.y));
    w.runMenu = nullptr;
    EXPECT_TRUE(offered.contains(QString::fromUtf8(entry))) << entry;
  }

  const std::vector<MapPoint> along_{{300, 0}, {700, 0}, {1000, 300}, {1000, 700}};
  test::TempDir dir;
  std::unique_ptr<MainFrame> frame;
};

TEST_F(RoutePlanningGui, TypedStartAndDestinationGiveTheRouteDrawnAndPositioned) {
  ASSERT_TRUE(commands().OpenMap(WriteMap()));
  EXPECT_TRUE(Enabled(cmd::kFindRoute));
  EXPECT_TRUE(Enabled(cmd::kRouteParameters));
  EXPECT_FALSE(Enabled(cmd::kDeleteRoute));
  EXPECT_FALSE(Enabled(cmd::kPositionRoute));
  EXPECT_EQ(RouteColourPixels(along_), 0);

  bool ran = false;
  SetDialogRunner([&](QDialog& d) {
    auto* dialog = dynamic_cast<SelectTargetNodeDialog*>(&d);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return static_cast<int>(QDialog::Rejected);
    ran = true;
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Útvonal választás"));
    d.show();
    d.activateWindow();
    QApplication::processEvents();
    // The settlement field has the focus: a name, Enter, a name, Enter, Enter.
    EXPECT_EQ(QApplication::focusWidget(), dialog->settlementField());
    QWidget* field = dialog->settlementField();
    QTest::keyClicks(field, "alma");
    EXPECT_TRUE(dialog->button(SelectTargetNode::Button::Add)->isDefault());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(dialog->routeList()->model()->rowCount(), 1);
    EXPECT_TRUE(dialog->settlementField()->text().isEmpty());
    QTest::keyClicks(field, "Cser");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(dialog->button(SelectTargetNode::Button::Ok)->isDefault());
    QTest::keyClick(field, Qt::Key_Return);
    return d.result();
  });
  frame->action(cmd::kFindRoute)->trigger();
  ASSERT_TRUE(ran);

  MOptPath& net = *commands().ActiveMap()->roadNetwork();
  ASSERT_EQ(net.routeState().stepCount(), 2);
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_TRUE(Enabled(cmd::kDeleteRoute));
  EXPECT_TRUE(Enabled(cmd::kPositionRoute));
  // Positioned on the route (its middle), and drawn along it.
  EXPECT_EQ(view().view().centre, (MapPoint{500, 500}));
  EXPECT_EQ(RouteColourPixels(along_), 4);

  frame->action(cmd::kDeleteRoute)->trigger();
  EXPECT_FALSE(Enabled(cmd::kDeleteRoute));
  EXPECT_FALSE(Enabled(cmd::kPositionRoute));
  EXPECT_EQ(RouteColourPixels(along_), 0);
}

TEST_F(RoutePlanningGui, RightClickStartAndDestinationGiveTheDialogsRoute) {
  ASSERT_TRUE(commands().OpenMap(WriteMap()));
  MOptPath& net = *commands().ActiveMap()->roadNetwork();
  // The dialog's route first.
  SetDialogRunner([](QDialog& d) {
    auto& dialog = dynamic_cast<SelectTargetNodeDialog&>(d);
    for (const char* name : {"Alma", "Cser"}) {
      dialog.state().TypeSettlement(name);
      dialog.state().Add();
    }
    return dialog.state().Accept() ? static_cast<int>(QDialog::Accepted)
                                   : static_cast<int>(QDialog::Rejected);
  });
  frame->action(cmd::kFindRoute)->trigger();
  const std::vector<RouteStep> fromDialog = net.routeState().steps();
  ASSERT_EQ(fromDialog.size(), 2u);
  frame->action(cmd::kDeleteRoute)->trigger();
  net.routeState().request().ClearRoutePoints();

  // Near Alma and near Cser, with the plain cursor tool.
  EXPECT_EQ(commands().currentTool(), cmd::kToolCursor);
  RightClickMenu({10, 10}, "Útvonal innen");
  EXPECT_EQ(net.routeState().stepCount(), 0);
  EXPECT_FALSE(frame->statusBar()->currentMessage().isEmpty());
  RightClickMenu({990, 1005}, "Útvonal ide");
  ASSERT_EQ(net.routeState().stepCount(), 2);
  for (std::size_t i = 0; i < fromDialog.size(); ++i) {
    EXPECT_EQ(net.routeState().steps()[i].edge, fromDialog[i].edge);
    EXPECT_EQ(net.routeState().steps()[i].distance, fromDialog[i].distance);
  }
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_TRUE(Enabled(cmd::kPositionRoute));
  EXPECT_EQ(RouteColourPixels(along_), 4);
  // The next dialog opens with the points chosen on the map.
  const PointSettlements towns = commands().ActiveMap()->Settlements();
  SelectTargetNode reopened(net, towns);
  ASSERT_EQ(reopened.routeEntries().size(), 2u);
  EXPECT_EQ(reopened.routeEntries()[1].text, "Cser");
}

// A speed typed and confirmed with Enter while its field has the focus is taken.
TEST_F(RoutePlanningGui, CostDialogTakesAValueConfirmedWithEnter) {
  ASSERT_TRUE(commands().OpenMap(WriteMap()));
  MOptPath& net = *commands().ActiveMap()->roadNetwork();
  SetDialogRunner([](QDialog& d) {
    auto& dialog = dynamic_cast<SetCostDialog&>(d);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Költségek beállítása"));
    d.show();
    QApplication::processEvents();
    dialog.list()->setCurrentIndex(dialog.list()->model()->index(0, 0));
    EXPECT_EQ(dialog.speedField()->text(), QStringLiteral("50.00"));
    dialog.speedField()->setFocus();
    dialog.speedField()->selectAll();
    QTest::keyClicks(dialog.speedField(), "80");
    QTest::keyClick(dialog.speedField(), Qt::Key_Return);
    return d.result();
  });
  frame->action(cmd::kRouteParameters)->trigger();
  EXPECT_FLOAT_EQ(net.costTable().roadType(0).speed, 80);
}

}  // namespace
}  // namespace koltar
