#pragma once
// The help viewer on Qt: a window of its own with an HTML browser.
//
// The program's help is HTML: when a file exists under the program's help file name it
// is shown, otherwise the help built into the program (":/help/index.html", one page
// ":/help/context-N.html" per context number). A category's information file is an
// HTML file whose topics are anchors named after the objects (<a name="Budapest">,
// or id="Budapest"); the keyword finds its anchor without regard to letter case.

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "platform/help.h"

namespace koltar {

class QtHelp final : public HelpService {
 public:
  ~QtHelp() override;
  void ShowIndex(const std::string& helpFile) override;
  void ShowContext(const std::string& helpFile, int context) override;
  void ShowKeyword(const std::string& helpFile, const std::string& keyword) override;
  void Quit() override;

  // The browser window (null before the first request and after Quit); for tests.
  QTextBrowser* window() const { return window_; }

 private:
  void Show(const QUrl& page, const QString& anchor = {});
  QPointer<QTextBrowser> window_;
};

// The anchor of a page whose name equals the keyword without regard to letter case,
// or an empty string.
QString FindAnchor(const QString& html, const QString& keyword);

}  // namespace koltar
