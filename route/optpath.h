#pragma once
// The road network category (placeholder until the road network is read).

#include <string>
#include <string_view>

namespace koltar {

class MOptPath {
 public:
  MOptPath(std::string_view categoryName, std::string_view, std::string_view)
      : name_(categoryName) {}
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace koltar
