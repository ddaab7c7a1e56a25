#pragma once
// Failures injected into the writes of the file layer (platform/files.h): the steps of
// every write are counted, and one of them can be made to fail.

#include <functional>
#include <string>

#include "platform/files.h"

namespace koltar::test {

// Counts the write steps while it lives and makes step `failAt` (counted from 1) fail;
// 0 fails none. Removes the hook afterwards.
class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(int failAt = 0);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

  int steps() const { return steps_; }
  bool failed() const { return failed_; }
  // "Open", "Write", "Sync", "Flush" or "Rename" of the step that failed.
  const std::string& failedStep() const { return failedStep_; }

 private:
  int failAt_;
  int steps_ = 0;
  bool failed_ = false;
  std::string failedStep_;
};

// Runs `write` once without failures to count its steps, then once more for each step
// with that step failing; before each run `prepare` sets the files up anew, after each
// `check(ok, fault)` looks at them (`ok` is what `write` returned). Returns the steps
// counted. With `every` > 1 only every that many-th step fails, and each of the last
// `every` steps (where long writes commit), to keep a long write's sweep short.
int SweepWriteFaults(const std::function<void()>& prepare, const std::function<bool()>& write,
                     const std::function<void(bool ok, const ScopedWriteFault& fault)>& check, int every = 1);

}  // namespace koltar::test
