// Drawing speed: the map drawn as koltar-cli draws it, beside a bare QPainter loop
// that draws the same polylines and polygons with the same pens and brushes.
//
//   render_bench [--map FILE.map]... [--reps N]
//
// For each map (both samples unless --map says) and two views of a 1920 x 1080 image,
// the whole map and 1 : 10 000 at its centre:
// - "lines+areas": our line and area categories drawn through QtDeviceContext, against
//   the bare loop replaying their calls (recorded once, in device pixels, so the bare
//   loop does no reading, culling or transforming: a strict floor); the call counts of
//   both are printed, to show that it is the same work;
// - "whole map": every category, as koltar-cli render draws it (labels, symbols), with
//   the calls it made by kind.
// Repetitions alternate ours and the bare loop; the best of each is printed (and the
// ratio of the medians), and a JSON line per view on standard error for scripts.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "categories/map_category.h"
#include "map/mmap.h"
#include "platform/color.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "platform/services.h"
#include "view/map_view_state.h"

namespace koltar {
namespace {

using Clock = std::chrono::steady_clock;

// One recorded figure: its points and the pen, brush and fill mode it was drawn with.
struct Figure {
  bool polygon;
  Pen pen;
  Brush brush;
  FillMode fill;
  std::vector<QPoint> points;
};

// Forwards everything to a Qt device context, counting the calls and keeping the
// polylines and polygons.
class RecordingDc final : public DeviceContext {
 public:
  explicit RecordingDc(QtDeviceContext& inner) : inner_(inner) {}

  std::vector<Figure> figures;
  std::map<std::string, long> calls;

  int LogicalDpiX() const override { return inner_.LogicalDpiX(); }
  int LogicalDpiY() const override { return inner_.LogicalDpiY(); }
  bool CanStretchBlt() const override { return inner_.CanStretchBlt(); }
  bool CanStretchDib() const override { return inner_.CanStretchDib(); }
  void Save() override { inner_.Save(); }
  void Restore() override { inner_.Restore(); }
  void SetPen(const Pen& pen) override { inner_.SetPen(pen); }
  Pen GetPen() const override { return inner_.GetPen(); }
  void SetBrush(const Brush& brush) override { inner_.SetBrush(brush); }
  Brush GetBrush() const override { return inner_.GetBrush(); }
  void SetDrawMode(DrawMode mode) override { inner_.SetDrawMode(mode); }
  DrawMode GetDrawMode() const override { return inner_.GetDrawMode(); }
  void SetFillMode(FillMode mode) override { inner_.SetFillMode(mode); }
  FillMode GetFillMode() const override { return inner_.GetFillMode(); }
  void SetBackgroundMode(BackgroundMode mode) override { inner_.SetBackgroundMode(mode); }
  BackgroundMode GetBackgroundMode() const override { return inner_.GetBackgroundMode(); }
  void SetClipRect(const DeviceRect& rect) override { inner_.SetClipRect(rect); }
  void ClearClip() override { inner_.ClearClip(); }
  void Polyline(const DevicePoint* points, int count) override {
    Keep(false, points, count);
    inner_.Polyline(points, count);
  }
  void Polygon(const DevicePoint* points, int count) override {
    Keep(true, points, count);
    inner_.Polygon(points, count);
  }
  void Rectangle(const DeviceRect& rect) override {
    ++calls["rectangle"];
    inner_.Rectangle(rect);
  }
  void Ellipse(const DeviceRect& rect) override {
    ++calls["ellipse"];
    inner_.Ellipse(rect);
  }
  void StretchBlt(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                  RasterOp op) override {
    ++calls["bitmap"];
    inner_.StretchBlt(target, bitmap, source, op);
  }
  void StretchDib(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source) override {
    ++calls["bitmap"];
    inner_.StretchDib(target, bitmap, source);
  }
  std::unique_ptr<Bitmap> CopyArea(const DeviceRect& area) override { return inner_.CopyArea(area); }
  void SetFont(const LogicalFont& font) override { inner_.SetFont(font); }
  LogicalFont GetFont() const override { return inner_.GetFont(); }
  TextMetrics GetTextMetrics() override { return inner_.GetTextMetrics(); }
  TextSize GetTextExtent(std::string_view text) override { return inner_.GetTextExtent(text); }
  void SetTextColor(ColorRef color) override { inner_.SetTextColor(color); }
  ColorRef GetTextColor() const override { return inner_.GetTextColor(); }
  void SetTextAlign(TextAlign align) override { inner_.SetTextAlign(align); }
  TextAlign GetTextAlign() const override { return inner_.GetTextAlign(); }
  void TextOut(DevicePoint anchor, std::string_view text) override {
    ++calls["text"];
    inner_.TextOut(anchor, text);
  }

