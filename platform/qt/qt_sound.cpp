#include "platform/qt/qt_sound.h"

#include <QByteArray>
#include <QFile>
#include <QSoundEffect>
#include <QString>
#include <QUrl>
#include <QtEndian>

#include "platform/paths.h"

namespace koltar {
namespace {

// The chunks before the samples lie within this many bytes of a file's start.
constexpr qint64 kHeaderBytes = 65536;

}  // namespace

bool IsWaveFile(const QByteArray& head, qint64 fileSize) {
  if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") return false;
  bool format = false;
  qint64 at = 12;
  while (at + 8 <= head.size()) {
    const QByteArray id = head.mid(at, 4);
    const qint64 size = qFromLittleEndian<quint32>(head.constData() + at + 4);
    if (size > fileSize - at - 8) return false;
    if (id == "fmt ") {
      if (size < 16) return false;
      format = true;
    } else if (id == "data") {
      return format && size > 0;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::PlayAsync(std::string_view fileName) {
  if (effect_ && effect_->isPlaying()) return;
  const QString path = QString::fromStdString(LocalFileName(fileName).string());
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !IsWaveFile(file.read(kHeaderBytes), file.size())) return;
  file.close();
  effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl::fromLocalFile(path));
  // Plays as soon as the file is loaded; a file that does not load never plays.
  effect_->play();
}

}  // namespace koltar
