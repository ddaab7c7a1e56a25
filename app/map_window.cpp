#include "app/map_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <vector>

#include "app/commands.h"
#include "app/dialog_support.h"
#include "app/linked_info_dialogs.h"
#include "app/ui_text.h"
#include "categories/text.h"
#include "linkedinfo/linkedinfo.h"
#include "map/mmap.h"
#include "map/route_planning.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/qt_text.h"
#include "platform/services.h"
#include "platform/status.h"
#include "resources/resources.h"
#include "view/place_view.h"

namespace koltar {
namespace {

constexpr int kScrollMax = 1000;
constexpr int kMarkerRadius = 50;
constexpr int kMarkerPenWidth = 4;
// The property under which a menu item of linked information keeps its command.
constexpr char kLinkCommandProperty[] = "koltarLinkCommand";

// Only one map drawing runs at a time: a window whose turn comes while another one draws
// (its timer fires while the other lets events through) waits for it.
bool g_drawing = false;
std::vector<QPointer<MapWindow>>& Waiting() {
  static std::vector<QPointer<MapWindow>> waiting;
  return waiting;
}

DevicePoint ToDevice(const QPoint& p) { return DevicePoint{p.x(), p.y()}; }

ScrollAxis AxisOf(Qt::Orientation o) {
  return o == Qt::Horizontal ? ScrollAxis::Horizontal : ScrollAxis::Vertical;
}

// The step of a scroll-bar action; none for thumb moves and the rest.
std::optional<ScrollStep> StepOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return ScrollStep::LineForward;
    case QAbstractSlider::SliderSingleStepSub: return ScrollStep::LineBack;
    case QAbstractSlider::SliderPageStepAdd: return ScrollStep::PageForward;
    case QAbstractSlider::SliderPageStepSub: return ScrollStep::PageBack;
    case QAbstractSlider::SliderToMinimum: return ScrollStep::ToStart;
    case QAbstractSlider::SliderToMaximum: return ScrollStep::ToEnd;
    default: return std::nullopt;
  }
}

QRect Covering(const DeviceRect& r, int margin) {
  return QRect(QPoint(r.left - margin, r.top - margin), QPoint(r.right + margin, r.bottom + margin));
}

}  // namespace

MapWindow::MapWindow(MMap& map, std::function<int()> currentTool, QWidget* parent)
    : QAbstractScrollArea(parent), map_(&map), currentTool_(std::move(currentTool)) {
  map_->AddWindow();
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  state_ = MapViewState(ViewFactsOf(*map_, Program().pixel));
  state_.SetDeviceRect(ClientRect());
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setRange(0, kScrollMax);
    bar->setPageStep(kScrollMax / 10);
    bar->setTracking(false);  // dragging the thumb does nothing until it is released
    const Qt::Orientation o = bar == horizontalScrollBar() ? Qt::Horizontal : Qt::Vertical;
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, o](int action) { ScrollAction(o, action); });
    connect(bar, &QAbstractSlider::sliderReleased, this,
            [this, o, bar] { ScrollToPosition(o, bar->sliderPosition()); });
  }
  UpdateScrollBars();
}

MapWindow::~MapWindow() {
  auto& waiting = Waiting();
  waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
}

void MapWindow::Detach() {
  map_ = nullptr;
  band_.reset();
  drag_.reset();
  pan_.reset();
  viewport()->releaseMouse();
}

DeviceRect MapWindow::ClientRect() const {
  return DeviceRect{0, 0, viewport()->width(), viewport()->height()};
}

LCTransform MapWindow::Transform() const { return state_.Transform(); }

void MapWindow::SetScale(std::int32_t request) {
  if (!map_) return;
  state_.SetScale(request);
  ShowScale();
}

void MapWindow::ShowScale() { Status().SetScaleText(ScaleText(state_.scale())); }

std::int32_t MapWindow::FitScale(const MapRect& rect) const { return state_.FitScale(rect); }

void MapWindow::SetCentre(MapPoint centre) {
  state_.SetCentre(centre);
  UpdateScrollBars();
}

void MapWindow::ShowWholeMap() {
  if (!map_) return;
  state_.FitWholeMap();
  ShowScale();
  UpdateScrollBars();
  Redraw();
}

