// The printed route plan of koltar-cli's route command as a PDF file, drawn with Qt
// (built into koltar-cli-draw only).
#include "tools/cli/route_outputs.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "map/mmap.h"
#include "map/route_plan_page.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_device_context.h"
#include "platform/services.h"
#include "view/map_view_state.h"

namespace koltar {
namespace {

// The PDF's resolution: fine enough for the map's thin lines, and the unit of its
// page layout.
constexpr int kPdfDpi = 300;
// The screen resolution the route view is fitted at (koltar-cli's pixel).
constexpr int kScreenDpi = 96;

bool PaperSize(std::string_view name, QPageSize::PageSizeId& id) {
  if (name == "A4")
    id = QPageSize::A4;
  else if (name == "A3")
    id = QPageSize::A3;
  else if (name == "Letter")
    id = QPageSize::Letter;
  else
    return false;
  return true;
}

// The map rectangle and scale the page shows: a view of the map area's shape at screen
// resolution, positioned on the route (the whole map without one).
struct PageView {
  MapRect shown;
  std::int32_t scale;
};

PageView RouteViewFor(const MMap& map, const DeviceRect& area, int dpi) {
  const int width = std::max(1, area.width() * kScreenDpi / dpi);
  const int height = std::max(1, area.height() * kScreenDpi / dpi);
  MapViewState view(ViewFactsOf(map, Program().pixel));
  view.SetDeviceRect(DeviceRect{0, 0, width, height});
  view.FitWholeMap();
  const MapRect bounds = map.GetRouteBounds();
  if (!bounds.IsEmpty()) view.ShowRoute(bounds);
  return PageView{view.VisibleMapRect(), view.scale()};
}

}  // namespace

bool WriteRoutePdf(MMap& map, const RouteOutputs& o) {
  QPageSize::PageSizeId paper = QPageSize::A4;
  (void)PaperSize(o.paper, paper);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setCreator(QStringLiteral("koltar-cli"));
    writer.setTitle(QString::fromUtf8("Útvonalterv"));
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(paper),
                                     o.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) {
      std::fprintf(stderr, "koltar-cli: cannot draw the PDF page\n");
      return false;
    }
    {
      QtDeviceContext dc(painter);
      const RoutePlanLayout page = LayOutRoutePlanPage(dc, writer.width(), writer.height());
      const PageView view = RouteViewFor(map, page.mapArea, dc.LogicalDpiY());
      DrawRoutePlanPage(map, dc, view.shown, view.scale, writer.width(), writer.height());
    }
    painter.end();
  }
  const QByteArray& pdf = bytes.data();
  if (!WriteFileAtomically(LocalFileName(OutputModelName(o.pdf)),
                           std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())))) {
    std::fprintf(stderr, "koltar-cli: cannot write %s\n", o.pdf.c_str());
    return false;
  }
  return true;
}

}  // namespace koltar
