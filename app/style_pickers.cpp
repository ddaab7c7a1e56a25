#include "app/style_pickers.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_text.h"
#include "resources/resources.h"
#include "symbology/cartosymb.h"
#include "symbology/style_pickers.h"

namespace koltar {
namespace {

DeviceRect ToDeviceRect(const QRect& r) {
  return DeviceRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

std::unique_ptr<Bitmap> SwitchBitmap(const char* name) {
  const QPixmap pixmap = ResourceBitmap(name);
  if (pixmap.isNull()) return nullptr;
  return std::make_unique<QtBitmap>(pixmap.toImage());
}

void FillItem(DeviceContext& dc, const DeviceRect& item, ColorRef color) {
  dc.SetPen(Pen{color, PenStyle::Null, 0});
  dc.SetBrush(Brush{Brush::Kind::Solid, color, HatchStyle::Horizontal});
  dc.Rectangle(item);
}

// Draws into the painter through a device context in the widget's font.
template <typename Draw>
void WithDeviceContext(QPainter& painter, const QFont& font, Draw&& draw) {
  QtDeviceContext dc(painter);
  dc.SetFont(LogicalFontOf(font));
  draw(dc);
}

}  // namespace

LogicalFont LogicalFontOf(const QFont& font) {
  LogicalFont lf;
  lf.faceName = FromQString(font.family());
  lf.height = QFontMetrics(font).height();
  lf.weight = font.bold() ? 700 : 400;
  lf.italic = font.italic();
  return lf;
}

void DrawPickerItem(DeviceContext& dc, StylePickerKind kind, const DeviceRect& item, bool disabled,
                    bool focused, std::int32_t value) {
  FillItem(dc, item, focused && !disabled ? kHighlightBackground : kWhite);
  const ItemState state{disabled, focused};
  switch (kind) {
    case StylePickerKind::Color: DrawColorItem(dc, item, state, static_cast<ColorRef>(value)); break;
    case StylePickerKind::LineStyle: DrawLineStyleItem(dc, item, state, value); break;
    case StylePickerKind::Hatch: DrawHatchItem(dc, item, state, value); break;
  }
  if (focused && !disabled) DrawFocusRect(dc, item);
}

namespace {

// The items of the open list.
class PickerItemDelegate final : public QStyledItemDelegate {
 public:
  PickerItemDelegate(StyleComboBox& picker) : QStyledItemDelegate(&picker), picker_(picker) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool disabled = !(option.state & QStyle::State_Enabled);
    const bool focused = (option.state & QStyle::State_Selected) != 0;
    WithDeviceContext(*painter, option.font, [&](DeviceContext& dc) {
      DrawPickerItem(dc, picker_.kind(), ToDeviceRect(option.rect), disabled, focused,
                     picker_.ValueAt(index.row()));
    });
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), kPickerItemHeight);
  }

 private:
  StyleComboBox& picker_;
};

}  // namespace

StyleComboBox::StyleComboBox(StylePickerKind kind, QWidget* parent) : QComboBox(parent), kind_(kind) {
  switch (kind) {
    case StylePickerKind::Color:
      for (ColorRef c : SymbologyPalette()) addItem(QString(), static_cast<int>(c));
      break;
    case StylePickerKind::LineStyle:
      for (int style = 0; style < kLineStyleCount; ++style) addItem(QString(), style);
      break;
    case StylePickerKind::Hatch:
      for (std::int32_t hatch : HatchStyleList()) addItem(QString(), hatch);
      break;
  }
  setItemDelegate(new PickerItemDelegate(*this));
  setMaxVisibleItems(16);
  setMinimumWidth(90);
}

std::int32_t StyleComboBox::ValueAt(int item) const { return itemData(item).toInt(); }

void StyleComboBox::SetShownValue(std::optional<std::int32_t> value) {
  if (value == shown_) return;
  shown_ = value;
  update();
}

void StyleComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  // A disabled picker, or one without a value, shows an empty field.
  if (!isEnabled() || (currentIndex() < 0 && !shown_)) return;
  const std::int32_t value = shown_ ? *shown_ : ValueAt(currentIndex());
  WithDeviceContext(painter, font(), [&](DeviceContext& dc) {
    DrawPickerItem(dc, kind_, ToDeviceRect(field), false, hasFocus(), value);
  });
}

LayerListDelegate::LayerListDelegate(std::function<const CartoLayer*(int row)> layerOfRow, QObject* parent)
    : QStyledItemDelegate(parent),
      layerOfRow_(std::move(layerOfRow)),
      switchOn_(SwitchBitmap("SWITCHON")),
      switchOff_(SwitchBitmap("SWITCHOFF")) {}

LayerListDelegate::~LayerListDelegate() = default;

void LayerListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const CartoLayer* layer = layerOfRow_ ? layerOfRow_(index.row()) : nullptr;
  if (!layer) return;
  const bool highlighted = (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) != 0;
  WithDeviceContext(*painter, option.font, [&](DeviceContext& dc) {
    const DeviceRect item = ToDeviceRect(option.rect);
    FillItem(dc, item, kWhite);
    DrawLayerItem(dc, item, highlighted, *layer, switchOn_.get(), switchOff_.get());
  });
}

QSize LayerListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  // The height of the list's font, and room for the switch below the item's top pixel.
  const int height = std::max(QFontMetrics(option.font).height(), 14);
  return QSize(option.rect.width(), height);
}

}  // namespace koltar
