#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/qt_text.h"

namespace koltar {

bool QtClipboard::SetText(std::string_view cp1250) {
  QClipboard* clipboard =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  if (!clipboard) return false;
  // Only plain text: a single format, so that other programs do not pick a richer one.
  auto* data = new QMimeData;
  data->setText(ToQString(cp1250));
  clipboard->clear();
  clipboard->setMimeData(data);
  return true;
}

}  // namespace koltar
