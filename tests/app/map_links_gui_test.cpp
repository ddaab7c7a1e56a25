// Linked information and batch planning in the program as a user does them: a file
// attached to a settlement from the name tool's right-click menu, opened with an
// application chosen in "Alkalmazás társítás" and removed again; "Több út egyidejű
// keresése..." loading an end-point file, planning it and saving the route plan.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include "app/batch_dialog.h"
#include "app/command_window.h"
#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/linked_info_dialogs.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "route/opt_path.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

class MapLinksGui : public test::ServicesTest {
 protected:
  MapLinksGui() {
    Program().settingsFile = dir.Model("koltar.INI");
    InstalledServices().launcher = &launcher;
    launcher.applications = {{{"editor.desktop", "Szerkeszto"}, ";.txt;"}, {{"other.desktop", "Masik"}, ""}};
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
  }
  ~MapLinksGui() override {
    SetDialogRunner(nullptr);
    frame.reset();
    InstalledServices().launcher = nullptr;
  }

  // Alma (0,0) - Bukk (1000,0) - Cser (1000,1000) on two roads, each settlement drawn
  // as a symbol 600 m high; the linked information in utak.lnk (not there yet).
  std::string WriteMap(std::string linkedInfo = "utak.lnk") {
    MapWriter w(dir.path());
    w.name = "Utak";
    w.linkedInfo = std::move(linkedInfo);
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
    w.AddBitmap("falu.bmp", BmpPicture{2, 2, {kBlack, kBlack, kBlack, kBlack}});
    w.symbology.AddCategory("Helysegek").AddLayer("Falu").Set("BITMAP", "falu.bmp,600");
    w.symbology.AddCategory("Utak").AddLayer("Ut").Set("LINEWIDTH", "20");
    EXPECT_TRUE(w.Write());
    return w.MapFileName();
  }

  CommandWindow& commands() { return *frame->commandWindow(); }
  MapWindow& view() { return *commands().ActiveMapFrame()->mapWindow(); }

  // Right-clicks the map point with the name tool; returns the menu's entries ("-" before
  // a disabled one) and picks the one named `pick`, if any.
  QStringList RightClick(MapPoint at, const char* pick = nullptr) {
    MapWindow& w = view();
    w.RenderNow();
    QStringList offered;
    w.runMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
      QAction* chosen = nullptr;
      for (QAction* a : menu.actions()) {
        if (a->isSeparator()) continue;
        offered << (a->isEnabled() ? "" : "-") + a->text();
        if (pick && a->text() == QString::fromUtf8(pick) && a->isEnabled()) chosen = a;
      }
      return chosen;
    };
    const DevicePoint d = MapToDevice(w.Transform(), at);
    QTest::mouseClick(w.viewport(), Qt::RightButton, {}, QPoint(d.x, d.y));
    w.runMenu = nullptr;
    return offered;
  }

  test::TempDir dir;
  test::RecordingLauncher launcher;
  std::unique_ptr<MainFrame> frame;
};

const char kAttach[] = "Kiegészítő információk csatolása...";
const char kShow[] = "Kiegészítő információk megjelenítése";
const char kRemove[] = "Kiegészítő információk törlése";

QStringList Items(bool linked) {
  const QString off = linked ? "" : "-";
  return {QString::fromUtf8("Útvonal innen"), QString::fromUtf8("Útvonal ide"),
          QString::fromUtf8("-Köztes pont"),  QString::fromUtf8(kAttach),
          off + QString::fromUtf8(kShow),     off + QString::fromUtf8(kRemove)};
}

