#include "app/command_window.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <algorithm>
#include <new>
#include <utility>

#include "app/about_dialog.h"
#include "app/batch_dialog.h"
#include "app/carto_symb_dialog.h"
#include "app/dialog_support.h"
#include "app/find_point_dialog.h"
#include "app/map_print.h"
#include "app/map_window.h"
#include "app/route_dialogs.h"
#include "app/route_list_dialog.h"
#include "app/ui_text.h"
#include "categories/point.h"
#include "map/map_links.h"
#include "map/mmap.h"
#include "map/route_planning.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/qt/qt_text.h"
#include "platform/services.h"
#include "platform/status.h"
#include "route/opt_path.h"

namespace koltar {

std::unique_ptr<QFileDialog> MakeOpenMapDialog(QWidget* owner, const QString& directory) {
  auto dialog = std::make_unique<QFileDialog>(owner, QString::fromUtf8("Térkép megnyitása"), directory);
  dialog->setNameFilters({QString::fromUtf8("Térkép (*.map)"), QString::fromUtf8("Minden file (*.*)")});
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  return dialog;
}

QString ChooseMapFileWithDialog(QWidget* owner, const QString& directory) {
  const std::unique_ptr<QFileDialog> dialog = MakeOpenMapDialog(owner, directory);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().front();
}

CommandWindow::CommandWindow(QWidget* parent) : QMdiArea(parent) {
  try {
    printer_ = std::make_unique<PrinterObject>();
  } catch (const std::bad_alloc&) {
    ShowMessage(Cp("A nyomtatási funkciók inicializálásához nincs elég memória."), MessageKind::Exclamation);
  }
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::ArrowCursor);
  chooseMapFile = [](QWidget* owner) {
    // The dialog starts in the executable's directory.
    return ChooseMapFileWithDialog(owner, QCoreApplication::applicationDirPath());
  };
  askLabelDirectory = [](QWidget* owner, const QString& preset) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(owner, QString::fromUtf8("Megírás poziciók betöltése"),
                                               QString::fromUtf8("Korábbi megírásokat tartalmazó könyvtár:"),
                                               QLineEdit::Normal, preset, &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  connect(this, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    // The window that stops being active empties the scale field, the one that becomes
    // active shows its scale; either way the tool returns to the plain cursor.
    if (auto* last = dynamic_cast<MapFrameWindow*>(lastActive_.data());
        last && last != window && !last->closed())
      last->mapWindow()->Activated(false);
    currentTool_ = cmd::kToolCursor;
    lastActive_ = window;
    if (MapFrameWindow* frame = ActiveMapFrame()) {
      frame->mapWindow()->Activated(true);
      frame->mapWindow()->SetToolCursor(currentTool_);
    }
    UpdateCommands();
  });
  // The default map opens once the main window is on screen.
  QMetaObject::invokeMethod(
      this, [this] { Execute(cmd::kOpenDefault); }, Qt::QueuedConnection);
}

CommandWindow::~CommandWindow() {
  // Windows going away must not count as activations any more.
  disconnect(this, &QMdiArea::subWindowActivated, nullptr, nullptr);
  // Windows go before the maps they show.
  for (QMdiSubWindow* w : subWindowList()) {
    if (auto* frame = dynamic_cast<MapFrameWindow*>(w)) frame->onClosed = nullptr;
    delete w;
  }
  maps_.clear();
  printer_.reset();
}

void CommandWindow::RegisterAction(int command, QAction* action) {
  actions_[command] = action;
  connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
}

CommandContext CommandWindow::Context() const {
  CommandContext c;
  c.mapWindowActive = ActiveMapFrame() != nullptr;
  c.currentTool = currentTool_;
  if (const MMap* map = ActiveMap()) {
    if (const MOptPath* network = map->roadNetwork()) {
      c.roadNetworkLoaded = network->graph().nodeCount() > 0 && network->graph().edgeCount() > 0;
      c.routeExists = network->routeState().stepCount() > 0;
      c.viaPointPossible = network->routeState().request().CanPlace(RoutePointRole::Via);
    }
    // Batch planning names settlements by their plain names, which the segments of a
    // street with house numbers share.
    const std::int32_t towns = map->townCategory();
    c.batchPlanningPossible = towns < 0 || !map->points()[static_cast<std::size_t>(towns)]->hasHouseNumbers();
  }
  return c;
}

void CommandWindow::UpdateCommands() {
  const CommandContext context = Context();
  for (auto& [id, action] : actions_) {
    const CommandStatus s = EvaluateCommand(id, context);
    action->setEnabled(s.enabled);
    if (action->isCheckable()) action->setChecked(s.checked);
  }
}

