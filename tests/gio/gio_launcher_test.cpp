// The GIO launcher against a desktop of its own: a MIME type, desktop entries and default
// applications in temporary XDG folders (set before GIO first looks), and applications
// that are scripts recording the arguments they were started with.

#include "platform/gio/gio_launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/paths.h"

namespace koltar {
namespace {

namespace fs = std::filesystem;

std::string Describe(const std::vector<ApplicationInfo>& apps) {
  std::string out;
  for (const ApplicationInfo& a : apps)
    out += a.id + "|" + a.name + "|" + (a.opensType ? "type" : "-") + "\n";
  return out;
}

fs::path Root() {
  static const fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "koltar-gio-XXXXXX").string();
    return fs::path(mkdtemp(pattern.data()));
  }();
  return root;
}

void WriteFile(const fs::path& path, const std::string& text, bool executable = false) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  if (executable) chmod(path.c_str(), 0755);
}

// An application that writes its arguments, each ended by a NUL, to <name>.args.
std::string Recorder(const std::string& name) {
  const fs::path script = Root() / "bin" / (name + ".sh");
  const fs::path out = Root() / (name + ".args");
  WriteFile(script,
            "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + out.string() + ".tmp' && mv '" + out.string() +
                ".tmp' '" + out.string() + "'\n",
            true);
  return script.string();
}

class Desktop final : public ::testing::Environment {
 public:
  void SetUp() override {
    const fs::path data = Root() / "data";
    WriteFile(data / "mime" / "packages" / "koltar-test.xml",
              "<?xml version=\"1.0\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-koltar-note\"><comment>note</comment>"
              "<glob pattern=\"*.knote\"/></mime-type>\n"
              "</mime-info>\n");
    ASSERT_EQ(std::system(("update-mime-database " + (data / "mime").string() + " >/dev/null 2>&1").c_str()), 0);
    WriteFile(data / "applications" / "koltar-recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Jegyzet-r\xC3\xB6gz\xC3\xADt\xC5\x91\nExec=" +
                  Recorder("recorder") + " %f\nMimeType=application/x-koltar-note;\n");
    WriteFile(
        data / "applications" / "koltar-other.desktop",
        "[Desktop Entry]\nType=Application\nName=M\xC3\xA1s program\nExec=" + Recorder("other") + " %u\n");
    WriteFile(data / "applications" / "koltar-hidden.desktop",
              "[Desktop Entry]\nType=Application\nName=Rejtett\nNoDisplay=true\nExec=" + Recorder("hidden") +
                  " %f\n");
    // The desktop's index of the types each application declares, as its packages keep it.
    ASSERT_EQ(std::system(("update-desktop-database " + (data / "applications").string()).c_str()), 0);
    WriteFile(Root() / "config" / "mimeapps.list",
              "[Default Applications]\napplication/x-koltar-note=koltar-recorder.desktop\n");
    fs::create_directories(Root() / "empty");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Root() / "config").c_str(), 1);
    setenv("XDG_DATA_DIRS", (Root() / "empty").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (Root() / "empty").c_str(), 1);
  }
  void TearDown() override {
    if (!getenv("KEEP")) fs::remove_all(Root());
  }
};

[[maybe_unused]] const ::testing::Environment* const kDesktop =
    ::testing::AddGlobalTestEnvironment(new Desktop);

// The model name of a new file in the test folder (not empty: GIO takes every empty file
// for plain text).
std::string File(const std::string& name) {
  const fs::path path = Root() / "files" / name;
  WriteFile(path, "jegyzet\n");
  return ModelFileName(path);
}

// The arguments the application was last started with, waiting for it a while.
std::vector<std::string> ArgumentsOf(const std::string& application) {
  const fs::path out = Root() / (application + ".args");
  for (int i = 0; i < 500 && !fs::exists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(out, std::ios::binary);
  std::vector<std::string> args;
  for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
  fs::remove(out);
  return args;
}

TEST(GioLauncher, DefaultApplicationOfTheFilesType) {
  GioLauncher launcher;
  EXPECT_TRUE(launcher.Available());
  EXPECT_EQ(ContentTypeOf(LocalFileName(File("a.knote"))), "application/x-koltar-note");
  EXPECT_EQ(launcher.DefaultApplication(File("a.knote")), "koltar-recorder.desktop");
  // A name alone tells the type of a file that does not exist.
  EXPECT_EQ(launcher.DefaultApplication(ModelFileName(Root() / "nincs.knote")), "koltar-recorder.desktop");
  EXPECT_EQ(launcher.DefaultApplication(File("a.unknown-type")), "");
}

TEST(GioLauncher, ListsTheApplicationsWithTheirNamesAndTypes) {
  GioLauncher launcher;
  std::vector<ApplicationInfo> apps = launcher.Applications(File("a.knote"));
  std::sort(apps.begin(), apps.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  EXPECT_EQ(Describe(apps),
            "koltar-other.desktop|Más program|-\nkoltar-recorder.desktop|Jegyzet-rögzítő|type\n");
}

TEST(GioLauncher, AnyFileNameReachesTheApplicationAsOneUnchangedArgument) {
  GioLauncher launcher;
  for (const std::string name : {"two words.knote", "quote's \"double\".knote", "semi;colon; rm -rf x.knote",
                                 "$(touch pwned) `touch pwned2`.knote", "-leading dash.knote",
                                 "hash#mark %20.knote", "\xF5rs\xE9g.knote"}) {
    const std::string model = File(name);
    for (const char* app : {"recorder", "other"}) {
      ASSERT_TRUE(launcher.Launch(std::string("koltar-") + app + ".desktop", model)) << name;
      EXPECT_EQ(ArgumentsOf(app), std::vector<std::string>{LocalFileName(model).string()})
          << name << " " << app;
    }
  }
  EXPECT_FALSE(fs::exists(Root() / "bin" / "pwned"));
  EXPECT_FALSE(fs::exists("pwned"));
  EXPECT_FALSE(fs::exists("pwned2"));
  EXPECT_FALSE(launcher.Launch("no-such.desktop", File("a.knote")));
}

}  // namespace
}  // namespace koltar
