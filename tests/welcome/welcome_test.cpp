#include "welcome/welcome.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/bmp.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

class Welcome : public test::ServicesTest {
 protected:
  std::string Settings(const std::string& keys) { return dir.Write("koltar.INI", "[WELCOME]\n" + keys); }
  std::string Picture(int width, int height) {
    BmpPicture p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width * height), Rgb(10, 20, 30));
    return dir.Write("welcome.bmp", EncodeBmp(p));
  }
  MWelcome Make(const std::string& keys, int screenWidth = 1024, int screenHeight = 768) {
    return MWelcome(Settings(keys), screenWidth, screenHeight, services.images, sound);
  }

  test::TempDir dir;
  test::RecordingSound sound;
};

TEST_F(Welcome, DisplayTimeIsKeptBetweenZeroAndSixtySeconds) {
  struct Case {
    const char* text;
    double seconds;
    int milliseconds;
  };
  for (const Case& c :
       {Case{"0", 0, 0}, Case{"1.5", 1.5, 1500}, Case{"60", 60, 60000}, Case{"100", 60, 60000},
        Case{"-3", 0, 0}, Case{"abc", 0, 0}, Case{"0.0015", 0.0015, 1}, Case{"nan", 0, 0}}) {
    const MWelcome welcome = Make(std::string("DISPLAYTIME=") + c.text + "\n");
    EXPECT_DOUBLE_EQ(welcome.displayTime(), c.seconds) << c.text;
    EXPECT_EQ(welcome.timerMilliseconds(), c.milliseconds) << c.text;
  }
  EXPECT_DOUBLE_EQ(Make("").displayTime(), 1.0);  // no key: one second
}

TEST_F(Welcome, PictureCentredOnTheScreen) {
  const std::string picture = Picture(301, 200);
  const MWelcome welcome = Make("PICTURE=" + picture + "\n", 1024, 769);
  ASSERT_TRUE(welcome.hasPicture());
  EXPECT_EQ(welcome.picture()->width(), 301);
  EXPECT_EQ(welcome.window(), (DeviceRect{361, 284, 662, 484}));
  EXPECT_TRUE(sound.played.empty());
  // Larger than the screen: at the corner, cut by the screen's edge.
  const MWelcome big = Make("PICTURE=" + picture + "\n", 200, 100);
  EXPECT_EQ(big.window(), (DeviceRect{0, 0, 301, 200}));
}

TEST_F(Welcome, NoPictureNoWindowButTheSoundStillPlays) {
  const std::string wav = dir.Write("welcome.wav", "RIFF");
  for (const std::string& picture :
       {std::string(), dir.Model("nincs.bmp"), dir.Write("damaged.bmp", "BM not a bitmap")}) {
    sound.played.clear();
    const MWelcome welcome = Make("PICTURE=" + picture + "\nSOUND=" + wav + "\n");
    EXPECT_FALSE(welcome.hasPicture()) << picture;
    EXPECT_EQ(sound.played, std::vector<std::string>{wav}) << picture;
  }
  EXPECT_TRUE(services.messages.messages().empty());
  // No sound named: nothing is played.
  sound.played.clear();
  (void)Make("SOUND=\n");
  EXPECT_TRUE(sound.played.empty());
}

}  // namespace
}  // namespace koltar
