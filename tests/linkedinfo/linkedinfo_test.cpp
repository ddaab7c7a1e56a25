#include "linkedinfo/linkedinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

const std::string kNotLinked =
    "KOLTAR32|EXCLAMATION|'Helységek' kategória 'Budapest' objektumához nincs információs file kapcsolva.\n";

class LinkedInfo : public test::ServicesTest {
 protected:
  void SetUp() override {
    launcher.applications = {{{"editor.desktop", "Szövegszerkesztő"}, ";.txt;"},
                             {{"viewer.desktop", "Néző"}, ";.pdf;"}};
  }
  // A chooser runner that picks the entry of that name (or cancels without one).
  MLinkedInfo::ChooserRunner Choose(std::string name) {
    return [this, name](GetOLEServer& chooser) {
      ++choosers;
      chooserFile = chooser.filePath();
      for (std::int32_t row = 0; row < chooser.count(); ++row)
        if (chooser.name(row) == name) chooser.Select(row);
      if (name.empty()) return false;
      chooser.Accept();
      return true;
    };
  }

  test::TempDir dir;
  std::string file = dir.Model("map.lnk");
  MLinkedInfo links{file};
  test::RecordingLauncher launcher;
  int choosers = 0;
  std::string chooserFile;
};

TEST_F(LinkedInfo, FirstLinkCreatesTheFile) {
  ASSERT_FALSE(std::filesystem::exists(dir.path() / "map.lnk"));
  EXPECT_FALSE(links.HasLink("Helységek", "Budapest"));
  EXPECT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/budapest.txt"));
  EXPECT_EQ(dir.Read("map.lnk"), "[Helységek]\nBudapest=/doc/budapest.txt\n");
  EXPECT_TRUE(links.HasLink("Helységek", "Budapest"));
  EXPECT_FALSE(links.HasLink("Helységek", "Szeged"));
  EXPECT_FALSE(links.HasLink("Utak", "Budapest"));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(LinkedInfo, AttachOverALinkAsksFirst) {
  ASSERT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/regi.txt"));
  services.messages.Answer(MessageAnswer::No);
  EXPECT_FALSE(links.AttachLink("Helységek", "Budapest", "/doc/uj.txt"));
  EXPECT_EQ(links.LinkOf("Helységek", "Budapest"), "/doc/regi.txt");
  services.messages.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/uj.txt"));
  EXPECT_EQ(links.LinkOf("Helységek", "Budapest"), "/doc/uj.txt");
  const std::string question =
      "KOLTAR32|QUESTION|A 'Helységek' kategória 'Budapest' objektumához már van kiegészítő információ "
      "kapcsolva.\n\nMódosítható a kapcsolat?";
  EXPECT_EQ(services.messages.Transcript(), (Lines{question, question}));
}

TEST_F(LinkedInfo, RemoveKeepsTheKeyEmptyAndNeverTouchesTheFile) {
  const std::string linked = dir.Write("budapest.txt", "Budapest");
  ASSERT_TRUE(links.AttachLink("Helységek", "Budapest", linked));
  services.messages.Answer(MessageAnswer::No);
  EXPECT_FALSE(links.RemoveLink("Helységek", "Budapest"));
  EXPECT_TRUE(links.HasLink("Helységek", "Budapest"));
  EXPECT_TRUE(links.RemoveLink("Helységek", "Budapest"));
  EXPECT_EQ(dir.Read("map.lnk"), "[Helységek]\nBudapest=\n");
  EXPECT_FALSE(links.HasLink("Helységek", "Budapest"));
  EXPECT_EQ(dir.Read("budapest.txt"), "Budapest");
  EXPECT_EQ(
      services.messages.Transcript()[0],
      "KOLTAR32|QUESTION|Kiegészítő információk kapcsolatának törlése 'Budapest' objektumnál 'Helységek' "
      "kategóriában.\n(A művelet csak a kapcsolatot törli, a kapcsolt file-t nem.)\n\nTörölhető a "
      "kapcsolat?");
  // Once removed, there is nothing to remove or show.
  services.messages.Clear();
  EXPECT_FALSE(links.RemoveLink("Helységek", "Budapest"));
  EXPECT_FALSE(links.OpenLink("Helységek", "Budapest", launcher, Choose("")));
  EXPECT_EQ(services.messages.Transcript(), (Lines{kNotLinked, kNotLinked}));
  EXPECT_TRUE(launcher.launches.empty());
}

// Attaching and removing rewrite the file whole: a failure at any step leaves it as it
// was, byte for byte, and says which file could not be written.
TEST_F(LinkedInfo, AFailedWriteLeavesTheFileAndSaysSo) {
  const std::string before = "[Helységek]\nSzeged=/doc/szeged.txt\n";
  const std::string attached = before + "Budapest=/doc/budapest.txt\n";
  const std::string failed = "KOLTAR32|EXCLAMATION|Írás hiba '" + file + "' file-ban.";
  const int attachSteps = test::SweepWriteFaults(
      [&] {
        dir.Write("map.lnk", before);
        services.messages.Clear();
      },
      [&] { return links.AttachLink("Helységek", "Budapest", "/doc/budapest.txt"); },
      [&](bool ok, const test::ScopedWriteFault&) {
        EXPECT_EQ(dir.Read("map.lnk"), ok ? attached : before);
        EXPECT_EQ(services.messages.Transcript(), ok ? Lines{} : Lines{failed});
      });
  EXPECT_GE(attachSteps, 4);
  const int removeSteps = test::SweepWriteFaults(
      [&] {
        dir.Write("map.lnk", before);
        services.messages.Clear();
        services.messages.Answer(MessageAnswer::Yes);
      },
      [&] { return links.RemoveLink("Helységek", "Szeged"); },
      [&](bool ok, const test::ScopedWriteFault&) {
        EXPECT_EQ(dir.Read("map.lnk"), ok ? "[Helységek]\nSzeged=\n" : before);
        EXPECT_EQ(services.messages.Transcript().size(), ok ? 1u : 2u);
        if (!ok) EXPECT_EQ(services.messages.Transcript().back(), failed);
      });
  EXPECT_GE(removeSteps, 4);
}

TEST_F(LinkedInfo, WithoutLinkedInformationFileNothingIsStoredOrTold) {
  MLinkedInfo none(dir.Model());  // LINKEDINFO empty: the map's directory alone
  EXPECT_FALSE(none.HasStore());
  EXPECT_TRUE(links.HasStore());
  EXPECT_FALSE(none.AttachLink("Helységek", "Budapest", "/doc/x.txt"));
  EXPECT_FALSE(none.HasLink("Helységek", "Budapest"));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(LinkedInfo, OpensWithTheTypesApplication) {
  ASSERT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/budapest.txt"));
  launcher.defaults = {{".txt", "editor.desktop"}};
  EXPECT_TRUE(links.OpenLink("Helységek", "Budapest", launcher, Choose("")));
  EXPECT_EQ(launcher.launches, Lines{"editor.desktop /doc/budapest.txt"});
  EXPECT_EQ(choosers, 0);
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(LinkedInfo, WithoutDefaultTheUserChooses) {
  ASSERT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/budapest.odt"));
  EXPECT_TRUE(links.OpenLink("Helységek", "Budapest", launcher, Choose("Néző")));
  EXPECT_EQ(chooserFile, "/doc/budapest.odt");
  EXPECT_EQ(launcher.launches, Lines{"viewer.desktop /doc/budapest.odt"});
  // Cancelled: nothing launched, nothing told.
  EXPECT_FALSE(links.OpenLink("Helységek", "Budapest", launcher, Choose("")));
  EXPECT_EQ(launcher.launches.size(), 1u);
  EXPECT_TRUE(services.messages.messages().empty());
  // OK without a choice gives no application.
  EXPECT_FALSE(links.OpenLink("Helységek", "Budapest", launcher, Choose("nincs ilyen")));
  EXPECT_EQ(
      services.messages.Transcript(),
      Lines{
          "KOLTAR32|EXCLAMATION|A program nem tudott alkalmazást társítani a '/doc/budapest.odt' file-hoz."});
}

TEST_F(LinkedInfo, DesktopWithoutApplicationInformation) {
  ASSERT_TRUE(links.AttachLink("Helységek", "Budapest", "/doc/budapest.txt"));
  launcher.available = false;
  launcher.defaults = {{".txt", "editor.desktop"}};
  EXPECT_FALSE(links.OpenLink("Helységek", "Budapest", launcher, Choose("Néző")));
  EXPECT_EQ(choosers, 0);
  EXPECT_TRUE(launcher.launches.empty());
  EXPECT_EQ(
      services.messages.Transcript(),
      Lines{"KOLTAR32|EXCLAMATION|A program nem tudja elérni a Windows regisztrációs adatbázisát, ezért nem "
            "tudja a szükséges alkalmazást megkeresni."});
}

TEST_F(LinkedInfo, CurrentObjectIsWhatTheMenuActsOn) {
  links.SetCurrent("Helységek", "Szeged");
  EXPECT_EQ(links.currentCategory(), "Helységek");
  EXPECT_EQ(links.currentObject(), "Szeged");
}

}  // namespace
}  // namespace koltar
