#include "app/status_fields.h"

#include "platform/qt/qt_text.h"

namespace koltar {
namespace {

QLabel* MakeField(QWidget* parent, int characters) {
  auto* field = new QLabel(parent);
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setAlignment(Qt::AlignCenter);
  // At least that many characters; wider when a text needs more (ground coordinates of
  // seven digits would be cut otherwise).
  field->setMinimumWidth(field->fontMetrics().averageCharWidth() * characters + 2 * field->frameWidth() + 4);
  return field;
}

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(8);
  setFont(font);
  scale_ = MakeField(this, 10);
  position_ = MakeField(this, 16);
  addPermanentWidget(scale_);
  addPermanentWidget(position_);
}

void MainStatusBar::SetScaleText(const std::string& text) { scale_->setText(ToQString(text)); }

void MainStatusBar::SetPositionText(const std::string& text) { position_->setText(ToQString(text)); }

}  // namespace koltar
