// The welcome screen's picture, a landscape map with a planned route under the
// program's name, and its sound, a short rising chime. Both are made here from nothing
// but code: the picture on a QPainter with the lettering drawn as strokes (no font, so
// that it looks alike on every machine), the sound sample by sample.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "tools/icons/artwork.h"
#include "tools/icons/icon_painter.h"

namespace koltar::icons {
namespace {

using namespace colour;

constexpr int kWidth = 440;
constexpr int kHeight = 270;

QPainterPath Curve(std::initializer_list<QPointF> points) {
  auto p = points.begin();
  QPainterPath path(*p++);
  while (p != points.end()) {
    const QPointF c1 = *p++;
    const QPointF c2 = *p++;
    const QPointF end = *p++;
    path.cubicTo(c1, c2, end);
  }
  return path;
}

void StrokePath(QPainter& painter, const QPainterPath& path, const QColor& colour, double width) {
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// The letters of the program's name as strokes in a box of height 1 (width 0.7, the O
// 0.8), x from the box's left.
QPainterPath Letter(char letter) {
  QPainterPath p;
  switch (letter) {
    case 'K':
      p.moveTo(0, 0);
      p.lineTo(0, 1);
      p.moveTo(0.62, 0);
      p.lineTo(0.02, 0.56);
      p.moveTo(0.2, 0.4);
      p.lineTo(0.66, 1);
      break;
    case 'O': p.addEllipse(QRectF(0, 0, 0.8, 1)); break;
    case 'L':
      p.moveTo(0, 0);
      p.lineTo(0, 1);
      p.lineTo(0.58, 1);
      break;
    case 'T':
      p.moveTo(0, 0);
      p.lineTo(0.7, 0);
      p.moveTo(0.35, 0);
      p.lineTo(0.35, 1);
      break;
    case 'A':
      p.moveTo(0, 1);
      p.lineTo(0.36, 0);
      p.lineTo(0.72, 1);
      p.moveTo(0.13, 0.66);
      p.lineTo(0.59, 0.66);
      break;
    case 'R':
      p.moveTo(0, 1);
      p.lineTo(0, 0);
      p.lineTo(0.38, 0);
      p.cubicTo(0.7, 0, 0.7, 0.52, 0.38, 0.52);
      p.lineTo(0, 0.52);
      p.moveTo(0.3, 0.52);
      p.lineTo(0.66, 1);
      break;
    default: break;
  }
  return p;
}

void Lettering(QPainter& painter, const char* text, QPointF at, double height) {
  QPainterPath word;
  double x = 0;
  for (const char* c = text; *c; ++c) {
    QPainterPath letter = Letter(*c);
    word.addPath(letter.translated(x, 0));
    x += letter.boundingRect().width() + 0.34;
  }
  QTransform place;
  place.translate(at.x() - (x - 0.34) * height / 2, at.y());
  place.scale(height, height);
  const QPainterPath shown = place.map(word);
  StrokePath(painter, shown.translated(2.5, 3), QColor(0, 0, 0, 90), height * 0.17);
  StrokePath(painter, shown, kNavy, height * 0.17);
  StrokePath(painter, shown, Qt::white, height * 0.09);
}

void Flag(QPainter& painter, QPointF foot) {
  painter.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(foot, foot - QPointF(0, 34));
  QPainterPath pennant(foot - QPointF(0, 34));
  pennant.lineTo(foot + QPointF(20, -27));
  pennant.lineTo(foot - QPointF(0, 20));
  pennant.closeSubpath();
  painter.setPen(QPen(kOutline, 1.2));
  painter.setBrush(kRed);
  painter.drawPath(pennant);
}

}  // namespace

QImage DrawWelcomePicture() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // Land under a pale sky band, with darker fields and a lake.
  QLinearGradient ground(0, 0, 0, kHeight);
  ground.setColorAt(0, QColor(0xe4, 0xf2, 0xfc));
  ground.setColorAt(0.3, kLand);
  ground.setColorAt(1, kLandShade);
  painter.fillRect(image.rect(), ground);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xb0, 0xd8, 0x8c));
  painter.drawEllipse(QRectF(-60, 150, 220, 120));
  painter.drawEllipse(QRectF(290, 190, 200, 110));
  painter.setBrush(QColor(0x8c, 0xbe, 0x6c));
  for (const QRectF& tree : {QRectF(60, 118, 18, 18), QRectF(74, 126, 14, 14), QRectF(380, 122, 16, 16),
                             QRectF(396, 130, 13, 13), QRectF(214, 232, 15, 15)})
    painter.drawEllipse(tree);
  QRadialGradient lake(QPointF(330, 150), 60);
  lake.setColorAt(0, QColor(0x7c, 0xbc, 0xf0));
  lake.setColorAt(1, kWater);
  painter.setBrush(lake);
  painter.setPen(QPen(QColor(0x3c, 0x80, 0xc8), 1.5));
  painter.drawPath(
      Curve({{290, 140}, {300, 110}, {370, 112}, {376, 140}, {382, 170}, {320, 184}, {290, 140}}));

  // A river, the roads and the planned route with its two ends.
  StrokePath(painter,
             Curve({{-10, 206}, {80, 190}, {120, 250}, {210, 262}, {280, 272}, {300, 240}, {330, 180}}),
             kWater, 6);
  const QPainterPath main =
      Curve({{-10, 176}, {110, 150}, {170, 220}, {260, 200}, {330, 186}, {380, 222}, {450, 214}});
  const QPainterPath side =
      Curve({{150, 290}, {160, 230}, {200, 170}, {250, 130}, {290, 100}, {330, 110}, {450, 96}});
  for (const QPainterPath* road : {&main, &side}) {
    StrokePath(painter, *road, kOutline, 7);
    StrokePath(painter, *road, kRoad, 4.5);
  }
  const QPainterPath route =
      Curve({{70, 178}, {120, 160}, {160, 214}, {206, 196}, {232, 180}, {240, 150}, {270, 122}});
  StrokePath(painter, route, QColor(0xff, 0xff, 0xff, 200), 9);
  StrokePath(painter, route, kRoute, 5);
  painter.setPen(QPen(kOutline, 1.5));
  painter.setBrush(kStart);
  painter.drawEllipse(QPointF(70, 178), 8, 8);
  Flag(painter, QPointF(270, 122));

  // The name over the sky, and a frame.
  Lettering(painter, "KOLTAR", QPointF(kWidth / 2.0, 26), 58);
  painter.setPen(QPen(kNavy, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(1, 1, kWidth - 2, kHeight - 2));
  return image;
}

