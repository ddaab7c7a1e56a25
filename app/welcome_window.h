#pragma once
// The welcome screen's window: the picture of MWelcome without caption, at its place on
// the screen, above the other windows, for the display time; then it closes itself. It
// takes no input and does not take the keyboard from the main window.

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace koltar {

class MWelcome;

class WelcomeWindow final : public QWidget {
 public:
  // Precondition: welcome.hasPicture().
  explicit WelcomeWindow(const MWelcome& welcome, QWidget* parent = nullptr);

  // Shows the window over everything, draws the picture at once and starts the timer.
  void Start();
  const QTimer& timer() const { return timer_; }
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QTimer timer_;
  int milliseconds_;
};

}  // namespace koltar
