// The fault matrix: every file a map uses, in every bad state a disk leaves it in, and
// every number such a file holds at the edges of its range. The program's map object
// and koltar-cli show a message for what they cannot read, load what they can, and
// neither crash nor hang: each case opens the map, draws it, hit-tests it, takes label
// positions from an earlier edition, plans a route and closes it; koltar-cli plans the
// same route on the same files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/binary.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/services.h"
#include "platform/text.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/cli/sample_map.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "view/map_view_state.h"

#ifndef KOLTAR_CLI
#error "KOLTAR_CLI names koltar-cli"
#endif

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

// How a file's units are told apart, for cutting it at a unit's end or inside one.
enum class Units { Text, Names, Bytes };

struct FileRole {
  const char* role;
  const char* file;   // in the map's folder
  std::int32_t unit;  // record size of a binary file (Units::Bytes)
  Units kind;
  bool readAtLoad;      // opened when the map opens (or its labels are loaded)
  bool namedInMessage;  // a file that cannot be opened is named in a message
};

constexpr FileRole kRoles[] = {
    {"map description", "map.map", 0, Units::Text, true, false},
    {"symbology", "symbology.ini", 0, Units::Text, true, true},
    {"area DATAFILE", "c01.dat", 32, Units::Bytes, true, true},
    {"area COORDFILE", "c01.crd", 8, Units::Bytes, true, true},
    {"area NAMEFILE", "c01.nam", 0, Units::Names, true, true},
    {"line DATAFILE", "c02.dat", 32, Units::Bytes, true, true},
    {"line COORDFILE", "c02.crd", 8, Units::Bytes, true, true},
    {"line NAMEFILE", "c02.nam", 0, Units::Names, true, true},
    {"edge file", "c03.edg", 16, Units::Bytes, true, true},
    {"node file", "c03.nod", 4, Units::Bytes, true, true},
    {"point DATAFILE", "c04.dat", 16, Units::Bytes, true, true},
    {"point NAMEFILE", "c04.nam", 0, Units::Names, true, true},
    {"ENTITYFILE", "c05.ent", 8, Units::Bytes, true, true},
    {"text DATAFILE", "c06.dat", 64, Units::Bytes, true, true},
    {"text NAMEFILE", "c06.nam", 0, Units::Names, true, true},
    {"INFOFILE", "info.htm", 0, Units::Text, false, false},
    {"linked information", "links.ini", 0, Units::Text, false, false},
    {"settings file", "koltar.INI", 0, Units::Text, true, false},
    {"label file", "prev/c06.dat", 64, Units::Bytes, true, true},
    {"bitmap", "varos.bmp", 4, Units::Bytes, true, true},
};

enum class Fault { Missing, Empty, Directory, Unreadable, CutAtUnit, CutInsideUnit, OneByteLonger };

const char* FaultName(Fault f) {
  switch (f) {
    case Fault::Missing: return "missing";
    case Fault::Empty: return "empty";
    case Fault::Directory: return "a directory";
    case Fault::Unreadable: return "unreadable";
    case Fault::CutAtUnit: return "cut at a unit's end";
    case Fault::CutInsideUnit: return "cut inside a unit";
    case Fault::OneByteLonger: return "one byte longer";
  }
  return "?";
}

std::uint32_t Seed() {
  if (const char* text = std::getenv("KOLTAR_TEST_SEED"))
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
  return 18u;
}

// Where units end (the offsets just after each), so that a cut can fall on or between.
std::vector<std::size_t> UnitEnds(const std::string& bytes, const FileRole& role) {
  std::vector<std::size_t> ends;
  if (role.kind == Units::Bytes) {
    for (std::size_t at = static_cast<std::size_t>(role.unit); at < bytes.size(); at += role.unit)
      ends.push_back(at);
  } else {
    const char end = role.kind == Units::Text ? '\n' : '\0';
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
      if (bytes[i] == end) ends.push_back(i + 1);
  }
  return ends;
}

