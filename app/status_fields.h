#pragma once
// The main window's status bar: menu and tool hints on the left, the scale field
// (10 characters, centred) and the position field (16 characters, centred) on the right.

#include <QLabel>
#include <QStatusBar>

#include "platform/status.h"

namespace koltar {

class MainStatusBar final : public QStatusBar, public StatusFields {
 public:
  explicit MainStatusBar(QWidget* parent = nullptr);

  void SetScaleText(const std::string& text) override;
  void SetPositionText(const std::string& text) override;

  QLabel* scaleField() const { return scale_; }
  QLabel* positionField() const { return position_; }

 private:
  QLabel* scale_;
  QLabel* position_;
};

}  // namespace koltar
