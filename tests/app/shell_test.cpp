#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "app/about_dialog.h"
#include "app/command_window.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "app/status_fields.h"
#include "map/mmap.h"
#include "platform/help.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

class Shell : public test::ServicesTest {
 protected:
  Shell() {
    Program().settingsFile = dir.Model("koltar.INI");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();  // runs the posted start-up command
  }
  ~Shell() override { frame.reset(); }

  std::string WriteMap(const std::string& file, const std::string& name) {
    dir.Write("symb.ini", "[CATEGORIES]\nN=1\nCATEGORY01=Semmi\n");
    // An empty line category, so that loading has nothing to report.
    dir.Write("utak.dat", "");
    dir.Write("utak.crd", "");
    return dir.Write(file,
                     "[MAP]\nNAME=" + name +
                         "\nCARTOSYMB=symb.ini\nFINDSCALE=30000\n[CATEGORIES]\nN=1\nCATEGORY01=LINE,Utak\n"
                         "[Utak]\nDATAFILE=utak.dat\nCOORDFILE=utak.crd\nNLAYER=1\nLAYER01=Főút\n");
  }

  CommandWindow& commands() { return *frame->commandWindow(); }
  bool Enabled(int id) { return frame->action(id)->isEnabled(); }
  int WindowsOf(const MMap* map) {
    int n = 0;
    for (MapFrameWindow* f : commands().MapFrames()) n += f->map() == map;
    return n;
  }

  test::TempDir dir;
  std::unique_ptr<MainFrame> frame;
};

TEST_F(Shell, TitleMenusAndHints) {
  EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("Koltar-DEKA"));
  QStringList titles;
  for (QAction* a : frame->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", QString::fromUtf8("&Nézet"), QString::fromUtf8("Útvonal &tervezés"),
                                 QString::fromUtf8("Megírás &pozícionálás"),
                                 QString::fromUtf8("&Beállítások"), "&Ablak", QString::fromUtf8("&Súgó")}));
  QMenu* file = frame->menuBar()->actions()[0]->menu();
  QStringList items;
  for (QAction* a : file->actions()) items << (a->isSeparator() ? "|" : a->text());
  EXPECT_EQ(items,
            (QStringList{QString::fromUtf8("Térkép &megnyitása"), QString::fromUtf8("Térkép &lezárása"), "|",
                         QString::fromUtf8("Nyomtatási &kép"), QString::fromUtf8("&Nyomtatás..."),
                         QString::fromUtf8("Nyomtató &beállítás..."), "|",
                         QString::fromUtf8("Kilépés a &programból\tAlt+F4")}));
  EXPECT_EQ(frame->action(cmd::kToolArea)->statusTip(),
            QString::fromUtf8("Nagyítás kijelölt terület alapján"));
  EXPECT_TRUE(frame->action(cmd::kAbout)->statusTip().isEmpty());
}

TEST_F(Shell, HintShowsWhileTheMouseIsOverAToolButton) {
  QWidget* button = frame->firstToolBar()->widgetForAction(frame->action(cmd::kOpen));
  ASSERT_NE(button, nullptr);
  QTest::mouseMove(button);
  QStatusTipEvent tip(frame->action(cmd::kOpen)->statusTip());  // what hovering sends
  QApplication::sendEvent(button, &tip);
  EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromUtf8("Új térkép megnyitása"));
}

TEST_F(Shell, ToolBarsHoldTheCommandsInOrder) {
  std::vector<int> seen;
  for (QAction* a : frame->firstToolBar()->actions()) {
    if (a->isSeparator()) {
      seen.push_back(0);
      continue;
    }
    for (int id : FirstToolBar())
      if (id && frame->action(id) == a) seen.push_back(id);
  }
  EXPECT_EQ(seen, FirstToolBar());
  EXPECT_EQ(frame->secondToolBar()->actions().size(), static_cast<qsizetype>(SecondToolBar().size()));
}

TEST_F(Shell, EnablingFollowsTheActiveMapWindow) {
  EXPECT_TRUE(Enabled(cmd::kOpen));
  EXPECT_FALSE(Enabled(cmd::kClose));
  EXPECT_FALSE(Enabled(cmd::kToolZoom));
  EXPECT_FALSE(Enabled(cmd::kFindRoute));
  ASSERT_TRUE(commands().OpenMap(WriteMap("a.map", "Alpha")));
  EXPECT_TRUE(Enabled(cmd::kClose));
  EXPECT_TRUE(Enabled(cmd::kNewWindow));
  EXPECT_TRUE(Enabled(cmd::kToolZoom));
  EXPECT_TRUE(frame->action(cmd::kToolCursor)->isChecked());
  commands().Execute(cmd::kToolZoom);
  EXPECT_TRUE(frame->action(cmd::kToolZoom)->isChecked());
  EXPECT_FALSE(frame->action(cmd::kToolCursor)->isChecked());
  EXPECT_EQ(commands().currentTool(), cmd::kToolZoom);
  // Printing and its preview work on any map window; the route list needs a route.
  EXPECT_TRUE(Enabled(cmd::kPreview));
  EXPECT_TRUE(Enabled(cmd::kPrint));
  EXPECT_FALSE(Enabled(cmd::kShowRoute));
  commands().Execute(cmd::kClose);
  EXPECT_FALSE(Enabled(cmd::kClose));
  EXPECT_FALSE(Enabled(cmd::kToolZoom));
}

