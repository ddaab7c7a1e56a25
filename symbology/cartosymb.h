#pragma once
// The map's symbology (placeholder until the symbology file is read).

#include <string>
#include <string_view>

namespace koltar {

class MCartoSymb {
 public:
  explicit MCartoSymb(std::string_view fileName) : fileName_(fileName) {}
  const std::string& fileName() const { return fileName_; }

 private:
  std::string fileName_;
};

}  // namespace koltar
