#pragma once
// A progress service that records the operations and presses ESC at a chosen poll.

#include <string>
#include <vector>

#include "platform/progress.h"
#include "platform/status.h"

namespace koltar::test {

class ScriptedProgress final : public ProgressService {
 public:
  void Start(const std::string& text) override;
  void Set(int percent) override;
  void End() override;
  // Polls are counted from 1. From the poll chosen by PressEscAtPoll on, every poll
  // sees ESC until the outermost operation ends, as one real key press does.
  bool EscapePressed() override;

  void PressEscAtPoll(int poll) { escAtPoll_ = poll; }
  int polls() const { return polls_; }
  // "START text", "SET 25", "END" and, for polls that saw ESC, "ESC".
  const std::vector<std::string>& events() const { return events_; }
  std::vector<int> percents() const;
  int depth() const { return depth_; }

 private:
  std::vector<std::string> events_;
  int polls_ = 0;
  int escAtPoll_ = 0;
  bool escLatched_ = false;
  int depth_ = 0;
};

class RecordingWaitCursor final : public WaitCursorService {
 public:
  void Begin() override {
    ++depth;
    ++begins;
  }
  void End() override { --depth; }
  int depth = 0;
  int begins = 0;
};

class RecordingStatusFields final : public StatusFields {
 public:
  void SetScaleText(const std::string& text) override { scale = text; }
  void SetPositionText(const std::string& text) override { position = text; }
  std::string scale;
  std::string position;
};

}  // namespace koltar::test
