#include "tests/support/recording_platform.h"

#include "platform/paths.h"

namespace koltar::test {
namespace {

std::string ExtensionOf(std::string_view fileName) { return SplitPath(fileName).ext; }

}  // namespace

std::string RecordingLauncher::DefaultApplication(std::string_view fileName) {
  for (const auto& [ext, id] : defaults)
    if (ext == ExtensionOf(fileName)) return id;
  return {};
}

std::vector<ApplicationInfo> RecordingLauncher::Applications(std::string_view fileName) {
  const std::string ext = ExtensionOf(fileName);
  std::vector<ApplicationInfo> out;
  for (auto [app, types] : applications) {
    app.opensType = !ext.empty() && types.find(";" + ext + ";") != std::string::npos;
    out.push_back(app);
  }
  return out;
}

bool RecordingLauncher::Launch(std::string_view applicationId, std::string_view fileName) {
  launches.push_back(std::string(applicationId) + " " + std::string(fileName));
  return true;
}

}  // namespace koltar::test
