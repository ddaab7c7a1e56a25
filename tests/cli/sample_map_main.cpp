// koltar-sample-map FOLDER: writes the sample map (tests/cli/sample_map.h) into FOLDER.

#include <cstdio>

#include "tests/cli/sample_map.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: koltar-sample-map FOLDER\n", stderr);
    return 2;
  }
  if (!koltar::WriteSampleMap(argv[1])) {
    std::fprintf(stderr, "koltar-sample-map: cannot write the map into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