void MapWindow::ShowRoute(const MapRect& bounds) {
  if (!map_) return;
  state_.ShowRoute(bounds);
  ShowScale();
  UpdateScrollBars();
}

void MapWindow::ShowPlace(const FindPointData& found) {
  if (!map_) return;
  HideMarker();
  const std::optional<MapPoint> marker = ShowFoundPlace(*map_, state_, found);
  ShowScale();
  UpdateScrollBars();
  if (marker) {
    // Drawn over the map by the drawing that follows.
    marker_ = *marker;
    markerShown_ = true;
  }
  Redraw();
}

void MapWindow::PositionOnMarker(std::int32_t scale, MapPoint at) {
  if (!map_) return;
  HideMarker();
  SetScale(scale);
  SetCentre(at);
  // Drawn over the map by the drawing that follows.
  marker_ = at;
  markerShown_ = true;
  Redraw();
}

void MapWindow::UpdateScrollBars() {
  if (!map_) return;
  const QSignalBlocker h(horizontalScrollBar());
  const QSignalBlocker v(verticalScrollBar());
  horizontalScrollBar()->setValue(state_.ScrollPosition(ScrollAxis::Horizontal, kScrollMax));
  verticalScrollBar()->setValue(state_.ScrollPosition(ScrollAxis::Vertical, kScrollMax));
}

MapRect MapWindow::VisibleMapRect() const { return state_.VisibleMapRect(); }

void MapWindow::SetToolCursor(int tool) {
  switch (tool) {
    case cmd::kToolName: viewport()->setCursor(ToolCursor("DISPLAYNAME")); break;
    case cmd::kToolPosition: viewport()->setCursor(Qt::CrossCursor); break;
    case cmd::kToolZoom: viewport()->setCursor(ToolCursor("ZOOM")); break;
    case cmd::kToolArea: viewport()->setCursor(ToolCursor("ZOOMWND")); break;
    case cmd::kToolLabel: viewport()->setCursor(ToolCursor("NAMEPOS")); break;
    default: viewport()->setCursor(Qt::ArrowCursor); break;
  }
}

void MapWindow::Activated(bool active) {
  Status().SetScaleText(active && state_.HasScale() ? ScaleText(state_.scale()) : std::string());
}

// ---- drawing ------------------------------------------------------------------------

void MapWindow::Redraw() { Invalidate(buffer_.rect()); }

void MapWindow::Invalidate(const QRect& area) {
  dirty_ += area;
  ScheduleRender();
}

void MapWindow::ScheduleRender() {
  if (renderScheduled_) return;
  renderScheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    renderScheduled_ = false;
    Render();
  });
}

void MapWindow::RenderNow() {
  renderScheduled_ = false;
  Render();
}

void MapWindow::Render() {
  if (!map_ || buffer_.isNull() || dirty_.isEmpty() || !state_.HasScale()) return;
  if (g_drawing) {
    Waiting().emplace_back(this);
    return;
  }
  const QRect area = dirty_.boundingRect() & buffer_.rect();
  dirty_ = QRegion();
  g_drawing = rendering_ = true;
  {
    QPainter white(&buffer_);
    white.fillRect(area, Qt::white);
  }
  viewport()->setCursor(Qt::WaitCursor);
  QtProgress* progress = dynamic_cast<QtProgress*>(InstalledServices().progress);
  const bool supersedable = progress && !progress->running();
  if (supersedable) progress->SetSuperseding(Superseding());
  {
    QtDeviceContext dc(buffer_);
    const DeviceRect update{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    dc.SetClipRect(update);
    map_->Draw(dc, Transform(), update, state_.scale());
  }
  const bool superseded = supersedable && progress->superseded();
  if (supersedable) progress->SetSuperseding({});  // a map with nothing to draw ran no operation
  // A new scroll or zoom stopped the drawing; it arrives next and changes the view. The
  // area is drawn again in any case, in case it leaves the view as it was.
  if (superseded) dirty_ += area;
  if (map_ && markerShown_) DrawMarker(&area);
  SetToolCursor(Tool());
  g_drawing = rendering_ = false;
  viewport()->update(area);
  if (resizePending_) {
    resizePending_ = false;
    ResizeBuffer();
  }
  if (!dirty_.isEmpty()) ScheduleRender();
  // Let the windows that waited draw now.
  std::vector<QPointer<MapWindow>> waiting;
  waiting.swap(Waiting());
  for (const auto& w : waiting)
    if (w && w != this) w->ScheduleRender();
}

bool MapWindow::Owns(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget && (widget == this || isAncestorOf(widget));
}

// What stops a drawing under way because the view is about to change: the wheel, the
// scrolling keys, a press on a scroll bar, and a press on the map with a tool that
// zooms, positions or pans.
bool MapWindow::ChangesView(QObject* watched, QEvent* event) const {
  if (!Owns(watched)) return false;
  switch (event->type()) {
    case QEvent::Wheel: return true;
    case QEvent::KeyPress:
      switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        default: return false;
      }
    case QEvent::MouseButtonPress: {
      if (watched != viewport()) return true;  // a scroll bar
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const int tool = Tool();
      return mouse->button() == Qt::MiddleButton || tool == cmd::kToolZoom || tool == cmd::kToolArea ||
             tool == cmd::kToolPosition;
    }
    default: return false;
  }
}

