#pragma once
// A map written with the project's writer into a scratch folder, for the category tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::test {

class CategoryTest : public ServicesTest {
 protected:
  // Writes the map; returns the .map file's model name.
  std::string WriteMap() {
    EXPECT_TRUE(writer.Write());
    return writer.MapFileName();
  }
  std::string MapDirectory() const { return GetPathDirectory(writer.MapFileName()); }
  // A category of the written map, constructed as the map object does.
  template <class Category>
  Category Load(const std::string& name) {
    const std::string file = WriteMap();
    return Category(name, GetPathDirectory(file), file);
  }
  std::vector<std::string> Messages() const { return services.messages.Transcript(); }
  // The model name of a file of the written map (category n's files are "c0n.*").
  std::string File(const std::string& name) const { return dir.Model(name); }

  TempDir dir;
  MapWriter writer{dir.path()};
};

}  // namespace koltar::test
