#include "tests/support/scripted_progress.h"

namespace koltar::test {

void ScriptedProgress::Start(const std::string& text) {
  ++depth_;
  events_.push_back("START " + text);
}

void ScriptedProgress::Set(int percent) { events_.push_back("SET " + std::to_string(percent)); }

void ScriptedProgress::End() {
  events_.push_back("END");
  if (depth_ > 0 && --depth_ == 0) escLatched_ = false;
}

bool ScriptedProgress::EscapePressed() {
  ++polls_;
  if (escAtPoll_ > 0 && polls_ == escAtPoll_) escLatched_ = true;
  if (escLatched_) events_.push_back("ESC");
  return escLatched_;
}

std::vector<int> ScriptedProgress::percents() const {
  std::vector<int> out;
  for (const std::string& e : events_)
    if (e.rfind("SET ", 0) == 0) out.push_back(std::stoi(e.substr(4)));
  return out;
}

}  // namespace koltar::test