QByteArray MakeWelcomeSound() {
  constexpr int kRate = 22050;
  constexpr double kPi = 3.14159265358979323846;
  // A rising major triad, each note starting while the last one rings.
  struct Note {
    double start;      // seconds
    double frequency;  // Hz
  };
  constexpr std::array<Note, 3> kNotes = {{{0.0, 659.26}, {0.12, 830.61}, {0.24, 987.77}}};
  constexpr double kLength = 0.95;
  const int samples = static_cast<int>(kLength * kRate);
  QByteArray pcm;
  pcm.reserve(samples * 2);
  for (int i = 0; i < samples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double value = 0;
    for (const Note& note : kNotes) {
      const double local = t - note.start;
      if (local < 0) continue;
      // A quick rise, then a bell-like decay; the octave above rings more briefly.
      const double envelope = std::min(1.0, local / 0.006) * std::exp(-local * 5.5);
      value += envelope * (std::sin(2 * kPi * note.frequency * local) +
                           0.3 * std::exp(-local * 6.0) * std::sin(4 * kPi * note.frequency * local));
    }
    // Fade the tail out so that the sound ends in silence.
    const double tail = std::min(1.0, (kLength - t) / 0.15);
    const auto sample = static_cast<std::int16_t>(std::lround(value * tail * 0.28 * 32767));
    pcm.append(static_cast<char>(sample & 0xff));
    pcm.append(static_cast<char>((sample >> 8) & 0xff));
  }
  auto word = [](QByteArray& out, std::uint32_t v, int bytes) {
    for (int b = 0; b < bytes; ++b) out.append(static_cast<char>((v >> (8 * b)) & 0xff));
  };
  QByteArray wav("RIFF");
  word(wav, static_cast<std::uint32_t>(36 + pcm.size()), 4);
  wav.append("WAVEfmt ");
  word(wav, 16, 4);         // format chunk size
  word(wav, 1, 2);          // PCM
  word(wav, 1, 2);          // mono
  word(wav, kRate, 4);      // samples per second
  word(wav, kRate * 2, 4);  // bytes per second
  word(wav, 2, 2);          // bytes per sample frame
  word(wav, 16, 2);         // bits per sample
  wav.append("data");
  word(wav, static_cast<std::uint32_t>(pcm.size()), 4);
  wav.append(pcm);
  return wav;
}

}  // namespace koltar::icons
