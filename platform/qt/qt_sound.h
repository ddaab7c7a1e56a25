#pragma once
// Sound through Qt Multimedia: a WAV file played by a QSoundEffect, which decodes and
// plays in the background. Without a sound device, or with a file it cannot play, the
// effect only reports an error status, which nobody waits for.

#include <memory>
#include <string_view>

#include "platform/sound.h"

class QSoundEffect;

namespace koltar {

class QtSoundPlayer final : public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  void PlayAsync(std::string_view fileName) override;

  // The effect of the last sound started; null before the first.
  QSoundEffect* effect() const { return effect_.get(); }

 private:
  std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace koltar
