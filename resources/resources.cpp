#include "resources/resources.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QTextStream>
#include <mutex>

// The resource registration function lives in the global namespace.
static void RegisterCompiledResources() {
  Q_INIT_RESOURCE(resources);
  Q_INIT_RESOURCE(help);
}

namespace koltar {
namespace {

const int kToolIconSizes[] = {16, 32};
const int kWindowIconSizes[] = {16, 32, 48, 256};

// Hot spots by cursor name, read from the table beside the cursors ("NAME x y" lines,
// "#" starts a comment line).
QHash<QString, QPoint> ReadHotspots() {
  QHash<QString, QPoint> hotspots;
  QFile file(QStringLiteral(":/cursors/hotspots.txt"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return hotspots;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
    bool x_ok = false;
    bool y_ok = false;
    const QPoint point(fields.value(1).toInt(&x_ok), fields.value(2).toInt(&y_ok));
    if (fields.size() == 3 && x_ok && y_ok) hotspots.insert(fields[0], point);
  }
  return hotspots;
}

const QHash<QString, QPoint>& Hotspots() {
  static const QHash<QString, QPoint> hotspots = ReadHotspots();
  return hotspots;
}

// Resource names are upper-case words (ZOOM, SWITCHON); anything else, a path in
// particular, names no resource.
bool IsResourceName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  for (const char* p = name; *p != '\0'; ++p) {
    const bool word = (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || *p == '_';
    if (!word) return false;
  }
  return true;
}

QIcon IconOfSizes(const QString& stem, const int* sizes, int count) {
  QIcon icon;
  for (int i = 0; i < count; ++i) {
    const QString file = QStringLiteral(":/icons/%1-%2.png").arg(stem).arg(sizes[i]);
    if (QFile::exists(file)) icon.addFile(file, QSize(sizes[i], sizes[i]));
  }
  return icon;
}

}  // namespace

void InitResources() {
  static std::once_flag once;
  std::call_once(once, RegisterCompiledResources);
}

QIcon CommandIcon(int command) {
  InitResources();
  return IconOfSizes(QString::number(command), kToolIconSizes, 2);
}

QCursor ToolCursor(const char* name) {
  InitResources();
  if (!IsResourceName(name)) return QCursor(Qt::ArrowCursor);
  const QString key = QString::fromLatin1(name);
  const QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(key));
  if (picture.isNull()) return QCursor(Qt::ArrowCursor);
  // A hot spot outside the picture would point somewhere else than the figure shows; the
  // centre is the safer guess.
  const QPoint hotspot = Hotspots().value(key, QPoint(-1, -1));
  if (!picture.rect().contains(hotspot)) return QCursor(picture);
  return QCursor(picture, hotspot.x(), hotspot.y());
}

QPixmap ResourceBitmap(const char* name) {
  InitResources();
  if (!IsResourceName(name)) return {};
  return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(QString::fromLatin1(name)));
}

QIcon ProgramIcon() {
  InitResources();
  return IconOfSizes(QStringLiteral("KOLTAR_ICON"), kWindowIconSizes, 4);
}

QIcon MapIcon() {
  InitResources();
  return IconOfSizes(QStringLiteral("MAP_ICON"), kWindowIconSizes, 4);
}

}  // namespace koltar
