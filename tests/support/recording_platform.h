#pragma once
// Recording fakes of the file launcher and the sound player.

#include <string>
#include <string_view>
#include <vector>

#include "platform/launcher.h"
#include "platform/sound.h"

namespace koltar::test {

// A launcher with a fixed list of applications and default applications by file
// extension; it records every launch as "<id> <file>".
class RecordingLauncher final : public FileLauncher {
 public:
  bool Available() override { return available; }
  std::string DefaultApplication(std::string_view fileName) override;
  std::vector<ApplicationInfo> Applications(std::string_view fileName) override;
  bool Launch(std::string_view applicationId, std::string_view fileName) override;

  bool available = true;
  // Extension (".txt") and the id of its default application.
  std::vector<std::pair<std::string, std::string>> defaults;
  // The applications, each with the extensions it declares (";.txt;.doc;").
  std::vector<std::pair<ApplicationInfo, std::string>> applications;
  std::vector<std::string> launches;
};

class RecordingSound final : public SoundPlayer {
 public:
  void PlayAsync(std::string_view fileName) override { played.emplace_back(fileName); }
  std::vector<std::string> played;
};

}  // namespace koltar::test