QtProgress::Superseding MapWindow::Superseding() {
  return QtProgress::Superseding{
      [this](QObject* watched, QEvent* event) { return ChangesView(watched, event); },
      [this](QObject* watched) { return Owns(watched); }};
}

void MapWindow::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  state_.SetDeviceRect(ClientRect());  // the viewport has its new size now
  if (rendering_) {
    resizePending_ = true;  // the buffer is in use until the drawing ends
    return;
  }
  ResizeBuffer();
}

void MapWindow::ResizeBuffer() {
  const QSize size = viewport()->size();
  if (size.isEmpty()) return;
  buffer_ = QImage(size, QImage::Format_RGB32);
  buffer_.fill(Qt::white);
  if (state_.scale() == -1 && map_) {  // the first size decides the scale
    state_.FitWholeMap();
    ShowScale();
    UpdateScrollBars();
  }
  Redraw();
}

void MapWindow::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  if (pan_) {
    p.fillRect(event->rect(), Qt::white);
    p.drawImage(pan_->offset, pan_->picture);
    return;
  }
  if (buffer_.isNull()) {
    p.fillRect(event->rect(), Qt::white);
    return;
  }
  p.drawImage(event->rect(), buffer_, event->rect());
}

// ---- scrolling ----------------------------------------------------------------------

void MapWindow::ScrollAction(Qt::Orientation o, int action) {
  if (!map_ || !state_.Scrollable()) return;
  const ScrollAxis axis = AxisOf(o);
  QScrollBar* bar = o == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
  const std::optional<ScrollStep> step = StepOf(action);
  if (!step) {
    // Thumb moves wait for the release; keep the bar where the view is.
    if (action != QAbstractSlider::SliderMove) bar->setSliderPosition(bar->value());
    return;
  }
  ScrollBy(axis, state_.ScrollTarget(axis, *step));
  bar->setSliderPosition(state_.ScrollPosition(axis, kScrollMax));
}

void MapWindow::ScrollToPosition(Qt::Orientation o, int position) {
  if (!map_ || !state_.Scrollable()) return;
  const ScrollAxis axis = AxisOf(o);
  ScrollBy(axis, state_.CoordinateAtScrollPosition(axis, position, kScrollMax));
}

void MapWindow::ScrollBy(ScrollAxis axis, std::int32_t next) {
  const bool horizontal = axis == ScrollAxis::Horizontal;
  if (next == (horizontal ? state_.centre().x : state_.centre().y)) return;
  const std::int32_t pixels = state_.ScrollTo(axis, next);
  UpdateScrollBars();
  // Move what is drawn and draw only the uncovered strip.
  const int dx = horizontal ? -pixels : 0;
  const int dy = horizontal ? 0 : pixels;
  if (!buffer_.isNull()) {
    QImage moved(buffer_.size(), buffer_.format());
    moved.fill(Qt::white);
    {
      QPainter p(&moved);
      p.drawImage(QPoint(dx, dy), buffer_);
    }
    buffer_ = std::move(moved);
    const QRect all = buffer_.rect();
    QRegion strip(all);
    strip -= all.translated(dx, dy) & all;
    dirty_ = dirty_.translated(dx, dy) + strip;
    viewport()->update();
    RenderNow();
  }
}

// ---- mouse and keys -----------------------------------------------------------------

