#pragma once
// The main window: an MDI frame with the menu bar, two tool bars, the status bar and the
// command window as its client.

#include <QMainWindow>
#include <QToolBar>
#include <map>

namespace koltar {

class CommandWindow;
class MainStatusBar;

class MainFrame final : public QMainWindow {
 public:
  MainFrame();

  CommandWindow* commandWindow() const { return commands_; }
  MainStatusBar* mainStatusBar() const { return status_; }
  QToolBar* firstToolBar() const { return toolBars_[0]; }
  QToolBar* secondToolBar() const { return toolBars_[1]; }
  // The action of a command (null for an unknown number).
  QAction* action(int command) const;

 protected:
  // Closes every map window first, so that each map writes its settings back.
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* MakeAction(int command);
  void BuildMenus();
  QToolBar* BuildToolBar(const char* name, const std::vector<int>& commands);
  void FillWindowMenu(QMenu* menu);

  CommandWindow* commands_;
  MainStatusBar* status_;
  QToolBar* toolBars_[2] = {nullptr, nullptr};
  std::map<int, QAction*> actions_;
  QActionGroup* tools_;
  QMenu* windowMenu_ = nullptr;
  int windowMenuFixedItems_ = 0;
};

}  // namespace koltar
