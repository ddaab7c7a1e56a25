#include "platform/qt/qt_messages.h"

#include <QApplication>
#include <QWidget>

#include "platform/qt/qt_text.h"

namespace koltar {

MessageBoxLook LookOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Plain: return {QMessageBox::NoIcon, QMessageBox::Ok, false};
    case MessageKind::Stop: return {QMessageBox::Critical, QMessageBox::Ok, false};
    case MessageKind::Exclamation: return {QMessageBox::Warning, QMessageBox::Ok, false};
    case MessageKind::Information: return {QMessageBox::Information, QMessageBox::Ok, false};
    case MessageKind::Question: return {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, false};
    case MessageKind::SystemModal: return {QMessageBox::NoIcon, QMessageBox::Ok, true};
  }
  return {QMessageBox::NoIcon, QMessageBox::Ok, false};
}

MessageAnswer QtMessageService::Show(const Message& message) {
  const MessageBoxLook look = LookOf(message.kind);
  // A box without an owner belongs to the active window, so it stays in front of it.
  auto* owner = static_cast<QWidget*>(message.owner);
  if (!owner) owner = QApplication::activeWindow();
  QMessageBox box(look.icon, ToQString(message.caption), ToQString(message.text), look.buttons, owner);
  if (look.applicationModal) box.setWindowModality(Qt::ApplicationModal);
  const int pressed = box.exec();
  switch (pressed) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
  }
}

}  // namespace koltar
