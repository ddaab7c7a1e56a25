#pragma once
// The clipboard on Qt: the application's clipboard, plain text.

#include "platform/clipboard.h"

namespace koltar {

class QtClipboard final : public ClipboardService {
 public:
  // Puts the text on the clipboard as text/plain (UTF-8); false without a clipboard
  // (no application object).
  bool SetText(std::string_view cp1250) override;
};

}  // namespace koltar
