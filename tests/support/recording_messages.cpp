#include "tests/support/recording_messages.h"

namespace koltar::test {

const char* KindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Plain: return "PLAIN";
    case MessageKind::Stop: return "STOP";
    case MessageKind::Exclamation: return "EXCLAMATION";
    case MessageKind::Information: return "INFORMATION";
    case MessageKind::Question: return "QUESTION";
    case MessageKind::SystemModal: return "SYSTEMMODAL";
  }
  return "?";
}

MessageAnswer RecordingMessageService::Show(const Message& message) {
  messages_.push_back(message);
  if (!script_.empty()) {
    const MessageAnswer a = script_.front();
    script_.pop_front();
    return a;
  }
  return message.kind == MessageKind::Question ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::vector<std::string> RecordingMessageService::Transcript() const {
  std::vector<std::string> lines;
  for (const Message& m : messages_) lines.push_back(m.caption + "|" + KindName(m.kind) + "|" + m.text);
  return lines;
}

}  // namespace koltar::test
