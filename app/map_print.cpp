#include "app/map_print.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "app/dialog_support.h"
#include "app/map_window.h"
#include "app/ui_text.h"
#include "map/mmap.h"
#include "map/route_plan_page.h"
#include "platform/progress.h"
#include "platform/qt/qt_device_context.h"

namespace koltar {

const char kNoPrinterText[] = "A program nem tudott memóriát lefoglalni a nyomtató kezeléséhez.";

namespace {

constexpr int kPreviewMargin = 15;

// The preview draws inside paint events: nothing may be dispatched meanwhile, and ESC
// does not stop it.
class QuietProgress final : public ProgressService {
 public:
  void Start(const std::string&) override {}
  void Set(int) override {}
  void End() override {}
  bool EscapePressed() override { return false; }
};

bool NoPrinter(QWidget* owner) {
  ShowMessage(Cp(kNoPrinterText), MessageKind::Exclamation, OwnerHandle(owner));
  return false;
}

}  // namespace

bool PrintPage(QPrinter& printer, const MapPrint& print) {
  if (!print.map) return false;
  printer.setDocName(print.title);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  {
    QtDeviceContext dc(painter);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    DrawRoutePlanPage(*print.map, dc, print.shown, print.scale, page.width(), page.height());
  }
  return painter.end();
}

std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter& printer, QWidget* owner) {
  // One page only: no range to choose.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  auto dialog = std::make_unique<QPrintDialog>(&printer, owner);
  dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  dialog->setMinMax(1, 1);
  dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
  return dialog;
}

PreviewClientWindow::PreviewClientWindow(MapWindow& window, const MapRect& shown, std::int32_t scale,
                                         QWidget* parent)
    : QFrame(parent), window_(&window), shown_(shown), scale_(scale) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void PreviewClientWindow::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  MMap* map = window_ ? window_->map() : nullptr;
  if (!map) return;
  QPainter painter(this);
  QtDeviceContext dc(painter);
  QuietProgress quiet;
  DrawRoutePlanPage(*map, dc, shown_, scale_, width(), height(), quiet);
}

void PreviewClientWindow::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  update();  // the whole page at its new size
}

PreviewFrameWindow::PreviewFrameWindow(MapWindow& window, const MapRect& shown, std::int32_t scale)
    : QWidget(&window, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8("Koltar-Deka - Nyomtatási kép"));
  // The layout window: light grey around the page.
  setAutoFillBackground(true);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);
  client_ = new PreviewClientWindow(window, shown, scale, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kPreviewMargin, kPreviewMargin, kPreviewMargin, kPreviewMargin);
  layout->addWidget(client_);
}

PreviewFrameGeometry PreviewGeometryFor(const QSize& printable, const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const int caption = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  return PreviewFrameOf(printable.width(), printable.height(), area.width(), area.height(), caption);
}

PdfPageSetupDialog::PdfPageSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer), paper_(new QComboBox), orientation_(new QComboBox) {
  setWindowTitle(QString::fromUtf8("Nyomtató beállítás"));
  const QPageLayout layout = printer.pageLayout();
  for (const QPageSize::PageSizeId id :
       {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter, QPageSize::Legal}) {
    paper_->addItem(QPageSize::name(id), static_cast<int>(id));
    if (layout.pageSize().id() == id) paper_->setCurrentIndex(paper_->count() - 1);
  }
  orientation_->addItem(QString::fromUtf8("Álló"), static_cast<int>(QPageLayout::Portrait));
  orientation_->addItem(QString::fromUtf8("Fekvő"), static_cast<int>(QPageLayout::Landscape));
  orientation_->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);
  auto* form = new QFormLayout(this);
  form->addRow(QString::fromUtf8("&Papírméret:"), paper_);
  form->addRow(QString::fromUtf8("&Tájolás:"), orientation_);
  QDialogButtonBox* buttons = MakeDialogButtons(this, false);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PdfPageSetupDialog::accept() {
  printer_.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper_->currentData().toInt())));
  printer_.setPageOrientation(static_cast<QPageLayout::Orientation>(orientation_->currentData().toInt()));
  QDialog::accept();
}

PrinterObject::PrinterObject() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterObject::~PrinterObject() = default;

QSize PrinterObject::PrintableSize() const {
  if (!printer_) return {};
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).size();
}

void PrinterObject::Setup(QWidget* owner) {
  if (!printer_) {
    NoPrinter(owner);
    return;
  }
  if (printer_->outputFormat() == QPrinter::NativeFormat) {
    QPageSetupDialog dialog(printer_.get(), owner);
    RunModal(dialog);
  } else {
    PdfPageSetupDialog dialog(*printer_, owner);
    RunModal(dialog);
  }
}

bool PrinterObject::Print(QWidget* owner, MapWindow& window) {
  if (!printer_) return NoPrinter(owner);
  MMap* map = window.map();
  if (!map) return false;
  const MapPrint print{QStringLiteral("KOLTAR32"), map, window.VisibleMapRect(), window.view().scale};
  const std::unique_ptr<QPrintDialog> dialog = MakePrintDialog(*printer_, owner);
  if (RunModal(*dialog) != QDialog::Accepted) return false;
  if (!PrintPage(*printer_, print)) {
    ShowMessage(Cp("A nyomtatás nem indítható el: a nyomtató nem érhető el."), MessageKind::Exclamation,
                OwnerHandle(owner));
    return false;
  }
  return true;
}

PreviewFrameWindow* PrinterObject::Preview(MapWindow& window) {
  if (!printer_) {
    NoPrinter(&window);
    return nullptr;
  }
  const QSize printable = PrintableSize();
  auto* frame = new PreviewFrameWindow(window, window.VisibleMapRect(), window.view().scale);
  const PreviewFrameGeometry place = PreviewGeometryFor(printable, window);
  const int caption = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  // The frame's height holds the caption; the window system adds it above the client.
  frame->resize(place.width, std::max(place.height - caption, 1));
  frame->move(place.left, place.top);
  frame->show();
  return frame;
}

}  // namespace koltar
