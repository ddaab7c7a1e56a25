#pragma once
// Sound through Qt Multimedia: a WAV file played by a QSoundEffect, which decodes and
// plays in the background. Without a sound device, or with a file it cannot play, the
// effect only reports an error status, which nobody waits for. A file whose RIFF chunks
// do not hold together is not handed to the effect at all (its decoder does not clean up
// after such a file).

#include <QtGlobal>
#include <memory>
#include <string_view>

#include "platform/sound.h"

class QByteArray;
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

// Whether the start of a file (`head`, its first bytes) of `fileSize` bytes is a WAV
// file whose chunks fit the file: "RIFF", "WAVE", a "fmt " chunk of at least 16 bytes,
// then a non-empty "data" chunk.
bool IsWaveFile(const QByteArray& head, qint64 fileSize);

}  // namespace koltar