TEST_F(Shell, MapWindowShowsTheNameAndFillsTheClientArea) {
  ASSERT_TRUE(commands().OpenMap(WriteMap("a.map", "Balaton")));
  MapFrameWindow* f = commands().ActiveMapFrame();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Balaton"));
  EXPECT_EQ(f->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(f->size(), commands().viewport()->size());
}

TEST_F(Shell, DefaultMapOpensAtStartUp) {
  frame.reset();
  const std::string map = WriteMap("default.map", "Alap");
  dir.Write("koltar.INI", "[MAP]\nDEFAULT=" + map + "\n");
  frame = std::make_unique<MainFrame>();
  frame->show();
  EXPECT_TRUE(frame->commandWindow()->maps().empty());  // posted, not yet run
  QApplication::processEvents();
  ASSERT_EQ(frame->commandWindow()->maps().size(), 1u);
  EXPECT_EQ(frame->commandWindow()->maps()[0]->name(), "Alap");

  // A default that names no existing file is ignored without a message.
  frame.reset();
  dir.Write("koltar.INI", "[MAP]\nDEFAULT=" + dir.Model("nothing.map") + "\n");
  frame = std::make_unique<MainFrame>();
  QApplication::processEvents();
  EXPECT_TRUE(frame->commandWindow()->maps().empty());
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(Shell, MapsOfTheCommandLineOpenInsteadOfTheDefault) {
  frame.reset();
  dir.Write("koltar.INI", "[MAP]\nDEFAULT=" + WriteMap("default.map", "Alap") + "\n");
  const std::string a = WriteMap("a.map", "A");
  const std::string b = WriteMap("b.map", "B");
  frame = std::make_unique<MainFrame>();
  frame->commandWindow()->SetStartMaps({a, dir.Model("missing.map"), b});
  frame->show();
  QApplication::processEvents();
  const auto& maps = frame->commandWindow()->maps();
  ASSERT_EQ(maps.size(), 2u);
  EXPECT_EQ(maps[0]->name(), "A");
  EXPECT_EQ(maps[1]->name(), "B");
  // The missing one is reported by its name; the others open all the same.
  ASSERT_EQ(services.messages.messages().size(), 1u);
  EXPECT_NE(services.messages.messages()[0].text.find("missing.map"), std::string::npos);
}

TEST_F(Shell, WindowsShareAMapAndCloseWithIt) {
  const std::string a = WriteMap("a.map", "A");
  const std::string b = WriteMap("b.map", "B");
  ASSERT_TRUE(commands().OpenMap(a));
  MMap* first = commands().ActiveMap();
  commands().Execute(cmd::kNewWindow);  // a second window on the same map
  EXPECT_EQ(commands().ActiveMap(), first);
  EXPECT_EQ(first->windowCount(), 2);
  ASSERT_TRUE(commands().OpenMap(a));  // the same file again: an independent map
  EXPECT_NE(commands().ActiveMap(), first);
  EXPECT_EQ(commands().maps().size(), 2u);
  ASSERT_TRUE(commands().OpenMap(b));
  EXPECT_EQ(commands().maps().size(), 3u);

  // Closing one of the two windows of the first map keeps the map and its file as it was.
  MapFrameWindow* one = nullptr;
  for (MapFrameWindow* f : commands().MapFrames())
    if (f->map() == first) one = f;
  dir.Write("a.map", dir.Read("a.map") + "; untouched\n");
  one->close();
  EXPECT_EQ(first->windowCount(), 1);
  EXPECT_EQ(WindowsOf(first), 1);
  EXPECT_EQ(commands().maps().size(), 3u);
  EXPECT_NE(dir.Read("a.map").find("; untouched"), std::string::npos);

  // "Térkép lezárása" on the first map's window closes it and leaves the others.
  for (MapFrameWindow* f : commands().MapFrames())
    if (f->map() == first) commands().setActiveSubWindow(f);
  first->SetFindScale(77000);
  commands().Execute(cmd::kClose);
  EXPECT_EQ(commands().maps().size(), 2u);
  EXPECT_EQ(commands().MapFrames().size(), 2u);
  // FINDSCALE is written when the last window has closed.
  EXPECT_NE(dir.Read("a.map").find("FINDSCALE=77000"), std::string::npos);
}

TEST_F(Shell, ClosingTheMainWindowClosesEveryMap) {
  ASSERT_TRUE(commands().OpenMap(WriteMap("a.map", "A")));
  commands().Execute(cmd::kNewWindow);
  ASSERT_TRUE(commands().OpenMap(WriteMap("b.map", "B")));
  commands().maps()[0]->SetFindScale(45000);
  frame->close();
  EXPECT_TRUE(commands().maps().empty());
  EXPECT_NE(dir.Read("a.map").find("FINDSCALE=45000"), std::string::npos);
}

TEST_F(Shell, ActivatingAnotherMapWindowResetsTheTool) {
  ASSERT_TRUE(commands().OpenMap(WriteMap("a.map", "A")));
  MapFrameWindow* a = commands().ActiveMapFrame();
  ASSERT_TRUE(commands().OpenMap(WriteMap("b.map", "B")));
  commands().Execute(cmd::kToolPosition);
  EXPECT_EQ(commands().currentTool(), cmd::kToolPosition);
  commands().setActiveSubWindow(a);
  EXPECT_EQ(commands().currentTool(), cmd::kToolCursor);
  EXPECT_TRUE(frame->action(cmd::kToolCursor)->isChecked());
}

TEST_F(Shell, OpenCommandUsesTheFileDialog) {
  auto dialog = MakeOpenMapDialog(frame.get(), dir.path().c_str());
  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Térkép megnyitása"));
  EXPECT_EQ(dialog->nameFilters(), (QStringList{QString::fromUtf8("Térkép (*.map)"), "Minden file (*.*)"}));
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);

  const std::string map = WriteMap("chosen.map", "Választott");
  commands().chooseMapFile = [&](QWidget*) {
    return QString::fromStdString((dir.path() / "chosen.map").string());
  };
  commands().Execute(cmd::kOpen);
  ASSERT_EQ(commands().maps().size(), 1u);
  EXPECT_EQ(commands().maps()[0]->fileName(), map);

  commands().chooseMapFile = [&](QWidget*) {
    return QString::fromStdString((dir.path() / "gone.map").string());
  };
  commands().Execute(cmd::kOpen);
  EXPECT_EQ(commands().maps().size(), 1u);
  ASSERT_EQ(services.messages.messages().size(), 1u);
  EXPECT_EQ(services.messages.Transcript()[0],
            "KOLTAR32|STOP|'" + dir.Model("gone.map") + Utf8ToCp1250("' file nem található."));
  EXPECT_EQ(services.messages.messages()[0].owner, frame.get());
}

TEST_F(Shell, LabelPositionCommandsActOnTheActiveMap) {
  EXPECT_TRUE(Enabled(cmd::kLoadLabels));
  EXPECT_TRUE(Enabled(cmd::kSaveLabels));
  bool asked = false;
  commands().askLabelDirectory = [&](QWidget*, const QString& preset) -> std::optional<QString> {
    asked = true;
    EXPECT_TRUE(preset.endsWith('/'));  // the executable's directory
    return std::nullopt;
  };
  commands().Execute(cmd::kLoadLabels);  // no map window: nothing happens
  EXPECT_FALSE(asked);
  ASSERT_TRUE(commands().OpenMap(WriteMap("a.map", "A")));
  commands().Execute(cmd::kLoadLabels);
  EXPECT_TRUE(asked);
  commands().Execute(cmd::kSaveLabels);  // nothing changed: no message
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(Shell, HelpIndexAndAbout) {
  struct Recorder final : HelpService {
    void ShowIndex(const std::string& f) override { calls.push_back("INDEX " + f); }
    void ShowContext(const std::string& f, int c) override { calls.push_back(f + " " + std::to_string(c)); }
    void ShowKeyword(const std::string&, const std::string&) override {}
    void Quit() override {}
    std::vector<std::string> calls;
  } help;
  InstalledServices().help = &help;
  Program().helpFile = "/opt/koltar/koltar.HLP";
  EXPECT_TRUE(Enabled(cmd::kHelpIndex));
  commands().Execute(cmd::kHelpIndex);
  EXPECT_EQ(help.calls, (std::vector<std::string>{"INDEX /opt/koltar/koltar.HLP"}));
  InstalledServices().help = nullptr;

  std::unique_ptr<QDialog> about(MakeAboutDialog(frame.get()));
  EXPECT_EQ(about->windowTitle(), QString::fromUtf8("Névjegy"));
  auto* text = about->findChild<QLabel*>(QStringLiteral("aboutText"));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->text().contains(QStringLiteral("KOLTAR-DEKA")));
}

TEST_F(Shell, MouseOverTheClientAreaEmptiesThePositionField) {
  auto* bar = dynamic_cast<MainStatusBar*>(frame->statusBar());
  ASSERT_NE(bar, nullptr);
  bar->SetPositionText("X: 1   Y: 2");
  InstalledServices().status = bar;
  QTest::mouseMove(commands().viewport(), QPoint(50, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(60, 60), QPointF(60, 60), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(commands().viewport(), &move);
  EXPECT_TRUE(bar->positionField()->text().isEmpty());
}

}  // namespace
}  // namespace koltar
