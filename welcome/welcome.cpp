#include "welcome/welcome.h"

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/scan.h"

namespace koltar {
namespace {

constexpr char kSection[] = "WELCOME";
constexpr int kFileBuffer = 260;
constexpr int kTimeBuffer = 8;
constexpr double kLongestTime = 60.0;

}  // namespace

double ReadDisplayTime(std::string_view text) {
  double seconds = 0.0;
  if (ScanValues(text, "%lf", seconds) != 1 || std::isnan(seconds) || seconds <= 0.0) return 0.0;
  return std::min(seconds, kLongestTime);
}

MWelcome::MWelcome(std::string_view settingsFile, int screenWidth, int screenHeight, ImageService& images,
                   SoundPlayer& sound) {
  const std::string picture = ReadProfileString(kSection, "PICTURE", "", kFileBuffer, settingsFile);
  displayTime_ =
      ReadDisplayTime(ReadProfileString(kSection, "DISPLAYTIME", "1.0", kTimeBuffer, settingsFile));
  const std::string soundFile = ReadProfileString(kSection, "SOUND", "", kFileBuffer, settingsFile);

  if (!picture.empty() && FileExists(picture)) picture_ = images.LoadBitmapFile(picture);
  if (picture_ && (picture_->width() <= 0 || picture_->height() <= 0)) picture_.reset();
  if (picture_) {
    const int w = picture_->width();
    const int h = picture_->height();
    const int x = std::max(0, (screenWidth - w) / 2);
    const int y = std::max(0, (screenHeight - h) / 2);
    window_ = DeviceRect{x, y, x + w, y + h};
  }
  if (!soundFile.empty()) sound.PlayAsync(soundFile);
}

}  // namespace koltar
