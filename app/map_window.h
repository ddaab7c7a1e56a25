#pragma once
// A map window: the MDI child frame (MapFrameWindow) and its client, the view
// (MapWindow), which holds a scale and a centre onto a shared MMap. The view maths lives
// in MapViewState (view/); the window turns Qt events into its calls and draws again.
//
// The view keeps the drawn map in a back buffer. The map is drawn into it outside paint
// events (a long drawing lets events through for its progress display and ESC), and a
// paint event only copies the buffer to the screen. What the mouse tools draw for a
// moment (the zoom band, the label outline, the search marker) is drawn into the buffer
// in XOR mode, so that drawing it again removes it, and the name box saves and restores
// the pixels under it.

#include <QAbstractScrollArea>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QRegion>
#include <functional>
#include <memory>
#include <optional>

#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/qt/qt_progress.h"
#include "platform/repaint.h"
#include "view/map_view_state.h"
#include "view/mouse_tools.h"
#include "view/text_outline.h"

namespace koltar {

class Bitmap;
class CommandWindow;
struct FindPointData;
class MMap;
enum class RoutePointRole;

// How far from a click, in pixels, a settlement counts as the one clicked on when it
// becomes a route point.
inline constexpr int kRoutePointReach = 20;

class MapWindow final : public QAbstractScrollArea, public RepaintTarget {
 public:
  // Counts itself on the map; centred on the map's extent, scale not yet known.
  MapWindow(MMap& map, std::function<int()> currentTool, QWidget* parent = nullptr);
  ~MapWindow() override;

  // The map shown; null once the window has closed (its map may be gone then).
  MMap* map() const { return map_; }
  // Lets go of the map when the window closes.
  void Detach();

  const MapView& view() const { return state_.view(); }
  // Rounds and clamps a scale into the map's range, shows it, and stores it.
  void SetScale(std::int32_t request);
  // Stores the centre and moves both scroll bars to it.
  void SetCentre(MapPoint centre);
  // The whole map, shown and the scroll bars moved; drawn again later.
  void ShowWholeMap();
  // The whole route with these bounds, shown and the scroll bars moved (not drawn yet).
  void ShowRoute(const MapRect& bounds);
  // The object an accepted place search chose, shown as ShowFoundPlace (view/place_view.h)
  // places it, a point with the marker; drawn again.
  void ShowPlace(const FindPointData& found);
  // The scale (rounded and limited), the centre at `at` and the marker there alone; drawn
  // again (the route list steps through the route so).
  void PositionOnMarker(std::int32_t scale, MapPoint at);
  // The scale at which a map rectangle just fits into the window.
  std::int32_t FitScale(const MapRect& rect) const;
  LCTransform Transform() const;
  // The map rectangle the window shows.
  MapRect VisibleMapRect() const;
  // Marks a searched place with a circle.
  void ShowMarker(MapPoint at);
  void HideMarker();
  bool markerShown() const { return markerShown_; }
  // Draws the whole window anew.
  void Redraw();
  // Draws the map into the back buffer now if a drawing is due (tests and the printout
  // use it; the window does it by itself soon after a change).
  void RenderNow();
  const QImage& buffer() const { return buffer_; }
  // The name box on screen: its rectangle and text (code page 1250); null when none.
  const QRect* nameBoxRect() const { return nameBox_ ? &nameBox_->rect : nullptr; }
  std::string nameBoxText() const { return nameBox_ ? nameBox_->text : std::string(); }
  bool bandShown() const { return band_.has_value(); }
  bool labelDragged() const { return drag_.has_value(); }

  // Marks the polygon's area for drawing anew.
  void InvalidatePolygon(const DevicePoint* points, int count) override;
  // The cursor of a mouse tool (a command number 1007 ... 1016).
  void SetToolCursor(int tool);
  // Shows the scale in the status bar when the window becomes active, empties it when
  // it stops being active.
  void Activated(bool active);

