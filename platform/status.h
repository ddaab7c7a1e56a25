#pragma once
// The two fields of the main window's status bar that the core writes.

#include <string>

namespace koltar {

class StatusFields {
 public:
  virtual ~StatusFields() = default;
  virtual void SetScaleText(const std::string& text) = 0;     // code page 1250
  virtual void SetPositionText(const std::string& text) = 0;  // code page 1250
};

}  // namespace koltar
