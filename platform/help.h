#pragma once
// The help viewer: the program's help file at its index or at a context number, a
// category's information file at a keyword (an object's name), and closing at exit.

#include <string>

namespace koltar {

class HelpService {
 public:
  virtual ~HelpService() = default;
  virtual void ShowIndex(const std::string& helpFile) = 0;
  virtual void ShowContext(const std::string& helpFile, int context) = 0;
  // Opens an information file at the topic named by the keyword (code page 1250).
  virtual void ShowKeyword(const std::string& helpFile, const std::string& keyword) = 0;
  virtual void Quit() = 0;
};

}  // namespace koltar
