#pragma once
// A message service that records every box and answers from a script.

#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace koltar::test {

class RecordingMessageService final : public MessageService {
 public:
  MessageAnswer Show(const Message& message) override;

  // Answers for the next boxes, in order; once used up, OK for plain boxes and Yes
  // for questions.
  void Answer(MessageAnswer answer) { script_.push_back(answer); }

  const std::vector<Message>& messages() const { return messages_; }
  // One line per box: "KOLTAR32|EXCLAMATION|text" (text as it is, code page 1250).
  std::vector<std::string> Transcript() const;
  void Clear() { messages_.clear(); }

 private:
  std::vector<Message> messages_;
  std::deque<MessageAnswer> script_;
};

const char* KindName(MessageKind kind);

}  // namespace koltar::test