MapFrameWindow* CommandWindow::ActiveMapFrame() const {
  auto* frame = dynamic_cast<MapFrameWindow*>(currentSubWindow());
  return frame && !frame->closed() ? frame : nullptr;
}

MMap* CommandWindow::ActiveMap() const {
  MapFrameWindow* frame = ActiveMapFrame();
  return frame ? frame->map() : nullptr;
}

std::vector<MapFrameWindow*> CommandWindow::MapFrames() const {
  std::vector<MapFrameWindow*> frames;
  for (QMdiSubWindow* w : subWindowList())
    if (auto* frame = dynamic_cast<MapFrameWindow*>(w); frame && !frame->closed()) frames.push_back(frame);
  return frames;
}

void CommandWindow::Execute(int command) {
  if (command != cmd::kOpenDefault && !EvaluateCommand(command, Context()).enabled) return;
  switch (command) {
    case cmd::kOpenDefault: OpenStartMaps(); break;
    case cmd::kOpen: OpenChosenMap(); break;
    case cmd::kClose: CloseActiveMap(); break;
    case cmd::kNewWindow: NewWindow(); break;
    case cmd::kWholeMap: WholeMap(); break;
    case cmd::kFindPlace: FindPlace(); break;
    case cmd::kLoadLabels: LoadLabels(); break;
    case cmd::kSaveLabels: SaveLabels(); break;
    case cmd::kRedraw:
      if (MapFrameWindow* frame = ActiveMapFrame()) frame->mapWindow()->Redraw();
      break;
    case cmd::kDeleteRoute:
      if (MMap* map = ActiveMap()) {
        map->DeleteRoute();
        RepaintMap(map);
      }
      break;
    case cmd::kPositionRoute: PositionOnRoute(); break;
    case cmd::kSymbology: EditActiveSymbology(); break;
    case cmd::kFindRoute: FindRoute(); break;
    case cmd::kRouteParameters: RouteParameters(); break;
    case cmd::kShowRoute: ShowRoute(); break;
    case cmd::kPreview:
    case cmd::kPrint:
    case cmd::kPrinterSetup: PrintCommand(command); break;
    case cmd::kBatchRoute: BatchRoutes(); break;
    case cmd::kRouteFromHere: PlaceRoutePointAtCentre(RoutePointRole::Start); break;
    case cmd::kRouteToHere: PlaceRoutePointAtCentre(RoutePointRole::Destination); break;
    case cmd::kRouteVia: PlaceRoutePointAtCentre(RoutePointRole::Via); break;
    case cmd::kToolCursor:
    case cmd::kToolName:
    case cmd::kToolPosition:
    case cmd::kToolZoom:
    case cmd::kToolArea:
    case cmd::kToolLabel: SetTool(command); break;
    case cmd::kExit: window()->close(); break;
    case cmd::kCascade: cascadeSubWindows(); break;
    case cmd::kTile: tileSubWindows(); break;
    case cmd::kArrangeIcons: ArrangeIcons(); break;
    case cmd::kHelpIndex: Help().ShowIndex(Program().helpFile); break;
    case cmd::kAbout: ShowAboutDialog(window()); break;
    default: break;
  }
  UpdateCommands();
}

void CommandWindow::OpenStartMaps() {
  if (startMaps_.empty()) {
    const std::string name = ReadProfileString("MAP", "DEFAULT", "", 260, Program().settingsFile);
    if (!name.empty() && FileExists(name)) OpenMap(name);
    return;
  }
  for (const std::string& name : std::exchange(startMaps_, {})) {
    if (!OpenMap(name))
      ShowMessage(StringPrintf(Cp("'%s' file nem található.").c_str(), name.c_str()), MessageKind::Stop,
                  window());
  }
}

void CommandWindow::OpenChosenMap() {
  const QString chosen = chooseMapFile ? chooseMapFile(window()) : QString();
  if (chosen.isEmpty()) return;
  const std::string name = ModelFileName(chosen.toStdString());
  if (!FileExists(name)) {
    ShowMessage(StringPrintf(Cp("'%s' file nem található.").c_str(), name.c_str()), MessageKind::Stop,
                window());
    return;
  }
  OpenMap(name);
}

bool CommandWindow::OpenMap(const std::string& fileName) {
  if (!FileExists(fileName)) return false;
  maps_.push_back(std::make_unique<MMap>(fileName));
  AddMapWindow(*maps_.back(), true);
  UpdateCommands();
  return true;
}