// The sample map with what every role needs: an INFOFILE, a linked-information file, a
// settings file and an earlier edition of the labels.
class FaultMatrix : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSampleMap(base.path()));
    const std::string mapFile = base.Model("map.map");
    ASSERT_TRUE(WriteProfileString("Települések", "INFOFILE", "info.htm", mapFile));
    ASSERT_TRUE(WriteProfileString("MAP", "LINKEDINFO", "links.ini", mapFile));
    base.Write("info.htm", "<html><body><a name=\"Veszprém\"></a>Veszprém</body></html>\n");
    base.Write("links.ini", "[LINKS]\nN=1\nLINK01=Veszprém,info.htm\n");
    base.Write("koltar.INI", "[MAP]\nDEFAULT=map.map\n[Screen]\nPixelSize=0.25\n");
    std::filesystem::create_directories(base.path() / "prev");
    std::filesystem::copy_file(base.path() / "c06.dat", base.path() / "prev/c06.dat");
    std::filesystem::copy_file(base.path() / "c06.nam", base.path() / "prev/c06.nam");
    ForgetProfileFiles();
  }

  // A fresh copy of the map for one case.
  std::filesystem::path Copy() {
    const std::filesystem::path to = work.path() / std::to_string(++cases);
    std::filesystem::copy(base.path(), to, std::filesystem::copy_options::recursive);
    return to;
  }

  test::TempDir base;
  test::TempDir work;
  int cases = 0;
};

// The map object's part: the messages shown, and the categories made.
struct ProgramRun {
  Lines messages;
  std::size_t categories = 0;
};

ProgramRun RunProgram(const std::filesystem::path& folder) {
  test::ScopedTestServices services;
  ForgetProfileFiles();
  ProgramRun run;
  const std::string model = ModelFileName(folder);
  (void)ReadProfileString("MAP", "DEFAULT", "", 260, model + "/koltar.INI");
  (void)ReadProfileInt("Screen", "PixelSize", -1, model + "/koltar.INI");
  {
    MMap map(model + "/map.map");
    run.categories = map.drawOrder().size();
    MapViewState view(ViewFactsOf(map, Program().pixel));
    view.SetDeviceRect(DeviceRect{0, 0, 320, 240});
    view.FitWholeMap();
    test::RecordingDeviceContext dc;
    map.Draw(dc, view.Transform(), view.deviceRect(), view.scale(), services.progress);
    const MapRect e = map.extent();
    if (!e.IsEmpty())
      for (const MapPoint p : {MapPoint{e.left, e.top}, MapPoint{2060, 1210}, MapPoint{e.right, e.bottom}})
        if (const auto hit = map.HitTest(p)) (void)GetObjectNames(*hit);
    map.LoadLabelPositions(model + "/prev/");
    if (MOptPath* network = map.roadNetwork(); network && map.CheckRouteCategories()) {
      const PointSettlements towns = map.Settlements();
      RouteRequest& request = network->routeState().request();
      request.ClearRoutePoints();
      (void)AddRoutePointByName(network->graph(), request, towns, "Veszprém");
      (void)AddRoutePointByName(network->graph(), request, towns, "Eplény");
      std::string error;
      if (request.routePointCount() == 2) (void)SearchRoute(*network, towns, map.Roads(), error);
    }
  }
  run.messages = services.messages.Transcript();
  return run;
}

struct CliRun {
  int status = -1;  // the exit status, or -1 when killed by a signal
  std::string errors;
};

