#include "tests/support/recording_clipboard.h"

namespace koltar::test {

bool RecordingClipboard::SetText(std::string_view cp1250) {
  if (refuse_) return false;
  texts_.emplace_back(cp1250);
  return true;
}

}  // namespace koltar::test