MapFrameWindow* CommandWindow::AddMapWindow(MMap& map, bool fillClientArea) {
  auto* frame = new MapFrameWindow(map, [this] { return currentTool_; });
  frame->mapWindow()->onRoutePoint = [this, frame](RoutePointRole role, MapPoint at, double reach) {
    PlaceRoutePoint(frame, role, at, reach);
  };
  frame->onClosed = [this](MapFrameWindow* closing) {
    MMap* shown = closing->map();
    closing->mapWindow()->Detach();
    if (!shown) return;
    shown->RemoveWindow();
    if (shown->windowCount() == 0) ChildDestroyed(shown);
    UpdateCommands();
  };
  addSubWindow(frame);
  if (fillClientArea) frame->setGeometry(0, 0, viewport()->width(), viewport()->height());
  frame->show();
  setActiveSubWindow(frame);
  frame->mapWindow()->SetToolCursor(currentTool_);
  return frame;
}

void CommandWindow::ChildDestroyed(MMap* map) {
  // The last window of the map has gone: the map goes too (and writes its settings back).
  auto it = std::find_if(maps_.begin(), maps_.end(), [map](const auto& m) { return m.get() == map; });
  if (it != maps_.end()) maps_.erase(it);
}

void CommandWindow::CloseActiveMap() {
  MMap* map = ActiveMap();
  if (!map) return;
  for (MapFrameWindow* frame : MapFrames())
    if (frame->map() == map) frame->close();
}

void CommandWindow::CloseAllMaps() {
  for (std::vector<MapFrameWindow*> frames = MapFrames(); !frames.empty(); frames = MapFrames()) {
    if (!ActiveMapFrame()) setActiveSubWindow(frames.front());
    const std::size_t before = frames.size();
    CloseActiveMap();
    if (MapFrames().size() == before) break;  // a window refused to close
  }
}

void CommandWindow::NewWindow() {
  MMap* map = ActiveMap();
  if (map) AddMapWindow(*map, false);
}

void CommandWindow::WholeMap() {
  MapFrameWindow* frame = ActiveMapFrame();
  if (!frame || !frame->map()) return;
  frame->mapWindow()->ShowWholeMap();
}

void CommandWindow::FindPlace() {
  MapFrameWindow* frame = ActiveMapFrame();
  MMap* map = frame ? frame->map() : nullptr;
  if (!map) return;
  FindPointData found;
  found.smallestScale = map->smallestScale();
  found.largestScale = map->largestScale();
  found.displayScale = map->findScale();
  FindPointDialog dialog(window(), *map, found);
  if (RunModal(dialog) != QDialog::Accepted) return;
  frame->mapWindow()->ShowPlace(found);
}

void CommandWindow::PositionOnRoute() {
  MapFrameWindow* frame = ActiveMapFrame();
  MMap* map = frame ? frame->map() : nullptr;
  if (!map) return;
  const MapRect bounds = map->GetRouteBounds();
  // A route that runs along no road object has no place on the map: the view stays.
  if (!bounds.IsEmpty()) frame->mapWindow()->ShowRoute(bounds);
  RepaintMap(map);
}

void CommandWindow::EditActiveSymbology() {
  MapFrameWindow* frame = ActiveMapFrame();
  MMap* map = frame ? frame->map() : nullptr;
  if (!map) return;
  // The preview draws the active window; OK, or a cancelled preview, every window.
  const QPointer<MapFrameWindow> active(frame);
  const auto preview = [active] {
    if (active && !active->closed()) active->mapWindow()->Redraw();
  };
  if (EditSymbology(window(), *map, preview)) RepaintMap(map);
}

void CommandWindow::FindRoute() {
  MMap* map = ActiveMap();
  if (!map) return;
  switch (PlanRoute(*map, QtRouteDialogRunners(window()), OwnerHandle(window()))) {
    case PlanResult::Found: PositionOnRoute(); break;
    case PlanResult::WithMessage: RepaintMap(map); break;
    case PlanResult::NotRun: break;
  }
}

void CommandWindow::RouteParameters() {
  if (MMap* map = ActiveMap())
    (void)SetRouteCosts(*map, QtRouteDialogRunners(window()), OwnerHandle(window()));
}

void CommandWindow::ShowRoute() {
  if (MapFrameWindow* frame = ActiveMapFrame()) ShowRouteList(window(), *frame->mapWindow());
}

void CommandWindow::PrintCommand(int command) {
  if (!printer_) {
    ShowMessage(Cp(kNoPrinterText), MessageKind::Exclamation, OwnerHandle(window()));
    return;
  }
  if (command == cmd::kPrinterSetup) {
    printer_->Setup(window());
    return;
  }
  MapFrameWindow* frame = ActiveMapFrame();
  if (!frame || !frame->map()) return;
  if (command == cmd::kPrint)
    (void)printer_->Print(window(), *frame->mapWindow());
  else
    printer_->Preview(*frame->mapWindow());
}

