#pragma once
// The symbology editor's owner-drawn controls on Qt: the colour, line-style and hatch
// pickers (drop-down lists whose items are values, drawn instead of written) and the
// delegate of the layer list with its visibility switches. Every item is drawn by the
// core's drawing (symbology/style_pickers.h) through a QtDeviceContext, so the pickers
// show the pens and hatches exactly as the map draws them.

#include <QComboBox>
#include <QStyledItemDelegate>
#include <functional>
#include <memory>
#include <optional>

#include "platform/dc.h"

class QFont;

namespace koltar {

class Bitmap;
struct CartoLayer;

enum class StylePickerKind { Color, LineStyle, Hatch };

// A logical font for the device context that draws in a widget's font.
LogicalFont LogicalFontOf(const QFont& font);

// Draws one picker item of the kind with its value into the rectangle (device pixels
// of the context): the item's background (the highlight when focused, else white),
// the item, and the focus rectangle when focused.
void DrawPickerItem(DeviceContext& dc, StylePickerKind kind, const DeviceRect& item, bool disabled,
                    bool focused, std::int32_t value);

// A picker: one item per value (the palette, the hatch list or the line styles, in their
// order), each item's data the value. The closed field shows the current item drawn
// the same way; a disabled picker shows an empty field. The user's choice is reported
// by QComboBox::activated, also when it is the current item again.
class StyleComboBox final : public QComboBox {
 public:
  explicit StyleComboBox(StylePickerKind kind, QWidget* parent = nullptr);
  StylePickerKind kind() const { return kind_; }
  // The value of an item.
  std::int32_t ValueAt(int item) const;
  // A value the closed field shows instead of the current item's (a colour the palette
  // does not hold); none: the current item's.
  void SetShownValue(std::optional<std::int32_t> value);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  StylePickerKind kind_;
  std::optional<std::int32_t> shown_;
};

// The layer list's items: the switch picture and the layer's name, highlighted when
// selected. `layerOfRow` finds the layer a row shows (through its data word).
class LayerListDelegate final : public QStyledItemDelegate {
 public:
  explicit LayerListDelegate(std::function<const CartoLayer*(int row)> layerOfRow, QObject* parent = nullptr);
  ~LayerListDelegate() override;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  std::function<const CartoLayer*(int row)> layerOfRow_;
  std::unique_ptr<Bitmap> switchOn_;
  std::unique_ptr<Bitmap> switchOff_;
};

}  // namespace koltar
