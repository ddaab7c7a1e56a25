#pragma once
// MWelcome: the welcome screen. At start-up a picture is shown without caption in the
// middle of the screen for a while, and a sound plays; both are optional and named in
// section WELCOME of the program's settings file:
//
//   PICTURE      a BMP file, used as written ("" for none)
//   DISPLAYTIME  seconds the picture stays, a decimal number, default 1.0; 60 and above
//                count as 60, 0 and below (and text that is no number) as 0
//   SOUND        a WAV file, used as written ("" for none)
//
// Without a picture (none named, missing or not a valid BMP) no window is shown; the
// sound still plays. Nothing here ever shows a message or waits: a missing or damaged
// file, or a machine without sound, only means nothing is seen or heard.

#include <memory>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/device_types.h"
#include "platform/services.h"
#include "platform/sound.h"

namespace koltar {

class MWelcome {
 public:
  // Reads the keys of `settingsFile`, loads the picture through `images`, places the
  // window in the middle of a screen of `screenWidth` x `screenHeight` pixels and
  // starts the sound through `sound`.
  MWelcome(std::string_view settingsFile, int screenWidth, int screenHeight, ImageService& images = Images(),
           SoundPlayer& sound = Sound());

  // Whether there is a picture, and so a window to show.
  bool hasPicture() const { return picture_ != nullptr; }
  const Bitmap* picture() const { return picture_.get(); }
  // The window on the screen: the picture's size, centred (halves truncated toward
  // zero), never left of or above the screen's corner.
  const DeviceRect& window() const { return window_; }
  // Seconds, 0 ... 60.
  double displayTime() const { return displayTime_; }
  // How long the window stays: the display time in whole milliseconds.
  int timerMilliseconds() const { return static_cast<int>(displayTime_ * 1000.0); }

 private:
  std::unique_ptr<Bitmap> picture_;
  DeviceRect window_;
  double displayTime_ = 1.0;
};

// DISPLAYTIME read as seconds: the leading decimal number, limited to 0 ... 60; 0 for
// text that does not start with a number.
double ReadDisplayTime(std::string_view text);

}  // namespace koltar
