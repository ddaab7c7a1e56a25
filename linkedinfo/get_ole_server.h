#pragma once
// GetOLEServer: the behaviour of the application chooser ("Alkalmazás társítás"),
// without a window. It lists, by their names, the applications that declare the linked
// file's type first and then all the others, each group sorted (letter case ignored),
// a name that is already listed left out. OK is enabled while an entry is selected; a
// double click on an entry chooses it at once.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/launcher.h"

namespace koltar {

class GetOLEServer {
 public:
  // `filePath`: the linked file (model name), shown above the list.
  GetOLEServer(std::string_view filePath, std::vector<ApplicationInfo> applications);

  const std::string& filePath() const { return filePath_; }
  std::int32_t count() const { return static_cast<std::int32_t>(entries_.size()); }
  // Precondition: 0 <= row < count().
  const ApplicationInfo& entry(std::int32_t row) const { return entries_[static_cast<std::size_t>(row)]; }
  const std::string& name(std::int32_t row) const { return entry(row).name; }

  // The selected entry, -1 for none (at the start).
  std::int32_t selected() const { return selected_; }
  void Select(std::int32_t row);
  bool okEnabled() const { return selected_ >= 0; }
  // A double click: selects the entry; true when it is one, and OK is to be pressed.
  [[nodiscard]] bool DoubleClick(std::int32_t row);
  // OK: the chosen application's id becomes the result ("" without selection).
  void Accept();
  const std::string& result() const { return result_; }

 private:
  std::string filePath_;
  std::vector<ApplicationInfo> entries_;
  std::int32_t selected_ = -1;
  std::string result_;
};

}  // namespace koltar
