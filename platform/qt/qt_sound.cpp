#include "platform/qt/qt_sound.h"

#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include "platform/paths.h"

namespace koltar {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::PlayAsync(std::string_view fileName) {
  if (effect_ && effect_->isPlaying()) return;
  const QString path = QString::fromStdString(LocalFileName(fileName).string());
  effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl::fromLocalFile(path));
  // Plays as soon as the file is loaded; a file that does not load never plays.
  effect_->play();
}

}  // namespace koltar