// koltar-cli route on the folder's map, standard error kept.
CliRun RunCli(const std::filesystem::path& folder) {
  const std::string command = std::string("env -u DISPLAY -u XDG_RUNTIME_DIR timeout 60 '") + KOLTAR_CLI +
                              "' route '" + (folder / "map.map").string() +
                              "' Veszprém Eplény 2>&1 >/dev/null";
  CliRun run;
  // The command line is UTF-8; the names above are code page 1250.
  std::FILE* pipe = ::popen(Cp1250ToUtf8(command).c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.errors.append(buffer, n);
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

// Every line koltar-cli writes to standard error is one of its own.
bool OnlyOwnMessages(const std::string& errors) {
  std::size_t at = 0;
  while (at < errors.size()) {
    const std::size_t end = std::min(errors.find('\n', at), errors.size());
    const std::string line = errors.substr(at, end - at);
    // A message's later lines follow its first; only a line that starts a message and
    // is not ours counts.
    if (line.rfind("==", 0) == 0 || line.find("runtime error") != std::string::npos ||
        line.rfind("QStandardPaths", 0) == 0 || line.rfind("qt.", 0) == 0)
      return false;
    at = end + 1;
  }
  return errors.empty() || errors.rfind("KOLTAR32: ", 0) == 0 || errors.rfind("koltar-cli: ", 0) == 0;
}

void Damage(const std::filesystem::path& folder, const FileRole& role, Fault fault, std::mt19937& random) {
  const std::filesystem::path file = folder / role.file;
  std::error_code ec;
  std::string bytes;
  if (std::filesystem::exists(file, ec)) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, n);
    std::fclose(in);
  }
  const auto rewrite = [&](const std::string& to) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(to.data(), 1, to.size(), out);
    std::fclose(out);
  };
  const std::vector<std::size_t> ends = UnitEnds(bytes, role);
  switch (fault) {
    case Fault::Missing: std::filesystem::remove(file, ec); break;
    case Fault::Empty: rewrite(""); break;
    case Fault::Directory:
      std::filesystem::remove(file, ec);
      std::filesystem::create_directory(file, ec);
      break;
    case Fault::Unreadable: ::chmod(file.c_str(), 0); break;
    case Fault::CutAtUnit:
      rewrite(ends.empty() ? std::string() : bytes.substr(0, ends[random() % ends.size()]));
      break;
    case Fault::CutInsideUnit: {
      std::size_t at = bytes.size() / 2;
      for (int tries = 0; tries < 100 && !bytes.empty(); ++tries) {
        at = 1 + random() % bytes.size();
        if (!std::binary_search(ends.begin(), ends.end(), at) && at < bytes.size()) break;
      }
      rewrite(bytes.substr(0, at));
      break;
    }
    case Fault::OneByteLonger: rewrite(bytes + '\x7F'); break;
  }
}

