#include "platform/qt/qt_progress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

constexpr int kGaugeWidth = 300;
constexpr int kGaugeMargin = 2;
constexpr int kLedSpacing = 2;
constexpr double kLedThickness = 0.7;  // of the gauge's inner height

// What the user does: thrown away while an operation runs.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick: return true;
    default: return false;
  }
}

// The widget a top-level window would give a user input event to: the one under the
// pointer, or the one with the keyboard focus.
QWidget* TargetWidget(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return QApplication::focusWidget();
    case QEvent::Wheel:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return QApplication::widgetAt(static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint());
    default: return nullptr;
  }
}

}  // namespace

LedGauge::LedGauge(QWidget* parent) : QWidget(parent) {
  setFixedWidth(kGaugeWidth);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void LedGauge::SetValue(int percent) {
  value_ = std::clamp(percent, 0, 100);
  update();
}

QSize LedGauge::sizeHint() const { return QSize(kGaugeWidth, fontMetrics().height() + 2 * kGaugeMargin); }

void LedGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect inner = rect().adjusted(kGaugeMargin, kGaugeMargin, -kGaugeMargin, -kGaugeMargin);
  p.fillRect(rect(), palette().window());
  p.setPen(palette().dark().color());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (inner.width() <= 0 || inner.height() <= 0) return;
  const int thickness = std::max(2, static_cast<int>(inner.height() * kLedThickness));
  const int pitch = thickness + kLedSpacing;
  const int segments = std::max(1, (inner.width() + kLedSpacing) / pitch);
  const int lit = value_ * segments / 100;
  for (int i = 0; i < lit; ++i)
    p.fillRect(inner.left() + i * pitch, inner.top(), thickness, inner.height(), QColor(0, 0, 128));
}

QtProgress::QtProgress(QStatusBar* bar, std::vector<QWidget*> fields) : bar_(bar) {
  for (QWidget* f : fields) fields_.emplace_back(f);
}

QtProgress::~QtProgress() {
  if (filtering_) qApp->removeEventFilter(this);
}

void QtProgress::Start(const std::string& text) {
  if (depth_++ > 0) {
    // An operation inside another one shows its own text on the same display.
    if (text_) text_->setText(ToQString(text));
    if (gauge_) gauge_->SetValue(0);
    return;
  }
  escape_ = false;
  superseded_ = false;
  kept_.clear();
  sincePoll_.start();
  if (!bar_) return;
  for (std::size_t i = 0; i + 1 < fields_.size(); ++i)
    if (fields_[i] && fields_[i]->isVisible()) {
      fields_[i]->hide();
      hidden_.push_back(fields_[i]);
    }
  text_ = new QLabel(ToQString(text), bar_);
  text_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  text_->setMinimumWidth(text_->fontMetrics().averageCharWidth() * static_cast<int>(text.size() * 3 / 4));
  gauge_ = new LedGauge(bar_);
  // Text and gauge stand in front of the field that stays.
  bar_->insertPermanentWidget(0, text_);
  bar_->insertPermanentWidget(1, gauge_);
  text_->show();
  gauge_->show();
  bar_->repaint();
}

void QtProgress::Set(int percent) {
  if (!gauge_) return;
  gauge_->SetValue(percent);
  gauge_->repaint();
}

void QtProgress::End() {
  if (depth_ == 0) return;
  if (depth_ > 1) {
    --depth_;
    return;
  }
  // Still inside the operation while the queue is emptied, so that superseding input
  // that has just arrived is kept.
  DiscardPendingInput();
  depth_ = 0;
  escape_ = false;
  superseding_ = {};
  DeliverKept();
  if (text_) {
    bar_->removeWidget(text_);
    delete text_;
    text_ = nullptr;
  }
  if (gauge_) {
    bar_->removeWidget(gauge_);
    delete gauge_;
    gauge_ = nullptr;
  }
  for (auto& f : hidden_)
    if (f) f->show();
  hidden_.clear();
  if (bar_) bar_->update();
}

bool QtProgress::EscapePressed() {
  if (escape_) return true;
  if (sincePoll_.isValid() && sincePoll_.elapsed() < kPollInterval) return false;
  DiscardPendingInput();
  sincePoll_.start();
  return escape_;
}

void QtProgress::DiscardPendingInput() {
  if (filtering_ || !QCoreApplication::instance()) return;
  filtering_ = true;
  qApp->installEventFilter(this);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  qApp->removeEventFilter(this);
  filtering_ = false;
}

bool QtProgress::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type())) return QObject::eventFilter(watched, event);
  const bool escape =
      event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  if (escape && depth_ > 0) escape_ = true;
  // After an ESC of the user's nothing supersedes the operation: all input is lost.
  if (!escape && depth_ > 0 && (superseded_ || !escape_)) KeepSuperseding(watched, event);
  return true;
}

bool QtProgress::KeepSuperseding(QObject* watched, QEvent* event) {
  // Shortcut handling is redone by the key press itself; a close request is never kept.
  const QEvent::Type type = event->type();
  if (type == QEvent::ShortcutOverride || type == QEvent::Shortcut || type == QEvent::Close) return false;
  // Input from the window system comes to the top-level window first, which would hand
  // it to the widget under the pointer or with the keyboard focus: that widget decides,
  // and the event is kept for the window, which hands it on when it comes again.
  QObject* target = watched->isWidgetType() ? watched : TargetWidget(event);
  if (!target) return false;
  if (!superseded_) {
    if (!superseding_.supersedes || !superseding_.supersedes(target, event)) return false;
    superseded_ = escape_ = true;
  } else if (!superseding_.belongs || !superseding_.belongs(target)) {
    return false;
  }
  kept_.push_back(KeptEvent{watched, std::unique_ptr<QEvent>(event->clone())});
  return true;
}

void QtProgress::DeliverKept() {
  std::vector<KeptEvent> kept;
  kept.swap(kept_);
  // Posted, so that they arrive after the operation's caller has finished its handler.
  for (KeptEvent& k : kept)
    if (k.receiver) QCoreApplication::postEvent(k.receiver, k.event.release());
}

void QtWaitCursor::Begin() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtWaitCursor::End() { QApplication::restoreOverrideCursor(); }

}  // namespace koltar
