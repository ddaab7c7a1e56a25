#include "app/main_frame.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/command_window.h"
#include "app/commands.h"
#include "app/map_window.h"
#include "app/status_fields.h"
#include "platform/messages.h"
#include "platform/qt/qt_text.h"
#include "resources/resources.h"

namespace koltar {

MainFrame::MainFrame() {
  setWindowTitle(ToQString(kApplicationName));
  setWindowIcon(ProgramIcon());
  commands_ = new CommandWindow(this);
  setCentralWidget(commands_);
  status_ = new MainStatusBar(this);
  setStatusBar(status_);
  tools_ = new QActionGroup(this);
  tools_->setExclusive(true);
  BuildMenus();
  toolBars_[0] = BuildToolBar("Eszközök", FirstToolBar());
  toolBars_[1] = BuildToolBar("Útvonal", SecondToolBar());
  commands_->UpdateCommands();
}

QAction* MainFrame::action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* MainFrame::MakeAction(int command) {
  if (QAction* existing = action(command)) return existing;
  const CommandText* text = FindCommandText(command);
  auto* a = new QAction(CommandIcon(command), QString::fromUtf8(text ? text->text : ""), this);
  if (text && text->hint) a->setStatusTip(QString::fromUtf8(text->hint));
  if (command == cmd::kExit) a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
  if (IsToolCommand(command)) {
    a->setCheckable(true);
    tools_->addAction(a);
    a->setEnabled(true);  // radio buttons start enabled; the enabler decides from then on
  } else {
    a->setEnabled(false);
  }
  actions_[command] = a;
  commands_->RegisterAction(command, a);
  return a;
}

void MainFrame::BuildMenus() {
  for (const MenuLayout& layout : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(layout.title));
    for (int item : layout.items) {
      if (item == kSeparator)
        menu->addSeparator();
      else
        menu->addAction(MakeAction(item));
    }
    for (const SubMenuLayout& sub : layout.subMenus) {
      menu->addSeparator();
      QMenu* submenu = menu->addMenu(QString::fromUtf8(sub.title));
      for (int item : sub.items) submenu->addAction(MakeAction(item));
      connect(submenu, &QMenu::aboutToShow, commands_, &CommandWindow::UpdateCommands);
    }
    // Menus show the state of their commands when they open.
    connect(menu, &QMenu::aboutToShow, commands_, &CommandWindow::UpdateCommands);
    if (layout.items.front() == cmd::kNewWindow) {
      windowMenu_ = menu;
      windowMenuFixedItems_ = static_cast<int>(menu->actions().size());
      connect(menu, &QMenu::aboutToShow, this, [this] { FillWindowMenu(windowMenu_); });
    }
  }
}

// The window menu lists the open map windows after its own items, the current one
// checked, as MDI frames do.
void MainFrame::FillWindowMenu(QMenu* menu) {
  QList<QAction*> all = menu->actions();
  for (int i = windowMenuFixedItems_; i < all.size(); ++i) {
    menu->removeAction(all[i]);
    delete all[i];
  }
  const std::vector<MapFrameWindow*> frames = commands_->MapFrames();
  if (frames.empty()) return;
  menu->addSeparator();
  int number = 1;
  for (MapFrameWindow* frame : frames) {
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(frame->windowTitle()));
    a->setCheckable(true);
    a->setChecked(frame == commands_->ActiveMapFrame());
    connect(a, &QAction::triggered, commands_, [this, frame] { commands_->setActiveSubWindow(frame); });
  }
}

QToolBar* MainFrame::BuildToolBar(const char* name, const std::vector<int>& commands) {
  QToolBar* bar = addToolBar(QString::fromUtf8(name));
  bar->setObjectName(QString::fromUtf8(name));
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  for (int command : commands) {
    if (command == kSeparator)
      bar->addSeparator();
    else
      bar->addAction(MakeAction(command));
  }
  return bar;
}

void MainFrame::closeEvent(QCloseEvent* event) {
  commands_->CloseAllMaps();
  event->accept();
}

}  // namespace koltar