TEST_F(FaultMatrix, EveryFileInEveryBadStateGivesAMessageAndAPartialMap) {
  std::mt19937 random(Seed());
  SCOPED_TRACE("seed " + std::to_string(Seed()) + " (replay with KOLTAR_TEST_SEED)");
  const bool root = ::geteuid() == 0;
  if (root)
    std::printf("running as root: the unreadable condition is skipped (permissions do not stop root)\n");
  const std::size_t allCategories = RunProgram(base.path()).categories;
  ASSERT_EQ(allCategories, 6u);
  for (const FileRole& role : kRoles) {
    for (const Fault fault : {Fault::Missing, Fault::Empty, Fault::Directory, Fault::Unreadable,
                              Fault::CutAtUnit, Fault::CutInsideUnit, Fault::OneByteLonger}) {
      if (fault == Fault::Unreadable && root) continue;
      SCOPED_TRACE(std::string(role.role) + " (" + role.file + ") " + FaultName(fault));
      const std::filesystem::path folder = Copy();
      Damage(folder, role, fault, random);
      const ProgramRun program = RunProgram(folder);
      const bool cannotOpen =
          fault == Fault::Missing || fault == Fault::Directory || fault == Fault::Unreadable;
      if (cannotOpen && role.readAtLoad && role.namedInMessage) {
        const std::string name = std::filesystem::path(role.file).filename().string();
        EXPECT_TRUE(std::any_of(program.messages.begin(), program.messages.end(), [&](const std::string& m) {
          return m.find(name) != std::string::npos;
        })) << ::testing::PrintToString(program.messages);
      }
      if (cannotOpen && std::string(role.file) == "map.map") {
        EXPECT_FALSE(program.messages.empty());
      }
      for (const std::string& m : program.messages) EXPECT_EQ(m.rfind("KOLTAR32|", 0), 0u) << m;
      // What does not depend on the damaged file still loads.
      if (std::string(role.file) != "map.map") {
        EXPECT_EQ(program.categories, allCategories);
      }

      const CliRun cli = RunCli(folder);
      EXPECT_TRUE(cli.status == 0 || cli.status == 1) << "exit " << cli.status << "\n" << cli.errors;
      EXPECT_TRUE(OnlyOwnMessages(cli.errors)) << cli.errors;
      // koltar-cli does not load label positions.
      if (cannotOpen && role.readAtLoad && role.namedInMessage && std::string(role.file) != "prev/c06.dat") {
        EXPECT_NE(cli.errors.find(std::filesystem::path(role.file).filename().string()), std::string::npos)
            << cli.errors;
      }
      std::error_code ec;
      std::filesystem::permissions(folder / role.file, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
      std::filesystem::remove_all(folder, ec);
    }
  }
}

// One number of a file or a description value, and the count its range is tied to.
struct NumberField {
  const char* file;
  std::int32_t offset;  // of the field in the file's first record; -1 for a description value
  int width;            // 2 or 4 bytes
  const char* section;  // description values: section and key (code page 1250 for categories)
  const char* key;
  std::int64_t n;  // the count the field is checked against (records, layers, nodes)
};

// The sample's counts: 3 areas and lines of 3 layers, 11 nodes, 20 edges, 5 towns of 2
// layers, 3 streets, 3 labels of 2 layers, 3 road types.
const NumberField kFields[] = {
    {"c01.dat", 0, 2, "", "", 3},
    {"c01.dat", 2, 2, "", "", 6},
    {"c01.dat", 4, 4, "", "", 40},
    {"c01.dat", 8, 4, "", "", 20},
    {"c01.dat", 12, 4, "", "", 4000},
    {"c01.dat", 24, 4, "", "", 4000},
    {"c02.dat", 0, 2, "", "", 3},
    {"c02.dat", 2, 2, "", "", 2},
    {"c02.dat", 4, 4, "", "", 30},
    {"c02.dat", 8, 4, "", "", 10},
    {"c02.crd", 0, 4, "", "", 4000},
    {"c03.nod", 0, 4, "", "", 5},
    {"c03.edg", 0, 4, "", "", 11},
    {"c03.edg", 4, 4, "", "", 11},
    {"c03.edg", 8, 4, "", "", 10},
    {"c03.edg", 12, 4, "", "", 1000},
    {"c04.dat", 0, 2, "", "", 2},
    {"c04.dat", 2, 4, "", "", 4000},
    {"c04.dat", 10, 4, "", "", 40},
    {"c05.ent", 2, 2, "", "", 19},
    {"c05.ent", 5, 2, "", "", 19},
    {"c06.dat", 0, 2, "", "", 2},
    {"c06.dat", 10, 4, "", "", 360},
    {"c06.dat", 14, 4, "", "", 20},
    {"map.map", -1, 0, "MAP", "UNIT", 10},
    {"map.map", -1, 0, "MAP", "FINDSCALE", 25000050},
    {"map.map", -1, 0, "MAP", "SCALERANGE", 100},
    {"map.map", -1, 0, "MAP", "ORIGIN", 650000},
    {"map.map", -1, 0, "CATEGORIES", "N", 6},
    {"map.map", -1, 0, "Ter\xFCletek", "NLAYER", 3},
    {"map.map", -1, 0, "Utak", "NLAYER", 3},
    {"map.map", -1, 0, "Telep\xFCl\xE9sek", "NLAYER", 2},
    {"map.map", -1, 0, "Nevek", "NLAYER", 2},
    {"map.map", -1, 0, "\xDAtvonal", "NLAYER", 1},
    {"map.map", -1, 0, "\xDAtvonal", "NCOST", 3},
    {"map.map", -1, 0, "\xDAtvonal", "DEFAULTCOSTTYPE", 3},
    {"map.map", -1, 0, "\xDAtvonal", "DEFAULTSTARTNODE", 11},
    {"symbology.ini", -1, 0, "CATEGORIES", "N", 6},
    {"symbology.ini", -1, 0, "Utak", "N", 3},
    {"symbology.ini", -1, 0, "Utak:Aut\xF3p\xE1lya", "LINESTYLE", 5},
    {"symbology.ini", -1, 0, "Ter\xFCletek:Erd\xF5", "HATCHSTYLE", 6},
    {"symbology.ini", -1, 0, "Utak:F\xF5\xFAt", "LINEWIDTH", 10},
    {"symbology.ini", -1, 0, "Telep\xFCl\xE9sek:V\xE1ros", "DISPLAYSCALE", 100},
};

TEST_F(FaultMatrix, EveryNumberAtTheEdgesOfItsRange) {
  for (const NumberField& field : kFields) {
    const std::int64_t values[] = {-1,
                                   0,
                                   field.n - 1,
                                   field.n,
                                   field.n + 1,
                                   std::numeric_limits<std::int16_t>::min(),
                                   std::numeric_limits<std::int16_t>::max(),
                                   std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
    for (const std::int64_t value : values) {
      SCOPED_TRACE(std::string(field.file) + " " +
                   (field.offset >= 0 ? "@" + std::to_string(field.offset)
                                      : std::string(field.section) + " " + field.key) +
                   " = " + std::to_string(value));
      const std::filesystem::path folder = Copy();
      if (field.offset >= 0) {
        std::FILE* f = std::fopen((folder / field.file).c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::uint8_t bytes[4] = {};
        if (field.width == 2)
          WriteI16(bytes, static_cast<std::int16_t>(std::clamp<std::int64_t>(value, INT16_MIN, INT16_MAX)));
        else
          WriteI32(bytes, static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX)));
        std::fseek(f, field.offset, SEEK_SET);
        std::fwrite(bytes, 1, static_cast<std::size_t>(field.width), f);
        std::fclose(f);
      } else {
        const std::string text = std::to_string(value);
        const std::string key = field.key;
        // Values of two numbers get the number in both places.
        const std::string written = key == "SCALERANGE" || key == "DISPLAYSCALE" || key == "ORIGIN"
                                        ? text + "," + text
                                    : key == "DEFAULTSTARTNODE" ? text + ",Veszpr\xE9m"
                                                                : text;
        ASSERT_TRUE(
            WriteProfileString(field.section, field.key, written, ModelFileName(folder / field.file)));
      }
      const ProgramRun program = RunProgram(folder);
      for (const std::string& m : program.messages) EXPECT_EQ(m.rfind("KOLTAR32|", 0), 0u) << m;
      std::filesystem::remove_all(folder);
    }
  }
  // koltar-cli on the greatest and the least of them, for each field.
  for (const NumberField& field : kFields) {
    if (field.offset < 0) continue;
    for (const std::int32_t value :
         {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
      SCOPED_TRACE(std::string(field.file) + " @" + std::to_string(field.offset) + " = " +
                   std::to_string(value));
      const std::filesystem::path folder = Copy();
      std::FILE* f = std::fopen((folder / field.file).c_str(), "r+b");
      std::uint8_t bytes[4] = {};
      WriteI32(bytes, value);
      std::fseek(f, field.offset, SEEK_SET);
      std::fwrite(bytes, 1, static_cast<std::size_t>(field.width), f);
      std::fclose(f);
      const CliRun cli = RunCli(folder);
      EXPECT_TRUE(cli.status == 0 || cli.status == 1) << "exit " << cli.status << "\n" << cli.errors;
      EXPECT_TRUE(OnlyOwnMessages(cli.errors)) << cli.errors;
      std::filesystem::remove_all(folder);
    }
  }
}

}  // namespace
}  // namespace koltar
