// The description-file reader: the input is one description file. Every section and
// key it seems to hold is read back as a string (at each capacity the program uses) and
// as an integer; then one existing and one new key are written and must read back as
// written.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The section and key names a reader would ask for: "[name]" lines and "key=" lines,
// at most 64 of them.
std::vector<std::pair<std::string, std::string>> Lookups(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  std::string section;
  for (std::size_t pos = 0; pos < text.size() && out.size() < 64;) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line[0] == '[') {
      section = std::string(
          line.substr(1, line.find(']') == std::string_view::npos ? line.size() - 1 : line.find(']') - 1));
    } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
      out.emplace_back(section, std::string(line.substr(0, eq)));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string file = world.Write("p.ini", text);
  const auto lookups = Lookups(text);
  for (const auto& [section, key] : lookups) {
    for (const int capacity : {32, 260, 304}) {
      const std::string value = ReadProfileString(section, key, "none", capacity, file);
      if (value.size() > static_cast<std::size_t>(capacity - 1)) std::abort();
    }
    (void)ReadProfileInt(section, key, -7, file);
  }
  (void)ReadProfileString("MAP", "NAME", "", 32, file);

  // A key written reads back as written (the first section and key of a name win on
  // both sides). Names that the writer trims or refuses, or that a line could not hold
  // as they are, are not compared.
  const auto plain = [](const std::string& name) {
    return !name.empty() && name.find_first_of(" \t\r\n;[]=\"'") == std::string::npos;
  };
  const std::string section = lookups.empty() ? std::string("MAP") : lookups.front().first;
  const std::string key = lookups.empty() ? std::string("NAME") : lookups.front().second;
  const std::vector<ProfileEntry> writes = {{section, key, "12,34"}, {"FUZZNEW", "KEY", "x y"}};
  for (const ProfileEntry& w : writes) {
    if (!WriteProfileString(w.section, w.key, w.value, file)) continue;
    ForgetProfileFiles();
    if (plain(w.section) && plain(w.key) && ReadProfileString(w.section, w.key, "", 304, file) != w.value)
      std::abort();
  }
  return 0;
}
