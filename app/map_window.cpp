#include "app/map_window.h"

#include <QCloseEvent>

#include "app/commands.h"
#include "document/mmap.h"
#include "platform/qt/qt_text.h"
#include "resources/resources.h"

namespace koltar {

MapWindow::MapWindow(MMap& map, QWidget* parent) : QWidget(parent), map_(&map) {
  map_->AddWindow();
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void MapWindow::SetToolCursor(int tool) {
  switch (tool) {
    case cmd::kToolName: setCursor(ToolCursor("DISPLAYNAME")); break;
    case cmd::kToolPosition: setCursor(Qt::CrossCursor); break;
    case cmd::kToolZoom: setCursor(ToolCursor("ZOOM")); break;
    case cmd::kToolArea: setCursor(ToolCursor("ZOOMWND")); break;
    case cmd::kToolLabel: setCursor(ToolCursor("NAMEPOS")); break;
    default: setCursor(Qt::ArrowCursor); break;
  }
}

MapFrameWindow::MapFrameWindow(MMap& map, QWidget* parent) : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  view_ = new MapWindow(map, this);
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
