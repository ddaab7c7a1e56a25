#pragma once
// A map window: the MDI child frame (MapFrameWindow) and its client, the view
// (MapWindow), which holds a scale and a centre onto a shared MMap.

#include <QMdiSubWindow>
#include <QWidget>
#include <functional>

#include "document/transform.h"

namespace koltar {

class MMap;

class MapWindow final : public QWidget {
 public:
  // Counts itself on the map.
  MapWindow(MMap& map, QWidget* parent = nullptr);

  // The map shown; null once the window has closed (its map may be gone then).
  MMap* map() const { return map_; }
  // Lets go of the map when the window closes.
  void Detach() { map_ = nullptr; }
  MapView& view() { return view_; }
  // The cursor of a mouse tool (a command number 1007 ... 1016).
  void SetToolCursor(int tool);

 private:
  MMap* map_;
  MapView view_;
};

class MapFrameWindow final : public QMdiSubWindow {
 public:
  explicit MapFrameWindow(MMap& map, QWidget* parent = nullptr);

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
