#pragma once
// Printing and the print preview: the printer object of the command window (a QPrinter
// made once, which keeps the printer chosen and its settings), the printout of one
// page (MapPrint: the map as the active view shows it together with the route plan,
// drawn by DrawRoutePlanPage), and the preview windows, PreviewFrameWindow with its
// PreviewClientWindow, which draw the same page in a window of the page's proportion.
//
// Without any printer installed the print dialog still prints into a PDF file, and the
// page set-up and the preview work with the printer object's default page.

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "geometry/geometry.h"
#include "view/print_preview.h"

class QComboBox;
class QPrinter;
class QPrintDialog;

namespace koltar {

class MMap;
class MapWindow;

// "A program nem tudott memóriát lefoglalni a nyomtató kezeléséhez." (UTF-8): the print
// commands' answer when there is no printer object.
extern const char kNoPrinterText[];

// The printout of one page: the title, the map, the map rectangle and the display scale.
struct MapPrint {
  QString title;
  MMap* map = nullptr;
  MapRect shown;
  std::int32_t scale = 0;
};

// Prints page 1 of `print` on the printer (its printable part); false when the printer
// cannot be drawn on.
bool PrintPage(QPrinter& printer, const MapPrint& print);

// The print dialog for a printout: one page, no page range, printing to a file allowed.
std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter& printer, QWidget* owner);

// The page in the preview: it draws the route plan page of its map window's map over its
// whole client area on every paint, so that it shows the route and map as they are.
class PreviewClientWindow final : public QFrame {
 public:
  PreviewClientWindow(MapWindow& window, const MapRect& shown, std::int32_t scale, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPointer<MapWindow> window_;
  MapRect shown_;
  std::int32_t scale_;
};

// The preview's top-level frame, "Koltar-Deka - Nyomtatási kép", owned by the map window:
// a light grey layout window holding the page 15 pixels from each side.
class PreviewFrameWindow final : public QWidget {
 public:
  PreviewFrameWindow(MapWindow& window, const MapRect& shown, std::int32_t scale);
  PreviewClientWindow* client() const { return client_; }

 private:
  PreviewClientWindow* client_;
};

// The page set-up where the platform's dialog cannot serve (a printer that prints into
// PDF files, as on a machine without printers): paper size and orientation.
class PdfPageSetupDialog final : public QDialog {
 public:
  PdfPageSetupDialog(QPrinter& printer, QWidget* parent = nullptr);
  QComboBox* paperList() const { return paper_; }
  QComboBox* orientationList() const { return orientation_; }
  void accept() override;

 private:
  QPrinter& printer_;
  QComboBox* paper_;
  QComboBox* orientation_;
};

// The printer object with the commands that use it.
class PrinterObject {
 public:
  PrinterObject();
  ~PrinterObject();
  PrinterObject(const PrinterObject&) = delete;
  PrinterObject& operator=(const PrinterObject&) = delete;

  // Null when it could not be made.
  QPrinter* printer() const { return printer_.get(); }
  // The printable part of the current page in the printer's device units.
  QSize PrintableSize() const;

  // Command 1005: the page and printer set-up dialog (through RunModal), the platform's
  // for a printer, PdfPageSetupDialog for PDF files.
  void Setup(QWidget* owner);
  // Command 1004: the print dialog (through RunModal), then the page of the map window
  // as it shows the map now, titled "KOLTAR32". True when a page was printed.
  bool Print(QWidget* owner, MapWindow& window);
  // Command 1003: the preview of that page, shown beside the map windows.
  PreviewFrameWindow* Preview(MapWindow& window);

 private:
  std::unique_ptr<QPrinter> printer_;
};

// Where the preview of a printable page of that size goes on the screen of `window`.
PreviewFrameGeometry PreviewGeometryFor(const QSize& printable, const QWidget& window);

}  // namespace koltar
