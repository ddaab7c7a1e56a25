// Readers allocate by what a file holds, not by what it claims: a map whose counts all
// claim about two billion entries in files of a hundred bytes opens, draws, takes label
// positions and closes within a limit of 256 MB on the address space of a child
// process, without one "out of memory" message (which is what a reader that tried a
// huge allocation would show, or it would crash).

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/bmp.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

// The process's address space in bytes.
long long AddressSpace() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  statm >> pages;
  return pages * ::sysconf(_SC_PAGESIZE);
}

// A hundred bytes of a pattern that makes every 32-bit field claim about two billion
// (0x7F7F7F7F) and every 16-bit field 32639.
std::string Claiming(std::size_t size = 100) { return std::string(size, '\x7F'); }

// The map: every count of the description files at two billion or the most an int
// holds, every binary file a hundred bytes of huge fields, a symbol whose header claims
// 32768 x 32768 pixels.
std::string WriteGreedyMap(const test::TempDir& dir) {
  for (const char* file : {"p.dat", "p.nam", "p.ent", "l.dat", "l.crd", "l.nam", "a.dat", "a.crd", "t.dat",
                           "t.nam", "r.nod", "r.edg"})
    dir.Write(file, Claiming());
  std::string bmp = "BM" + Claiming(52);
  bmp[14] = 40;  // a BITMAPINFOHEADER
  bmp[15] = bmp[16] = bmp[17] = 0;
  dir.Write("big.bmp", bmp);
  dir.Write("s.sym",
            "[CATEGORIES]\nN=3\nCATEGORY01=P\nCATEGORY02=L\nCATEGORY03=X\n[P]\nN=1\nLAYER01=1\n"
            "[P:1]\nBITMAP=big.bmp,100\n[L]\nN=2000000000\n[X]\nN=2147483647\n");
  return dir.Write("m.map",
                   "[MAP]\nNAME=Mohó\nUNIT=1\nCARTOSYMB=s.sym\n"
                   "[CATEGORIES]\nN=2000000000\nCATEGORY01=POINT,P\nCATEGORY02=LINE,L\nCATEGORY03=AREA,A\n"
                   "CATEGORY04=TEXT,T\nCATEGORY05=OPTPATH,R\n"
                   "[CONNECTIONS]\nTOWNCATEGORY=P\nROADCATEGORY=L\n"
                   "[P]\nDATAFILE=p.dat\nNAMEFILE=p.nam\nENTITYFILE=p.ent\nNLAYER=2147483647\nLAYER01=1\n"
                   "[L]\nDATAFILE=l.dat\nCOORDFILE=l.crd\nNAMEFILE=l.nam\nNLAYER=2000000000\n"
                   "[A]\nDATAFILE=a.dat\nCOORDFILE=a.crd\nNLAYER=2147483647\n"
                   "[T]\nDATAFILE=t.dat\nNAMEFILE=t.nam\nNLAYER=2000000000\n"
                   "[R]\nNODEFILE=r.nod\nEDGEFILE=r.edg\nNLAYER=2000000000\nNCOST=2000000000\n"
                   "DEFAULTSTARTNODE=2147483647,x\n");
}

// Opens, draws, hit-tests the map, takes label positions and closes it; the messages shown.
std::vector<std::string> UseMap(const std::string& mapFile, const test::TempDir& dir) {
  test::ScopedTestServices services;
  services.messages.Answer(MessageAnswer::No);  // labels moved: not saved
  {
    MMap map(mapFile);
    test::RecordingDeviceContext dc;
    const DeviceRect rect{0, 0, 200, 200};
    map.Draw(dc, BuildTransform(1000000, MapPoint{0, 0}, rect, 1, Program().pixel), rect, 1000000);
    (void)map.HitTest(MapPoint{0x7F7F7F7F, 0x7F7F7F7F});
    map.LoadLabelPositions(dir.Model());
  }
  return services.messages.Transcript();
}

TEST(MemoryLimit, HugeCountsInSmallFilesAllocateLittle) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than any such limit";
#endif
  test::TempDir dir;
  const std::string mapFile = WriteGreedyMap(dir);
  const long long limit = AddressSpace() + 256LL * 1024 * 1024;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    if (::setrlimit(RLIMIT_AS, &rl) != 0) ::_exit(3);
    int status = 0;
    for (const std::string& line : UseMap(mapFile, dir))
      if (line.find("Nincs el\xE9g mem\xF3ria") != std::string::npos) {
        std::fprintf(stderr, "%s\n", line.c_str());
        status = 1;
      }
    ::_exit(status);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a reader ran out of memory (its message is above)";
}

// The same map without a limit: it opens with messages about the damage.
TEST(MemoryLimit, TheGreedyMapIsReportedAsDamaged) {
  test::TempDir dir;
  const std::vector<std::string> messages = UseMap(WriteGreedyMap(dir), dir);
  EXPECT_FALSE(messages.empty());
  for (const std::string& line : messages)
    EXPECT_EQ(line.find("Nincs el\xE9g mem\xF3ria"), std::string::npos) << line;
}

}  // namespace
}  // namespace koltar
