#include "app/welcome_window.h"

#include <QPainter>

#include "platform/qt/qt_images.h"
#include "welcome/welcome.h"

namespace koltar {

WelcomeWindow::WelcomeWindow(const MWelcome& welcome, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(ToQImage(*welcome.picture())),
      milliseconds_(welcome.timerMilliseconds()) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  const DeviceRect& place = welcome.window();
  setGeometry(place.left, place.top, place.width(), place.height());
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &QWidget::close);
}

void WelcomeWindow::Start() {
  show();
  raise();
  repaint();
  timer_.start(milliseconds_);
}

void WelcomeWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

}  // namespace koltar
