#pragma once
// Message boxes as QMessageBox dialogs.

#include <QMessageBox>

#include "platform/messages.h"

namespace koltar {

// The icon and buttons of a box of each kind.
struct MessageBoxLook {
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  bool applicationModal;  // a system-modal box blocks the whole program
};

MessageBoxLook LookOf(MessageKind kind);

class QtMessageService final : public MessageService {
 public:
  MessageAnswer Show(const Message& message) override;
};

}  // namespace koltar
