#pragma once
// Playing a sound file without waiting for it.

#include <string_view>

namespace koltar {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Starts playing a waveform (WAV) file named by a model file name and returns at once.
  // A file that cannot be played, or a machine without a sound device, plays nothing
  // and shows nothing. A sound that is still playing is not interrupted: the new one is
  // not played then.
  virtual void PlayAsync(std::string_view fileName) = 0;
};

}  // namespace koltar