TEST_F(MapLinksGui, AttachOpenWithChosenApplicationAndRemove) {
  ASSERT_TRUE(commands().OpenMap(WriteMap()));
  frame->action(cmd::kToolName)->trigger();
  const std::string info = dir.Write("alma leírás; 'x'.txt", "Alma");
  ASSERT_FALSE(std::filesystem::exists(dir.path() / "utak.lnk"));

  // The cursor tool offers no linked information.
  frame->action(cmd::kToolCursor)->trigger();
  EXPECT_EQ(RightClick({0, 0}).size(), 3);
  frame->action(cmd::kToolName)->trigger();
  // Nothing linked yet: only attaching; the file is chosen in the file dialog.
  int dialogs = 0;
  SetDialogRunner([&](QDialog& d) {
    ++dialogs;
    auto* files = dynamic_cast<QFileDialog*>(&d);
    EXPECT_NE(files, nullptr);
    if (!files) return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(files->windowTitle(), QString::fromUtf8("Település információs file"));
    EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
    files->selectFile(QString::fromStdString(LocalFileName(info).string()));
    return static_cast<int>(QDialog::Accepted);
  });
  EXPECT_EQ(RightClick({0, 0}, kAttach), Items(false));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(ReadProfileString("Helysegek", "Alma", "", 260, dir.Model("utak.lnk")), info);
  EXPECT_EQ(RightClick({1000, 0}), Items(false));  // Bukk has none

  // Opening: no default application for the type, so the chooser; the one that opens
  // .txt files stands first.
  SetDialogRunner([&](QDialog& d) {
    ++dialogs;
    auto* chooser = dynamic_cast<GetOLEServerDialog*>(&d);
    EXPECT_NE(chooser, nullptr);
    if (!chooser) return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(chooser->windowTitle(), QString::fromUtf8("Alkalmazás társítás"));
    EXPECT_EQ(chooser->fileLabel()->text().toStdString(), LocalFileName(info).string());
    EXPECT_FALSE(chooser->okButton()->isEnabled());
    chooser->list()->setCurrentIndex(chooser->list()->model()->index(1, 0));
    EXPECT_TRUE(chooser->okButton()->isEnabled());
    chooser->okButton()->click();
    return d.result();
  });
  EXPECT_EQ(RightClick({0, 0}, kShow), Items(true));
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(launcher.launches, std::vector<std::string>{"other.desktop " + info});

  // Removing asks (answered Yes), keeps the key empty and the file.
  SetDialogRunner(nullptr);
  RightClick({0, 0}, kRemove);
  EXPECT_EQ(services.messages.messages().size(), 1u);
  EXPECT_EQ(services.messages.messages()[0].kind, MessageKind::Question);
  EXPECT_NE(dir.Read("utak.lnk").find("Alma=\n"), std::string::npos);
  EXPECT_EQ(dir.Read("alma leírás; 'x'.txt"), "Alma");
  EXPECT_EQ(RightClick({0, 0}), Items(false));
}

TEST_F(MapLinksGui, BatchPlanningLoadsPlansAndSaves) {
  ASSERT_TRUE(commands().OpenMap(WriteMap()));
  EXPECT_TRUE(frame->action(cmd::kBatchRoute)->isEnabled());
  MOptPath& net = *commands().ActiveMap()->roadNetwork();
  ASSERT_TRUE(net.routeState().request().AddRoutePoint(2, "Cser"));
  const std::string source = dir.Write("utak.dat", "[1]\nAlma\nCser\n");
  const std::string target = dir.Model("terv.txt");
  bool ran = false;
  SetDialogRunner([&](QDialog& d) {
    auto* dialog = dynamic_cast<OptPathBatchDialog*>(&d);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return static_cast<int>(QDialog::Rejected);
    ran = true;
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Útvonal keresés (batch üzemmódban)"));
    EXPECT_FALSE(dialog->generateButton()->isEnabled());
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    QTest::keyClicks(dialog->sourceFileField(), QString::fromStdString(LocalFileName(source).string()));
    dialog->loadButton()->click();
    EXPECT_EQ(dialog->sourceTextField()->toPlainText(), "[1]\nAlma\nCser\n");
    EXPECT_TRUE(dialog->generateButton()->isEnabled());
    // Ctrl+Enter starts a new line in the text.
    dialog->sourceTextField()->moveCursor(QTextCursor::End);
    QTest::keyClick(dialog->sourceTextField(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(dialog->sourceTextField()->toPlainText(), "[1]\nAlma\nCser\n\n");
    dialog->generateButton()->click();
    const QString result = dialog->resultTextField()->toPlainText();
    EXPECT_TRUE(result.contains(QString::fromUtf8("» Bukk")) || result.contains(QString::fromUtf8("  Bukk")))
        << result.toStdString();
    EXPECT_TRUE(dialog->saveButton()->isEnabled());
    QTest::keyClicks(dialog->targetFileField(), QString::fromStdString(LocalFileName(target).string()));
    dialog->saveButton()->click();
    EXPECT_TRUE(dialog->doneButton()->isDefault());
    dialog->doneButton()->click();
    return d.result();
  });
  frame->action(cmd::kBatchRoute)->trigger();
  ASSERT_TRUE(ran);
  const std::string saved = dir.Read("terv.txt");
  EXPECT_EQ(saved.substr(0, 9), "Telep\xFCl\xE9s");
  EXPECT_NE(saved.find("[1]\r\n\xBB Alma"), std::string::npos);
  EXPECT_EQ(saved.find("\n\n"), std::string::npos);
  EXPECT_EQ(net.batchSourceFile(), source);
  EXPECT_EQ(net.batchTargetFile(), target);
  // The user's own route points are back; no route is left.
  ASSERT_EQ(net.routeState().request().routePointCount(), 1);
  EXPECT_EQ(net.routeState().request().routePoint(0).node, 2);
  EXPECT_EQ(net.routeState().stepCount(), 0);
  EXPECT_TRUE(services.messages.messages().empty());
}

}  // namespace
}  // namespace koltar