void CommandWindow::BatchRoutes() {
  MMap* map = ActiveMap();
  if (!map) return;
  // A run leaves no route: whatever route the windows showed is gone.
  if (PlanBatchRoutes(*map, QtBatchFileChoosers(window()), QtBatchDialogRunner(window()),
                      OwnerHandle(window())))
    RepaintMap(map);
}

void CommandWindow::PlaceRoutePointAtCentre(RoutePointRole role) {
  MapFrameWindow* frame = ActiveMapFrame();
  if (!frame || !frame->map()) return;
  const MapWindow& view = *frame->mapWindow();
  PlaceRoutePoint(frame, role, view.view().centre, DeviceLengthToMap(view.Transform(), kRoutePointReach));
}

void CommandWindow::PlaceRoutePoint(MapFrameWindow* frame, RoutePointRole role, MapPoint at, double reach) {
  MMap* map = frame ? frame->map() : nullptr;
  if (!map) return;
  if (ActiveMapFrame() != frame) setActiveSubWindow(frame);
  const PlaceResult result = PlaceRoutePointAt(*map, role, at, reach, OwnerHandle(frame->mapWindow()));
  auto* main = qobject_cast<QMainWindow*>(window());
  if (main && result.plan != PlanResult::NotRun) main->statusBar()->clearMessage();
  switch (result.plan) {
    case PlanResult::Found: {
      // The view the user chose the point in stays while it shows the whole route.
      const MapRect bounds = map->GetRouteBounds();
      const MapRect visible = frame->mapWindow()->VisibleMapRect();
      if (!bounds.IsEmpty() && visible.Contains({bounds.left, bounds.top}) &&
          visible.Contains({bounds.right, bounds.bottom}))
        RepaintMap(map);
      else
        PositionOnRoute();
      break;
    }
    case PlanResult::WithMessage: RepaintMap(map); break;
    case PlanResult::NotRun:
      // A point that waits for its partner is told in the status bar.
      if (main && result.placed) {
        const QString name = ToQString(result.name);
        main->statusBar()->showMessage(
            role == RoutePointRole::Destination
                ? QString::fromUtf8(
                      "Az útvonal célja: %1. Válassza ki a kiindulási helyet is (Útvonal innen).")
                      .arg(name)
                : QString::fromUtf8("Az útvonal kiindulási helye: %1. Válassza ki a célt is (Útvonal ide).")
                      .arg(name),
            10000);
      }
      break;
  }
  UpdateCommands();
}

void CommandWindow::LoadLabels() {
  MapFrameWindow* frame = ActiveMapFrame();
  if (!frame || !frame->map()) return;
  // Preset: the executable's drive and directory.
  const QString preset =
      ToQString(GetPathDirectory(ModelFileName(QCoreApplication::applicationFilePath().toStdString())));
  const std::optional<QString> directory =
      askLabelDirectory ? askLabelDirectory(window(), preset) : std::nullopt;
  if (!directory) return;
  frame->map()->LoadLabelPositions(FromQString(*directory));
  frame->mapWindow()->Redraw();
}

void CommandWindow::SaveLabels() {
  MapFrameWindow* frame = ActiveMapFrame();
  if (!frame || !frame->map()) return;
  // Each category reports its own result.
  (void)frame->map()->SaveLabelPositions();
}

void CommandWindow::RepaintMap(const MMap* map) {
  for (MapFrameWindow* frame : MapFrames())
    if (frame->map() == map) frame->mapWindow()->Redraw();
}

void CommandWindow::SetTool(int tool) {
  currentTool_ = tool;
  if (MapFrameWindow* frame = ActiveMapFrame()) frame->mapWindow()->SetToolCursor(tool);
}

void CommandWindow::ArrangeIcons() {
  // Minimised windows in a row along the bottom of the client area.
  int x = 0;
  for (QMdiSubWindow* w : subWindowList()) {
    if (!w->isMinimized()) continue;
    const QSize size = w->size();
    w->move(x, viewport()->height() - size.height());
    x += size.width();
  }
}

void CommandWindow::mouseMoveEvent(QMouseEvent* event) {
  Status().SetPositionText("");
  QMdiArea::mouseMoveEvent(event);
}

bool CommandWindow::viewportEvent(QEvent* event) {
  // The mouse over the client area itself, not over a map window: no position to show.
  if (event->type() == QEvent::MouseMove) Status().SetPositionText("");
  return QMdiArea::viewportEvent(event);
}

}  // namespace koltar
