#pragma once
// Opening files with applications through GIO: the desktop's MIME database gives a
// file's type, its default applications (mimeapps.list) the application for a type, and
// its desktop entries the applications there are. GIO starts an application from the
// command of its desktop entry with the file's path as one argument of its own, without
// a shell, so that no file name can change what is run.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/launcher.h"

namespace koltar {

class GioLauncher final : public FileLauncher {
 public:
  bool Available() override;
  std::string DefaultApplication(std::string_view fileName) override;
  std::vector<ApplicationInfo> Applications(std::string_view fileName) override;
  bool Launch(std::string_view applicationId, std::string_view fileName) override;
};

// The MIME type of a file as the desktop sees it ("text/plain"): from its contents and
// name when it can be read, else from its name alone; "" when GIO cannot tell.
std::string ContentTypeOf(const std::filesystem::path& file);

}  // namespace koltar