  // A place chosen in the window's menu ("Útvonal innen", "Útvonal ide", "Köztes pont"):
  // the role, the map point and how far (map units) a settlement counts as clicked on.
  std::function<void(RoutePointRole, MapPoint, double reach)> onRoutePoint;
  // Shows the window's right-click menu at a global position and returns the chosen
  // action (null: none); QMenu::exec unless tests replace it.
  std::function<QAction*(QMenu& menu, const QPoint& globalAt)> runMenu;

  // Scrolling as the scroll bars do it (QAbstractSlider::SliderAction values).
  void ScrollAction(Qt::Orientation orientation, int action);
  void ScrollToPosition(Qt::Orientation orientation, int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int, int) override {}

 private:
  struct Band {
    BandRing corners;
    int button = 0;      // +1 left, -1 right
    DevicePoint anchor;  // area selection: the fixed corner
  };
  struct NameBox {
    QRect rect;
    std::unique_ptr<Bitmap> saved;
    std::string text;
  };
  struct LabelDrag {
    LCTransform snapshot;
    std::int32_t category;
    std::int32_t label;
    MapPoint start;   // the label's anchor when the drag began
    MapPoint anchor;  // where it is now
    MapPoint mouse;   // the mouse at the last event, map units
    TextOutline outline;
  };
  struct Pan {
    QPoint start;
    QPoint offset;
    QImage picture;
  };

  int Tool() const { return currentTool_ ? currentTool_() : 0; }
  DeviceRect ClientRect() const;
  void Invalidate(const QRect& area);
  void ScheduleRender();
  void Render();
  // Whether `object` is this window or a part of it.
  bool Owns(const QObject* object) const;
  // Whether the input changes the view, so that a drawing under way is not worth ending.
  bool ChangesView(QObject* watched, QEvent* event) const;
  QtProgress::Superseding Superseding();
  void ResizeBuffer();
  void UpdateScrollBars();
  void ScrollBy(ScrollAxis axis, std::int32_t newCoordinate);
  void ShowPosition(const QPoint& at);
  void ShowScale();

  void DrawMarker(const QRect* clip);
  void StartBand(const QPoint& at, int button);
  void MoveBand(const QPoint& at);
  void EndBand(int button);
  void DrawBand();
  void ResizeZoomBand(int direction);
  void ShowNameBox(const QPoint& at, const std::string& text);
  void RemoveNameBox();
  void ShowObjectName(const QPoint& at);
  void OpenInformation(const QPoint& at);
  void ShowContextMenu(const QPoint& globalAt);
  // Commands 1101 ... 1103 on the linked information's current object.
  void LinkCommand(int command);
  void ZoomAround(const QPoint& at, double factor);
  void StartLabelDrag(const QPoint& at);
  void MoveLabelDrag(const QPoint& at);
  void EndLabelDrag();
  void DrawOutline();

  MMap* map_;
  std::function<int()> currentTool_;
  MapViewState state_;
  QImage buffer_;
  QRegion dirty_;
  bool renderScheduled_ = false;
  bool rendering_ = false;
  bool resizePending_ = false;
  bool everSized_ = false;
  std::optional<MapPoint> marker_;
  bool markerShown_ = false;
  std::optional<Band> band_;
  std::optional<NameBox> nameBox_;
  std::optional<Pan> pan_;
  std::optional<LabelDrag> drag_;
};

class MapFrameWindow final : public QMdiSubWindow {
 public:
  MapFrameWindow(MMap& map, std::function<int()> currentTool, QWidget* parent = nullptr);

  MapWindow* mapWindow() const { return view_; }
  MMap* map() const { return view_->map(); }
  bool closed() const { return closed_; }

  // Called once when the window has agreed to close, before it goes away; the command
  // window then takes it off its map's window count.
  std::function<void(MapFrameWindow*)> onClosed;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MapWindow* view_;
  bool closed_ = false;
};

}  // namespace koltar
