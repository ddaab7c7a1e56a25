#pragma once
// CommandWindow: the MDI client of the main window. It receives every menu and tool-bar
// command, keeps the current mouse tool, decides which commands are enabled, owns the
// open maps and carries the commands out on the active map window.

#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"

namespace koltar {

class MMap;
class MapFrameWindow;
class PrinterObject;
enum class RoutePointRole;
struct MapPoint;

class CommandWindow final : public QMdiArea {
 public:
  explicit CommandWindow(QWidget* parent = nullptr);
  ~CommandWindow() override;

  // Carries out a command by its number.
  void Execute(int command);
  // The action that shows a command in menus and tool bars.
  void RegisterAction(int command, QAction* action);
  // Enables and checks every registered action by the current state.
  void UpdateCommands();
  CommandContext Context() const;

  int currentTool() const { return currentTool_; }
  MapFrameWindow* ActiveMapFrame() const;
  MMap* ActiveMap() const;
  std::vector<MapFrameWindow*> MapFrames() const;
  const std::vector<std::unique_ptr<MMap>>& maps() const { return maps_; }
  // The printer object, made once with the window; null when it could not be made.
  PrinterObject* printer() const { return printer_.get(); }

  // Opens the map description file (a model file name) in a new window filling the
  // client area; false when the file does not exist.
  bool OpenMap(const std::string& fileName);
  // The maps (model file names, from the command line) that the start-up command 1000
  // opens instead of the default map; one that does not exist is reported.
  void SetStartMaps(std::vector<std::string> fileNames) { startMaps_ = std::move(fileNames); }
  // Closes every map window (command 1002 as long as a map window is open).
  void CloseAllMaps();
  // Draws every window that shows the map anew.
  void RepaintMap(const MMap* map);
  // Fits the active view to the route (its scale times 1.2, centred on its middle) and
  // draws every window of the map anew (command 1022, and after a route was found).
  void PositionOnRoute();
  // Makes the settlement nearest to a map point of the window a route point and plans
  // the route once there is a start and a destination (the map window's menu, and
  // commands 1031 ... 1033 at the middle of the active window). `reach` is how far, in
  // map units, a settlement counts as the one meant. A route found is positioned on
  // only when the window does not show all of it.
  void PlaceRoutePoint(MapFrameWindow* frame, RoutePointRole role, MapPoint at, double reach);

  // The file-open dialog of command 1001; returns the chosen file or an empty string.
  // Tests replace it.
  std::function<QString(QWidget* owner)> chooseMapFile;
  // The one-line input of command 1017: the directory of earlier label positions, or
  // nothing when cancelled. Tests replace it.
  std::function<std::optional<QString>(QWidget* owner, const QString& preset)> askLabelDirectory;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void OpenStartMaps();
  void OpenChosenMap();
  void CloseActiveMap();
  void NewWindow();
  void WholeMap();
  void EditActiveSymbology();
  void FindPlace();
  void LoadLabels();
  void SaveLabels();
  void SetTool(int tool);
  void FindRoute();
  void RouteParameters();
  void ShowRoute();
  void PrintCommand(int command);
  void BatchRoutes();
  void PlaceRoutePointAtCentre(RoutePointRole role);
  MapFrameWindow* AddMapWindow(MMap& map, bool fillClientArea);
  void ChildDestroyed(MMap* map);
  void ArrangeIcons();

  int currentTool_ = cmd::kToolCursor;
  QPointer<QMdiSubWindow> lastActive_;
  std::vector<std::unique_ptr<MMap>> maps_;
  std::map<int, QAction*> actions_;
  std::vector<std::string> startMaps_;
  std::unique_ptr<PrinterObject> printer_;
};

// The file-open dialog for maps: title "Térkép megnyitása", the map and all-files
// filters, existing files only, starting in `directory`.
std::unique_ptr<QFileDialog> MakeOpenMapDialog(QWidget* owner, const QString& directory);
QString ChooseMapFileWithDialog(QWidget* owner, const QString& directory);

}  // namespace koltar
