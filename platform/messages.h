#pragma once
// Message boxes. The core shows every message through the installed MessageService;
// the application installs one that opens real boxes, the command-line tool one that
// writes to standard error, the tests one that records and answers from a script.

#include <string>
#include <string_view>

namespace koltar {

// Caption of nearly every box, and the application name that a few boxes carry.
inline constexpr std::string_view kMessageCaption = "KOLTAR32";
inline constexpr std::string_view kApplicationName = "Koltar-DEKA";

enum class MessageKind {
  Plain,        // OK button, no icon
  Stop,         // stop icon, OK
  Exclamation,  // exclamation icon, OK
  Information,  // information icon, OK
  Question,     // question icon, Yes and No
  SystemModal,  // OK, modal to the whole program (used for "Nincs elég memória.")
};

enum class MessageAnswer { Ok, Yes, No };

// An owner window, opaque to the core (the Qt layer keeps a QWidget* in it).
using WindowHandle = void*;

struct Message {
  std::string text;  // code page 1250
  MessageKind kind = MessageKind::Plain;
  std::string caption;  // code page 1250
  WindowHandle owner = nullptr;
};

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows the box and returns the button pressed.
  virtual MessageAnswer Show(const Message& message) = 0;
};

// Writes "KOLTAR32: <text>" lines (UTF-8) to standard error and answers OK, or No to a
// question, so that nothing is changed without a user. The default until another
// service is installed.
class StderrMessageService final : public MessageService {
 public:
  MessageAnswer Show(const Message& message) override;
};

// Shows a box through the installed service. Text and caption are code page 1250.
MessageAnswer ShowMessage(std::string_view text, MessageKind kind, WindowHandle owner = nullptr,
                          std::string_view caption = kMessageCaption);

}  // namespace koltar