void MapWindow::ShowPosition(const QPoint& at) {
  if (!map_ || !state_.HasScale()) return;
  const MapPoint m = DeviceToMap(Transform(), ToDevice(at));
  if (!map_->extent().Contains(m)) {
    Status().SetPositionText("");
    return;
  }
  const double unit = map_->unit();
  const std::int32_t x = ClampToInt32(m.x * unit + map_->origin().x);
  const std::int32_t y = ClampToInt32(m.y * unit + map_->origin().y);
  Status().SetPositionText(
      StringPrintf("X: %s   Y: %s", FormatGroupedNumber(x).c_str(), FormatGroupedNumber(y).c_str()));
}

void MapWindow::mousePressEvent(QMouseEvent* event) {
  if (!map_ || !state_.HasScale()) return;
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::MiddleButton && !band_) {
    pan_ = Pan{at, QPoint(0, 0), buffer_};
    viewport()->grabMouse();
    return;
  }
  if (band_ || pan_ || drag_) return;
  switch (Tool()) {
    case cmd::kToolCursor:
      if (event->button() == Qt::RightButton) ShowContextMenu(event->globalPosition().toPoint());
      break;
    case cmd::kToolName:
      if (event->button() == Qt::LeftButton) {
        HideMarker();
        ShowObjectName(at);
      } else if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->globalPosition().toPoint());
      }
      break;
    case cmd::kToolPosition:
      if (event->button() == Qt::LeftButton) {
        SetCentre(DeviceToMap(Transform(), ToDevice(at)));
        Redraw();
      }
      break;
    case cmd::kToolZoom:
    case cmd::kToolArea:
      if (event->button() == Qt::LeftButton)
        StartBand(at, +1);
      else if (event->button() == Qt::RightButton)
        StartBand(at, -1);
      break;
    case cmd::kToolLabel:
      if (event->button() == Qt::LeftButton && !drag_) StartLabelDrag(at);
      break;
    default: break;
  }
}

void MapWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (pan_) {
    pan_->offset = at - pan_->start;
    viewport()->update();
    return;
  }
  ShowPosition(at);
  if (band_) MoveBand(at);
  if (drag_) MoveLabelDrag(at);
}

void MapWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (pan_ && event->button() == Qt::MiddleButton) {
    const QPoint offset = event->position().toPoint() - pan_->start;
    pan_.reset();
    viewport()->releaseMouse();
    if (map_ && !offset.isNull()) {
      state_.PanBy(ToDevice(offset));  // the map point that was under the mouse stays under it
      UpdateScrollBars();
      Redraw();
    } else {
      viewport()->update();
    }
    return;
  }
  const int button = event->button() == Qt::LeftButton ? +1 : event->button() == Qt::RightButton ? -1 : 0;
  if (band_ && band_->button == button) {  // only the button that started the band ends it
    EndBand(button);
    return;
  }
  if (drag_ && event->button() == Qt::LeftButton) {
    EndLabelDrag();
    return;
  }
  if (nameBox_ && event->button() == Qt::LeftButton) RemoveNameBox();
}

void MapWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (Tool() != cmd::kToolName || event->button() != Qt::LeftButton || !map_) {
    mousePressEvent(event);  // a second press for every other tool
    return;
  }
  HideMarker();
  OpenInformation(event->position().toPoint());
}

void MapWindow::OpenInformation(const QPoint& at) {
  const std::optional<ObjectHit> hit = map_->HitTest(DeviceToMap(Transform(), ToDevice(at)));
  if (!hit) return;
  const std::string objectName = GetObjectNames(*hit).object;
  if (objectName.empty()) return;
  const std::string& infoFile = hit->category->infoFile();
  if (!infoFile.empty()) Help().ShowKeyword(infoFile, objectName);
}

void MapWindow::wheelEvent(QWheelEvent* event) {
  if (!map_ || !state_.HasScale() || band_ || pan_) return;
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  ZoomAround(event->position().toPoint(), delta > 0 ? 0.5 : 2.0);
}

