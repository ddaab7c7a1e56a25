#include <gtest/gtest.h>

#include <fstream>

#include "platform/qt/qt_help.h"
#include "resources/resources.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

TEST(QtHelp, AnchorsMatchWithoutRegardToCase) {
  const QString html = QString::fromUtf8("<a name=\"Budapest\"></a><p id='GYŐR'>x</p><a href=\"#Pécs\">");
  EXPECT_EQ(FindAnchor(html, QStringLiteral("budapest")), QStringLiteral("Budapest"));
  EXPECT_EQ(FindAnchor(html, QString::fromUtf8("Győr")), QString::fromUtf8("GYŐR"));
  EXPECT_TRUE(FindAnchor(html, QString::fromUtf8("Pécs")).isEmpty());  // a link is no topic
}

TEST(QtHelp, BuiltInPagesWhenTheProgramHasNoHelpFile) {
  InitResources();
  QtHelp help;
  help.ShowContext("/nonexistent/koltar.HLP", 2);
  ASSERT_NE(help.window(), nullptr);
  EXPECT_EQ(help.window()->source(), QUrl(QStringLiteral("qrc:/help/context-2.html")));
  EXPECT_EQ(help.window()->documentTitle(), QString::fromUtf8("Optimális út keresése"));
  help.ShowIndex("/nonexistent/koltar.HLP");
  EXPECT_TRUE(help.window()->toPlainText().contains(QString::fromUtf8("Témakörök")));
  for (int context = 1; context <= 6; ++context) {
    help.ShowContext("/nonexistent/koltar.HLP", context);
    EXPECT_FALSE(help.window()->documentTitle().isEmpty()) << context;
  }
  help.Quit();
}

TEST(QtHelp, InformationFileOpensAtTheObjectsTopic) {
  test::TempDir dir;
  std::string page = "<html><body><h1>Telep\xFCl\xE9sek</h1>";
  for (int i = 0; i < 200; ++i) page += "<p>sor</p>";
  page += "<a name=\"Szeged\"></a><h2>Szeged</h2><p>A Tisza partj\xE1n.</p></body></html>";
  const std::string file = dir.Write("info.html", page);  // code page 1250 bytes
  QtHelp help;
  help.ShowKeyword(file, "SZEGED");
  ASSERT_NE(help.window(), nullptr);
  EXPECT_TRUE(help.window()->source().isLocalFile());
  help.ShowKeyword(dir.Model("missing.html"), "Szeged");  // nothing to show, no crash
  help.Quit();
}

}  // namespace
}  // namespace koltar
