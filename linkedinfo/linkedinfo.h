#pragma once
// Files attached to map objects (an empty store until linked information is read).

#include <string>
#include <string_view>

namespace koltar {

class MLinkedInfo {
 public:
  explicit MLinkedInfo(std::string_view fileName) : fileName_(fileName) {}
  const std::string& fileName() const { return fileName_; }

 private:
  std::string fileName_;
};

}  // namespace koltar
