#include "platform/qt/qt_help.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace koltar {
namespace {

QUrl ProgramPage(const std::string& helpFile, const QString& builtIn) {
  const QFileInfo file(QString::fromStdString(LocalFileName(helpFile).string()));
  if (file.isFile()) return QUrl::fromLocalFile(file.absoluteFilePath());
  return QUrl(QStringLiteral("qrc:/help/") + builtIn);
}

}  // namespace

QString FindAnchor(const QString& html, const QString& keyword) {
  static const QRegularExpression anchors(QStringLiteral("\\b(?:name|id)\\s*=\\s*[\"']([^\"']*)[\"']"),
                                          QRegularExpression::CaseInsensitiveOption);
  const std::string wanted = FromQString(keyword);
  for (auto it = anchors.globalMatch(html); it.hasNext();) {
    const QString name = it.next().captured(1);
    if (EqualsNoCase(FromQString(name), wanted)) return name;
  }
  return {};
}

QtHelp::~QtHelp() { Quit(); }

void QtHelp::Show(const QUrl& page, const QString& anchor) {
  if (!window_) {
    window_ = new QTextBrowser;
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->setOpenExternalLinks(false);
    window_->resize(640, 560);
  }
  window_->setSource(page);
  if (!anchor.isEmpty()) window_->scrollToAnchor(anchor);
  window_->setWindowTitle(QString::fromUtf8("Súgó - ") + window_->documentTitle());
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void QtHelp::ShowIndex(const std::string& helpFile) {
  Show(ProgramPage(helpFile, QStringLiteral("index.html")));
}

void QtHelp::ShowContext(const std::string& helpFile, int context) {
  // A help file of the user's own has one page; its topics are anchors "context-N".
  const QUrl page = ProgramPage(helpFile, QStringLiteral("context-%1.html").arg(context));
  Show(page, page.isLocalFile() ? QStringLiteral("context-%1").arg(context) : QString());
}

void QtHelp::ShowKeyword(const std::string& helpFile, const std::string& keyword) {
  const QString path = QString::fromStdString(LocalFileName(helpFile).string());
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = file.readAll();
  // Information files come in UTF-8 or, like the map files, in code page 1250.
  QString html = QString::fromUtf8(bytes);
  if (html.contains(QChar::ReplacementCharacter))
    html = ToQString(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  Show(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), FindAnchor(html, ToQString(keyword)));
}

void QtHelp::Quit() {
  if (window_) window_->close();
}

}  // namespace koltar
