#pragma once
// Long operations (loading, drawing, route search) run without returning to the event
// loop. They report through this service: a text and a percentage gauge in the status
// bar, and a poll that tells whether ESC was pressed. One ESC press is seen by the
// innermost loop that polls and then by every enclosing loop, and is forgotten when the
// outermost operation ends.

#include <string>
#include <string_view>

namespace koltar {

class ProgressService {
 public:
  virtual ~ProgressService() = default;
  virtual void Start(const std::string& text) = 0;  // code page 1250
  virtual void Set(int percent) = 0;                // 0 ... 100
  virtual void End() = 0;
  // Cheap enough to call once per drawn object.
  virtual bool EscapePressed() = 0;
};

// A mouse cursor that says "busy" while it is on.
class WaitCursorService {
 public:
  virtual ~WaitCursorService() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

// The installed services' operations.
void ProgressStart(std::string_view text);
void ProgressSet(int percent);
void ProgressEnd();
bool EscapePressed();

// Shows the wait cursor for the lifetime of the object.
class ScopedWaitCursor {
 public:
  ScopedWaitCursor();
  ~ScopedWaitCursor();
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};

}  // namespace koltar