 private:
  void Keep(bool polygon, const DevicePoint* points, int count) {
    ++calls[polygon ? "polygon" : "polyline"];
    Figure f{polygon, inner_.GetPen(), inner_.GetBrush(), inner_.GetFillMode(), {}};
    f.points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) f.points.emplace_back(points[i].x, points[i].y);
    figures.push_back(std::move(f));
  }
  QtDeviceContext& inner_;
};

class NoProgress final : public ProgressService {
 public:
  void Start(const std::string&) override {}
  void Set(int) override {}
  void End() override {}
  bool EscapePressed() override { return false; }
};

QColor ColorOf(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// The Qt pen for one of ours, as a plain program would make it.
QPen BarePen(const Pen& pen) {
  if (pen.style == PenStyle::Null) return QPen(Qt::NoPen);
  QPen q(ColorOf(pen.color));
  const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                 Qt::DashDotDotLine};
  const auto s = static_cast<std::size_t>(pen.style);
  q.setStyle(s < 5 ? styles[s] : Qt::SolidLine);
  if (pen.width <= 1) {
    q.setWidth(0);
    q.setCosmetic(true);
    q.setCapStyle(Qt::FlatCap);
  } else {
    q.setWidth(pen.width);
    q.setJoinStyle(Qt::RoundJoin);
    q.setCapStyle(Qt::RoundCap);
  }
  return q;
}

QBrush BareBrush(const Brush& brush) {
  if (brush.kind == Brush::Kind::Hollow) return QBrush(Qt::NoBrush);
  if (brush.kind == Brush::Kind::Solid) return QBrush(ColorOf(brush.color));
  const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                    Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  return QBrush(ColorOf(brush.color), hatches[static_cast<std::size_t>(brush.hatch) % 6]);
}

// The bare loop: the recorded figures with QPainter, a pen or brush made only when
// it changes. Returns the calls made.
long DrawBare(QImage& image, const std::vector<Figure>& figures) {
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  std::optional<Pen> pen;
  std::optional<Brush> brush;
  long calls = 0;
  for (const Figure& f : figures) {
    if (pen != f.pen) {
      p.setPen(BarePen(f.pen));
      pen = f.pen;
    }
    if (f.polygon) {
      if (brush != f.brush) {
        p.setBrush(BareBrush(f.brush));
        brush = f.brush;
      }
      p.drawPolygon(f.points.data(), static_cast<int>(f.points.size()),
                    f.fill == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    } else {
      if (brush != Brush{Brush::Kind::Hollow}) {
        p.setBrush(Qt::NoBrush);
        brush = Brush{Brush::Kind::Hollow};
      }
      p.drawPolyline(f.points.data(), static_cast<int>(f.points.size()));
    }
    ++calls;
  }
  return calls;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Measure(MMap& map, const std::string& mapName, const char* viewName, const MapViewState& state,
             int reps) {
  const MapView& view = state.view();
  const LCTransform transform = state.Transform();
  NoProgress progress;
  const int w = view.rect.right, h = view.rect.bottom;
  std::vector<MapCategory*> figuresOnly;
  for (const auto& c : map.drawOrder())
    if (c->kind() == CategoryKind::Line || c->kind() == CategoryKind::Area) figuresOnly.push_back(c.get());
  const auto drawCategories = [&](DeviceContext& dc, bool all) {
    if (all) {
      map.Draw(dc, transform, view.rect, view.scale, progress);
      return;
    }
    const RenderContext context{dc,         transform,       view.rect,  map.extent(),
                                view.scale, map.symbology(), map.unit(), progress};
    for (MapCategory* c : figuresOnly) c->Draw(context);
  };

  // The calls, recorded once.
  QtDeviceContext recordOn(w, h);
  RecordingDc recorder(recordOn);
  drawCategories(recorder, false);
  QtDeviceContext allOn(w, h);
  RecordingDc allCalls(allOn);
  drawCategories(allCalls, true);

  // Both draw into an image made once, white before each drawing.
  QImage bare(w, h, QImage::Format_RGB32);
  QImage target(w, h, QImage::Format_RGB32);
  std::vector<double> ours, floor, whole;
  long bareCalls = 0;
  for (int r = 0; r < reps; ++r) {
    for (int turn = 0; turn < 2; ++turn) {
      const Clock::time_point t0 = Clock::now();
      if ((turn == 0) == (r % 2 == 0)) {
        target.fill(Qt::white);
        QtDeviceContext dc(target);
        drawCategories(dc, false);
        ours.push_back(Ms(Clock::now() - t0));
      } else {
        bareCalls = DrawBare(bare, recorder.figures);
        floor.push_back(Ms(Clock::now() - t0));
      }
    }
    const Clock::time_point t0 = Clock::now();
    target.fill(Qt::white);
    QtDeviceContext dc(target);
    drawCategories(dc, true);
    whole.push_back(Ms(Clock::now() - t0));
  }
  const double a = Best(ours), b = Best(floor);
  std::printf(
      "%-12s %-10s lines+areas: ours %7.1f ms, bare QPainter %7.1f ms, ratio %.2f (medians %.2f); "
      "calls %ld / %ld; whole map %7.1f ms (",
      mapName.c_str(), viewName, a, b, a / b, Median(ours) / Median(floor),
      recorder.calls["polyline"] + recorder.calls["polygon"], bareCalls, Best(whole));
  for (const auto& [kind, n] : allCalls.calls) std::printf(" %s %ld", kind.c_str(), n);
  std::printf(" )\n");
  std::fprintf(
      stderr,
      "{\"map\": \"%s\", \"view\": \"%s\", \"ours_ms\": %.3f, \"bare_ms\": %.3f, \"whole_ms\": %.3f, "
      "\"figures\": %ld}\n",
      mapName.c_str(), viewName, a, b, Best(whole), bareCalls);
}

int Run(int argc, char** argv) {
  std::vector<std::filesystem::path> maps;
  int reps = 11;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--map")
      maps.emplace_back(argv[i + 1]);
    else if (arg == "--reps")
      reps = std::max(1, std::atoi(argv[i + 1]));
  }
  if (maps.empty())
    for (const char* m : {"data/samples/gothenburg/gothenburg.map", "data/samples/hungary/hungary.map"})
      maps.push_back(std::filesystem::path(KOLTAR_SOURCE_DIR) / m);

  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  InstallFontSubstitutions();
  QtImageService images;
  InstalledServices().images = &images;
  Program().pixel = PixelSize{25.4 / 96.0, 25.4 / 96.0};
  for (const auto& file : maps) {
    // A copy: closing a map writes its settings back.
    std::string folder = (std::filesystem::temp_directory_path() / "koltar-render-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return 1;
    std::filesystem::copy(file.parent_path(), folder, std::filesystem::copy_options::recursive);
    {
      MMap map(ModelFileName(std::filesystem::path(folder) / file.filename()));
      MapViewState view(ViewFactsOf(map, Program().pixel));
      view.SetDeviceRect(DeviceRect{0, 0, 1920, 1080});
      view.FitWholeMap();
      Measure(map, file.stem().string(), "whole", view, reps);
      view.SetScale(10000);
      Measure(map, file.stem().string(), "1:10000", view, reps);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  InstalledServices() = Services{};
  return 0;
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) { return koltar::Run(argc, argv); }
