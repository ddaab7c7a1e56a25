#include "app/road_type_list.h"

#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/qt_text.h"
#include "resources/resources.h"

namespace koltar {
namespace {

const QColor kSelectedBackground(0, 0, 128);

}  // namespace

class TEnableRoadListBox::Model final : public QAbstractListModel {
 public:
  Model(Count count, Name name, Enabled enabled, QObject* parent)
      : QAbstractListModel(parent),
        count_(std::move(count)),
        name_(std::move(name)),
        enabled_(std::move(enabled)) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : count_();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= count_()) return {};
    if (role == Qt::DisplayRole) return ToQString(name_(index.row()));
    if (role == kEnabledRole) return enabled_(index.row());
    return {};
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  Count count_;
  Name name_;
  Enabled enabled_;
};

class TEnableRoadListBox::Delegate final : public QStyledItemDelegate {
 public:
  explicit Delegate(QObject* parent) : QStyledItemDelegate(parent) {
    on_ = ResourceBitmap("SWITCHON");
    off_ = ResourceBitmap("SWITCHOFF");
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, selected ? kSelectedBackground : QColor(Qt::white));
    const QPixmap& picture = index.data(kEnabledRole).toBool() ? on_ : off_;
    painter->drawPixmap(r.left() + 2, r.top() + 1, picture);
    const int square = option.fontMetrics.height();
    painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    painter->setFont(option.font);
    const QRect text(r.left() + square + 4, r.top(), r.width() - square - 4, r.height());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(QPen(selected ? QColor(Qt::white) : QColor(Qt::black), 1, Qt::DotLine));
      painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    // A row is as high as the font's ascent, and never lower than its picture needs.
    const int height = std::max(option.fontMetrics.ascent(), on_.height() + 2);
    const int width = option.fontMetrics.height() + 4 +
                      option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
    return QSize(width, height);
  }

 private:
  QPixmap on_;
  QPixmap off_;
};

TEnableRoadListBox::TEnableRoadListBox(Count count, Name name, Enabled enabled, QWidget* parent)
    : QListView(parent), model_(new Model(std::move(count), std::move(name), std::move(enabled), this)) {
  setModel(model_);
  setItemDelegate(new Delegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && onToggle) onToggle(index.row());
  });
}

void TEnableRoadListBox::Refresh() {
  const int row = currentIndex().row();
  model_->Reset();
  if (row >= 0 && row < model_->rowCount()) setCurrentIndex(model_->index(row));
}

void TEnableRoadListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && currentIndex().isValid() && onToggle) {
    onToggle(currentIndex().row());
    return;
  }
  QListView::keyPressEvent(event);
}

}  // namespace koltar
