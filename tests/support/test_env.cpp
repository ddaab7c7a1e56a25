#include "tests/support/test_env.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "platform/paths.h"
#include "platform/profile.h"

namespace koltar::test {

ScopedTestServices::ScopedTestServices() : saved_(InstalledServices()), savedProgram_(Program()) {
  Services& s = InstalledServices();
  s.messages = &messages;
  s.progress = &progress;
  s.waitCursor = &waitCursor;
  s.status = &status;
  s.images = &images;
  s.clipboard = &clipboard;
  Program().pixel = PixelSize{0.25, 0.25};
  ForgetProfileFiles();
}

ScopedTestServices::~ScopedTestServices() {
  InstalledServices() = saved_;
  Program() = savedProgram_;
  ForgetProfileFiles();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "koltar-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Model(std::string_view relative) const {
  std::string model = ModelFileName(path_) + "/";
  model += relative;
  return model;
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
  const std::filesystem::path file = path_ / std::filesystem::path(std::string(relative));
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return Model(relative);
}

std::string TempDir::Read(std::string_view relative) const {
  std::ifstream in(path_ / std::filesystem::path(std::string(relative)), std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace koltar::test
