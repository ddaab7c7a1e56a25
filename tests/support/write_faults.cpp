#include "tests/support/write_faults.h"

#include <gtest/gtest.h>

namespace koltar::test {
namespace {

const char* StepName(WriteStep step) {
  switch (step) {
    case WriteStep::Open: return "Open";
    case WriteStep::Write: return "Write";
    case WriteStep::Sync: return "Sync";
    case WriteStep::Flush: return "Flush";
    case WriteStep::Rename: return "Rename";
  }
  return "?";
}

}  // namespace

ScopedWriteFault::ScopedWriteFault(int failAt) : failAt_(failAt) {
  SetWriteFaultHook([this](WriteStep step, const std::filesystem::path&) {
    if (++steps_ != failAt_) return true;
    failed_ = true;
    failedStep_ = StepName(step);
    return false;
  });
}

ScopedWriteFault::~ScopedWriteFault() { SetWriteFaultHook(nullptr); }

int SweepWriteFaults(const std::function<void()>& prepare, const std::function<bool()>& write,
                     const std::function<void(bool ok, const ScopedWriteFault& fault)>& check, int every) {
  int steps = 0;
  {
    prepare();
    ScopedWriteFault counting;
    const bool ok = write();
    steps = counting.steps();
    check(ok, counting);
  }
  for (int at = 1; at <= steps; ++at) {
    if (every > 1 && at % every != 1 && at <= steps - every) continue;
    SCOPED_TRACE("write step " + std::to_string(at) + " of " + std::to_string(steps) + " fails");
    prepare();
    ScopedWriteFault fault(at);
    const bool ok = write();
    check(ok, fault);
  }
  return steps;
}

}  // namespace koltar::test
