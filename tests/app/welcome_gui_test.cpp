// The welcome screen in the program: its window at the middle of the screen for the
// display time, and a start-up that neither a missing picture nor a machine without a
// sound device delays.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/koltar_app.h"
#include "app/main_frame.h"
#include "app/welcome_window.h"
#include "platform/bmp.h"
#include "platform/paths.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_sound.h"
#include "tests/support/test_env.h"
#include "welcome/welcome.h"

namespace koltar {
namespace {

const std::filesystem::path kWelcome = std::filesystem::path(KOLTAR_SOURCE_DIR) / "resources" / "welcome";

class WelcomeGui : public test::ServicesTest {
 protected:
  std::string Settings(const std::string& keys) { return dir.Write("koltar.INI", "[WELCOME]\n" + keys); }
  QRect Screen() const { return QGuiApplication::primaryScreen()->geometry(); }
  // The longest time the event loop was kept from running during `milliseconds`.
  static qint64 LongestStall(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    while (clock.elapsed() < milliseconds) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      const qint64 now = clock.elapsed();
      longest = std::max(longest, now - last);
      last = now;
    }
    return longest;
  }

  test::TempDir dir;
  QtImageService images;
};

TEST_F(WelcomeGui, PictureStaysForTheDisplayTimeInTheMiddleOfTheScreen) {
  const MWelcome welcome(
      Settings("PICTURE=" + ModelFileName(kWelcome / "welcome.bmp") + "\nDISPLAYTIME=0.3\n"),
      Screen().width(), Screen().height(), images);
  ASSERT_TRUE(welcome.hasPicture());
  WelcomeWindow window(welcome);
  QElapsedTimer clock;
  clock.start();
  window.Start();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.geometry().center(), Screen().center());
  EXPECT_EQ(window.size(), QSize(440, 270));
  EXPECT_EQ(window.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(220, 5),
            window.picture().pixel(220, 5));
  EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 3000);
  EXPECT_GE(clock.elapsed(), 290);
  // No time at all: closed at the first timer event.
  const MWelcome brief(Settings("PICTURE=" + ModelFileName(kWelcome / "welcome.bmp") + "\nDISPLAYTIME=-3\n"),
                       Screen().width(), Screen().height(), images);
  WelcomeWindow gone(brief);
  gone.Start();
  QTRY_VERIFY_WITH_TIMEOUT(!gone.isVisible(), 1000);
}

// Our own sound: a short PCM wave (16-bit mono) whose data chunk fills the file.
TEST_F(WelcomeGui, OwnSoundIsAShortPcmWave) {
  std::ifstream in(kWelcome / "welcome.wav", std::ios::binary);
  const std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(wav.size(), 44u);
  auto word = [&](std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int b = bytes - 1; b >= 0; --b)
      v = v << 8 | static_cast<unsigned char>(wav[at + static_cast<std::size_t>(b)]);
    return v;
  };
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(word(20, 2), 1u);   // PCM
  EXPECT_EQ(word(22, 2), 1u);   // mono
  EXPECT_EQ(word(34, 2), 16u);  // bits
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(word(40, 4) + 44, wav.size());
  const double seconds = word(40, 4) / 2.0 / word(24, 4);
  EXPECT_GT(seconds, 0.3);
  EXPECT_LT(seconds, 2.0);
}

TEST(WaveFile, ChunksMustFitTheFile) {
  std::ifstream in(kWelcome / "welcome.wav", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const QByteArray wav(bytes.data(), static_cast<qsizetype>(bytes.size()));
  EXPECT_TRUE(IsWaveFile(wav, wav.size()));
  EXPECT_TRUE(IsWaveFile(wav.left(64), wav.size()));  // the head is enough
  EXPECT_FALSE(IsWaveFile(wav, wav.size() - 1));      // a cut file
  EXPECT_FALSE(IsWaveFile("RIFF....WAVEfmt not really", 26));
  EXPECT_FALSE(IsWaveFile(QByteArray("RIFX") + wav.mid(4), wav.size()));
  QByteArray noFormat = wav;
  noFormat.replace(12, 4, "LIST");
  EXPECT_FALSE(IsWaveFile(noFormat, noFormat.size()));
  EXPECT_FALSE(IsWaveFile(QByteArray(), 0));
}

// The sound starts and the main window comes up at once, whatever the sound device, and
// so does the start-up with a picture and sound that cannot be read.
TEST_F(WelcomeGui, StartUpIsNotDelayedBySoundOrBrokenFiles) {
  const std::string damaged = dir.Write("damaged.wav", "RIFF....WAVEfmt not really");
  for (const std::string& keys : std::vector<std::string>{
           "PICTURE=" + ModelFileName(kWelcome / "welcome.bmp") +
               "\nDISPLAYTIME=5\nSOUND=" + ModelFileName(kWelcome / "welcome.wav") + "\n",
           "PICTURE=" + dir.Write("damaged.bmp", "BM") + "\nSOUND=" + damaged + "\n",
           "PICTURE=" + dir.Model("nincs.bmp") + "\nSOUND=" + dir.Model("nincs.wav") + "\n"}) {
    Settings(keys + "[MAP]\nDEFAULT=\n");
    QElapsedTimer clock;
    clock.start();
    {
      Koltar koltar(ProgramFiles{dir.Model("koltar.INI"), dir.Model("koltar.HLP")});
      koltar.Show();
      EXPECT_LT(clock.elapsed(), 1500) << keys;
      EXPECT_TRUE(koltar.frame().isVisible());
      EXPECT_EQ(koltar.welcomeWindow() != nullptr,
                keys.find("damaged") == std::string::npos && keys.find("nincs") == std::string::npos)
          << keys;
      EXPECT_LT(LongestStall(600), 250) << keys;
    }
    EXPECT_LT(clock.elapsed(), 3000) << keys;
  }
  EXPECT_TRUE(services.messages.messages().empty());
}

}  // namespace
}  // namespace koltar
