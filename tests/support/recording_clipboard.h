#pragma once
// A clipboard that keeps what was put on it, and can be told to refuse.

#include <string>
#include <string_view>
#include <vector>

#include "platform/clipboard.h"

namespace koltar::test {

class RecordingClipboard final : public ClipboardService {
 public:
  bool SetText(std::string_view cp1250) override;

  // Every text put on the clipboard, in order (code page 1250, as given).
  const std::vector<std::string>& texts() const { return texts_; }
  // Makes the next SetText calls fail.
  void Refuse(bool refuse) { refuse_ = refuse; }

 private:
  std::vector<std::string> texts_;
  bool refuse_ = false;
};

}  // namespace koltar::test
