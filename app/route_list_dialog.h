#pragma once
// The route list dialog, "Optimális út", of command 1020. Its behaviour is ShowOptPath
// (map/show_opt_path.h); this window shows its state and forwards the user's actions to
// it: the list in four aligned columns under their headings (selecting a line, with the
// mouse or the arrow keys, positions the map window; a double click opens the
// settlement's linked information), the positioning scale, and the buttons "Másol",
// "Ment...", "Kivitel GPX-be...", "Kivitel GeoJSON-ba...", "OK" and "Súgó". Esc closes
// it as well as OK does, keeping the scale only on OK.
//
// Child widgets carry object names for tests: "lines", "scale", "range".

#include <QDialog>
#include <QString>
#include <memory>

#include "map/show_opt_path.h"

class QFileDialog;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace koltar {

class MapWindow;

// The save dialogs of the route list: "Ment..." (the text, "Optimális út kivitele"),
// and the GPX and GeoJSON exports; each starts in the program's directory and asks
// before replacing a file.
enum class RouteFileKind { Text, Gpx, GeoJson };
std::unique_ptr<QFileDialog> MakeRouteFileDialog(QWidget* owner, RouteFileKind kind);

class ShowOptPathDialog final : public QDialog {
 public:
  // The state must outlive the dialog; Open has been called on it.
  ShowOptPathDialog(ShowOptPath& state, QWidget* parent = nullptr);
  ~ShowOptPathDialog() override;

  ShowOptPath& state() { return state_; }
  QTreeView* lines() const { return lines_; }
  QLineEdit* scaleField() const { return scale_; }
  QPushButton* copyButton() const { return copy_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* gpxButton() const { return gpx_; }
  QPushButton* geoJsonButton() const { return geoJson_; }

  // "Ment...", "Kivitel GPX-be...", "Kivitel GeoJSON-ba...": the save dialog through
  // RunModal, then the plain class.
  void SaveAs(RouteFileKind kind);

  void accept() override;
  void reject() override;

 private:
  class LinesModel;
  void Build();

  ShowOptPath& state_;
  WindowHandle previousOwner_;
  LinesModel* model_ = nullptr;
  QTreeView* lines_ = nullptr;
  QLineEdit* scale_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* gpx_ = nullptr;
  QPushButton* geoJson_ = nullptr;
};

// The map window as the route list positions it.
class MapWindowRouteTarget final : public RouteListWindow {
 public:
  explicit MapWindowRouteTarget(MapWindow& window) : window_(window) {}
  void PositionOnSettlement(std::int32_t scale, MapPoint at) override;
  void HideMarker() override;

 private:
  MapWindow& window_;
};

// Command 1020: the route list on the map window's map; on OK the map's find scale
// becomes the scale of the dialog, limited to the map's range.
void ShowRouteList(QWidget* parent, MapWindow& window);

}  // namespace koltar
