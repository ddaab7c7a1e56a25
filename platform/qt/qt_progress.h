#pragma once
// The progress display and ESC abort on Qt.
//
// A long operation runs inside one event handler. While it runs, the status bar shows
// the operation's text and a gauge instead of its fields (all but the last), and
// EscapePressed() lets pending events through, at most every few milliseconds, with an
// application event filter that throws away the user's input to every window (clicks,
// keys, wheel, close requests) so that nothing the user does starts another action
// meanwhile. An ESC key press is latched: from then on every EscapePressed() of the
// operation, in the innermost loop and in every enclosing one, returns true, until the
// outermost operation ends. Input that arrived during the operation is thrown away at
// its end too, so an ESC or a click never leaks into what comes next.
//
// An operation may name input that supersedes it (a new scroll or zoom of the window
// being drawn): such input stops it as ESC does, and it and the same window's input that
// follows it (but ESC) are delivered, in order, once the operation has ended instead of
// being thrown away.

#include <QElapsedTimer>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/progress.h"

namespace koltar {

// A horizontal gauge of LED-like segments, range 0 ... 100.
class LedGauge final : public QWidget {
 public:
  explicit LedGauge(QWidget* parent = nullptr);
  void SetValue(int percent);
  int value() const { return value_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int value_ = 0;
};

class QtProgress final : public QObject, public ProgressService {
 public:
  // `fields`: the status bar's fields in order; all but the last are taken out while an
  // operation runs.
  QtProgress(QStatusBar* bar, std::vector<QWidget*> fields);
  ~QtProgress() override;

  void Start(const std::string& text) override;
  void Set(int percent) override;
  void End() override;
  bool EscapePressed() override;

  // Input that supersedes the next outermost operation: `supersedes(watched, event)`
  // says whether a user input event stops it, `belongs(watched)` whether later input to
  // `watched` goes with it. Forgotten when that operation ends; SetSuperseding({}) forgets
  // it when no operation came.
  struct Superseding {
    std::function<bool(QObject*, QEvent*)> supersedes;
    std::function<bool(QObject*)> belongs;
  };
  void SetSuperseding(Superseding superseding) {
    if (superseding.supersedes) superseded_ = false;  // a new operation is about to start
    superseding_ = std::move(superseding);
  }
  // Whether an operation is running (superseding input is set before one starts).
  bool running() const { return depth_ > 0; }
  // Whether the last operation was stopped by superseding input.
  bool superseded() const { return superseded_; }

  // Milliseconds between two looks at the event queue.
  static constexpr int kPollInterval = 5;

  // For tests: the widgets shown during an operation (null when none runs).
  QLabel* textField() const { return text_; }
  LedGauge* gauge() const { return gauge_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DiscardPendingInput();
  // Keeps superseding input and what follows it for delivery after the operation; false
  // for input that is thrown away.
  bool KeepSuperseding(QObject* watched, QEvent* event);
  void DeliverKept();

  QPointer<QStatusBar> bar_;
  std::vector<QPointer<QWidget>> fields_;
  std::vector<QPointer<QWidget>> hidden_;
  QLabel* text_ = nullptr;
  LedGauge* gauge_ = nullptr;
  int depth_ = 0;
  bool escape_ = false;
  bool filtering_ = false;
  Superseding superseding_;
  bool superseded_ = false;
  struct KeptEvent {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };
  std::vector<KeptEvent> kept_;
  QElapsedTimer sincePoll_;
};

class QtWaitCursor final : public WaitCursorService {
 public:
  void Begin() override;
  void End() override;
};

}  // namespace koltar