void MapWindow::ZoomAround(const QPoint& at, double factor) {
  const bool moved = state_.ZoomAround(ToDevice(at), factor);
  ShowScale();
  if (!moved) return;
  UpdateScrollBars();
  Redraw();
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
  if (band_ && Tool() == cmd::kToolZoom && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
    ResizeZoomBand(event->key() == Qt::Key_Up ? +1 : -1);
    return;
  }
  if (band_ || pan_) return;
  switch (event->key()) {
    case Qt::Key_Left: ScrollAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: ScrollAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_Up: ScrollAction(Qt::Vertical, QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Down: ScrollAction(Qt::Vertical, QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_PageUp: ScrollAction(Qt::Vertical, QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: ScrollAction(Qt::Vertical, QAbstractSlider::SliderPageStepAdd); break;
    default: QAbstractScrollArea::keyPressEvent(event); break;
  }
}

// ---- bands --------------------------------------------------------------------------

void MapWindow::DrawBand() {
  if (!band_ || buffer_.isNull()) return;
  QtDeviceContext dc(buffer_);
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetPen(Pen{kWhite, PenStyle::Solid, 0});
  dc.Polyline(band_->corners.data(), 5);
  viewport()->update(Covering(BandRect(band_->corners), 2));
}

void MapWindow::StartBand(const QPoint& at, int button) {
  Band band;
  band.button = button;
  band.anchor = ToDevice(at);
  band.corners = Tool() == cmd::kToolZoom ? ZoomBandAt(band.anchor, ClientRect())
                                          : BandCorners(band.anchor, band.anchor);
  band_ = band;
  viewport()->grabMouse();  // the band stays in this window until the button comes up
  DrawBand();
}

void MapWindow::MoveBand(const QPoint& raw) {
  const DevicePoint at = ClampIntoClient(ToDevice(raw), ClientRect());
  DrawBand();  // erase
  band_->corners =
      Tool() == cmd::kToolZoom ? MovedZoomBand(band_->corners, at) : BandCorners(band_->anchor, at);
  DrawBand();
}

void MapWindow::ResizeZoomBand(int direction) {
  const std::optional<BandRing> resized = ResizedZoomBand(band_->corners, direction, ClientRect());
  if (!resized) return;
  DrawBand();
  band_->corners = *resized;
  DrawBand();
}

void MapWindow::EndBand(int button) {
  DrawBand();  // erase
  viewport()->releaseMouse();
  const DeviceRect r = BandRect(band_->corners);
  band_.reset();
  if (!map_) return;
  // The band fills the window (left button) or the window shrinks into the band (right).
  if (!(button > 0 ? state_.ZoomToBand(r) : state_.ShrinkIntoBand(r))) return;
  ShowScale();
  UpdateScrollBars();
  Redraw();
}

// ---- label positioning ----------------------------------------------------------------

void MapWindow::InvalidatePolygon(const DevicePoint* points, int count) {
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  // One pixel more on every side: the outline's own pixels lie on the polygon's edge.
  Invalidate(polygon.boundingRect().adjusted(-1, -1, 1, 1));
}

void MapWindow::DrawOutline() {
  if (!drag_ || buffer_.isNull()) return;
  QtDeviceContext dc(buffer_);
  drag_->outline.Draw(dc, drag_->anchor);
  QPolygon polygon;
  for (const DevicePoint& p : drag_->outline.PointsAt(drag_->anchor)) polygon << QPoint(p.x, p.y);
  viewport()->update(polygon.boundingRect().adjusted(-2, -2, 2, 2));
}

void MapWindow::StartLabelDrag(const QPoint& at) {
  const LCTransform snapshot = Transform();
  const MapPoint m = DeviceToMap(snapshot, ToDevice(at));
  const std::optional<LabelHit> hit = map_->HitTestLabel(m);
  if (!hit) return;
  MText& texts = *map_->text(hit->category);
  const MapPoint anchor = texts.GetLabelPosition(hit->label);
  drag_.emplace(LabelDrag{
      snapshot, hit->category, hit->label, anchor, anchor, m,
      TextOutline(snapshot, anchor, texts.GetLabelRect(hit->label), texts.GetLabelAngle(hit->label))});
  viewport()->grabMouse();  // the label stays in this window until the button comes up
  DrawOutline();
}

void MapWindow::MoveLabelDrag(const QPoint& raw) {
  const MapPoint m = DeviceToMap(drag_->snapshot, ClampIntoClient(ToDevice(raw), ClientRect()));
  DrawOutline();  // erase
  drag_->anchor = DraggedAnchor(drag_->anchor, drag_->mouse, m);
  drag_->mouse = m;
  DrawOutline();
}

void MapWindow::EndLabelDrag() {
  DrawOutline();  // erase
  viewport()->releaseMouse();
  const LabelDrag drag = *drag_;
  drag_.reset();
  if (!map_ || drag.anchor == drag.start) return;
  map_->text(drag.category)->MoveLabel(drag.label, drag.anchor);
  drag.outline.InvalidateArea(*this, drag.start);
  drag.outline.InvalidateArea(*this, drag.anchor);
}

// ---- marker and name box --------------------------------------------------------------

void MapWindow::DrawMarker(const QRect* clip) {
  if (!marker_ || buffer_.isNull()) return;
  const DevicePoint p = MapToDevice(Transform(), *marker_);
  QtDeviceContext dc(buffer_);
  if (clip) dc.SetClipRect(DeviceRect{clip->left(), clip->top(), clip->right() + 1, clip->bottom() + 1});
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetPen(Pen{kWhite, PenStyle::Solid, kMarkerPenWidth});
  dc.SetBrush(Brush{Brush::Kind::Hollow, kWhite, HatchStyle::Horizontal});
  dc.Ellipse(DeviceRect{p.x - kMarkerRadius, p.y - kMarkerRadius, p.x + kMarkerRadius, p.y + kMarkerRadius});
  viewport()->update(QRect(p.x - kMarkerRadius - kMarkerPenWidth, p.y - kMarkerRadius - kMarkerPenWidth,
                           2 * (kMarkerRadius + kMarkerPenWidth), 2 * (kMarkerRadius + kMarkerPenWidth)));
}

void MapWindow::ShowMarker(MapPoint at) {
  HideMarker();
  marker_ = at;
  markerShown_ = true;
  DrawMarker(nullptr);
}

void MapWindow::HideMarker() {
  if (!markerShown_) return;
  DrawMarker(nullptr);
  markerShown_ = false;
}

void MapWindow::ShowObjectName(const QPoint& at) {
  const std::optional<ObjectHit> hit = map_->HitTest(DeviceToMap(Transform(), ToDevice(at)));
  if (!hit) return;
  const ObjectNames names = GetObjectNames(*hit);
  const std::string text = names.object.empty()
                               ? StringPrintf(Cp("%s: Nincs név tárolva.").c_str(), names.category.c_str())
                               : names.object;
  ShowNameBox(at, text);
}

void MapWindow::ShowContextMenu(const QPoint& globalAt) {
  static bool tracking = false;  // a right click while the menu is open is ignored
  if (tracking) return;
  const QPoint at = viewport()->mapFromGlobal(globalAt);
  const LCTransform transform = Transform();
  const MapPoint mapAt = DeviceToMap(transform, ToDevice(at));
  QMenu menu(this);
  // Route points at the settlement nearest to the click, on a map with a road network.
  if (map_->roadNetwork() && onRoutePoint) {
    const std::pair<const char*, RoutePointRole> routeItems[] = {{"Útvonal innen", RoutePointRole::Start},
                                                                 {"Útvonal ide", RoutePointRole::Destination},
                                                                 {"Köztes pont", RoutePointRole::Via}};
    for (const auto& [text, role] : routeItems) {
      QAction* action = menu.addAction(QString::fromUtf8(text));
      action->setData(static_cast<int>(role));
      action->setEnabled(CanPlaceRoutePoint(*map_, role));
    }
  }
  // The linked information of the named object under the name tool.
  const std::optional<ObjectHit> hit = Tool() == cmd::kToolName ? map_->HitTest(mapAt) : std::nullopt;
  if (hit) {
    const ObjectNames names = GetObjectNames(*hit);
    MLinkedInfo& links = map_->linkedInfo();
    links.SetCurrent(names.category, names.object);
    if (!names.object.empty()) {
      const bool linked = links.HasLink(names.category, names.object);
      if (!menu.isEmpty()) menu.addSeparator();
      for (int command : {cmd::kAttachInfo, cmd::kShowInfo, cmd::kRemoveInfo}) {
        QAction* action = menu.addAction(QString::fromUtf8(FindCommandText(command)->text));
        action->setProperty(kLinkCommandProperty, command);
        action->setEnabled(command == cmd::kAttachInfo || linked);
      }
    }
  }
  if (menu.isEmpty()) return;
  tracking = true;
  QAction* chosen = runMenu ? runMenu(menu, globalAt) : menu.exec(globalAt);
  tracking = false;
  if (!chosen || !map_) return;
  if (const QVariant link = chosen->property(kLinkCommandProperty); link.isValid()) {
    LinkCommand(link.toInt());
    return;
  }
  if (!chosen->data().isValid() || !onRoutePoint) return;
  onRoutePoint(static_cast<RoutePointRole>(chosen->data().toInt()), mapAt,
               DeviceLengthToMap(transform, kRoutePointReach));
}

void MapWindow::LinkCommand(int command) {
  MLinkedInfo& links = map_->linkedInfo();
  const std::string category = links.currentCategory();
  const std::string object = links.currentObject();
  switch (command) {
    case cmd::kAttachInfo:
      if (const std::optional<std::string> file = ChooseLinkFile(this))
        (void)links.AttachLink(category, object, *file, OwnerHandle(this));
      break;
    case cmd::kShowInfo:
      (void)links.OpenLink(category, object, Launcher(), QtChooserRunner(this), OwnerHandle(this));
      break;
    case cmd::kRemoveInfo: (void)links.RemoveLink(category, object, OwnerHandle(this)); break;
    default: break;
  }
}

void MapWindow::ShowNameBox(const QPoint& at, const std::string& text) {
  RemoveNameBox();
  if (buffer_.isNull()) return;
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '|')
      lines.emplace_back();
    else
      lines.back().push_back(c);
  }
  QtDeviceContext dc(buffer_);
  LogicalFont font;
  font.faceName = "ARIAL CE";
  font.height = 20;
  font.weight = 300;
  dc.SetFont(font);
  int width = 0, height = 0;
  std::vector<TextSize> sizes;
  for (const std::string& line : lines) {
    const TextSize s = dc.GetTextExtent(line.empty() ? " " : line);
    sizes.push_back(s);
    width = std::max(width, s.cx);
    height += s.cy;
  }
  width += 10;
  height += 4;
  const int clientW = viewport()->width();
  const int left = std::max(0, std::min(at.x() - width / 2, clientW - width));
  const int top = std::max(0, at.y() - height);
  const QRect box(left, top, width, height);
  NameBox saved{box, dc.CopyArea(DeviceRect{left, top, left + width, top + height}), text};
  if (!saved.saved) {
    ShowMessage(kNoMemoryText, MessageKind::Exclamation, this);
    return;
  }
  dc.SetPen(Pen{kBlack, PenStyle::Solid, 0});
  dc.SetBrush(Brush{Brush::Kind::Solid, Rgb(255, 255, 0), HatchStyle::Horizontal});
  dc.Rectangle(DeviceRect{left, top, left + width, top + height});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextAlign(TextAlign::TopLeft);
  dc.SetTextColor(kBlack);
  int y = top + 2;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    dc.TextOut(DevicePoint{left + (width - sizes[i].cx) / 2, y}, lines[i]);
    y += sizes[i].cy;
  }
  nameBox_ = std::move(saved);
  viewport()->update(box);
}

void MapWindow::RemoveNameBox() {
  if (!nameBox_) return;
  const QRect box = nameBox_->rect;
  if (nameBox_->saved && !buffer_.isNull()) {
    QtDeviceContext dc(buffer_);
    dc.StretchBlt(DeviceRect{box.left(), box.top(), box.right() + 1, box.bottom() + 1}, *nameBox_->saved,
                  DeviceRect{0, 0, box.width(), box.height()}, RasterOp::Copy);
    viewport()->update(box);
  } else {
    Invalidate(box);
  }
  nameBox_.reset();
}

// ---- frame --------------------------------------------------------------------------

MapFrameWindow::MapFrameWindow(MMap& map, std::function<int()> currentTool, QWidget* parent)
    : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  view_ = new MapWindow(map, std::move(currentTool), this);
  setWidget(view_);
  setWindowTitle(ToQString(map.name()));
  setWindowIcon(MapIcon());
}

void MapFrameWindow::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  if (event->isAccepted() && !closed_) {
    closed_ = true;
    if (onClosed) onClosed(this);
  }
}

}  // namespace koltar
