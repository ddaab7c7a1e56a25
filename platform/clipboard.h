#pragma once
// The clipboard, for plain text only: what the route list copies.

#include <string_view>

namespace koltar {

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  // Empties the clipboard and puts the text (code page 1250, line ends as given) on it
  // as plain text; false when the clipboard cannot take it.
  [[nodiscard]] virtual bool SetText(std::string_view cp1250) = 0;
};

}  // namespace koltar
