// Test entry of the core modules: runs the tests, then fails if any Qt library ended up
// loaded into the process, which would mean that a core library's link interface pulls
// Qt in.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool QtLoaded() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find("libQt") != std::string::npos) {
      std::cerr << "Qt library loaded into a core test: " << line << "\n";
      return true;
    }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (QtLoaded()) return 1;
  return result;
}
