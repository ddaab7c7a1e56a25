// The floor for opening a map: reads each file named into fresh memory of its own, as
// any program that keeps a map's files in memory must, and keeps them to the end.
// `cat` is no such floor: it reads every file through one small buffer.
//
//     read_files FILE...

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  std::vector<void*> blocks;
  for (int i = 1; i < argc; ++i) {
    const int fd = ::open(argv[i], O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      std::fprintf(stderr, "read_files: cannot open %s\n", argv[i]);
      return 1;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    auto* block = static_cast<char*>(std::malloc(size + 1));
    if (block == nullptr) return 1;
    for (std::size_t done = 0; done < size;) {
      const ssize_t n = ::read(fd, block + done, size - done);
      if (n <= 0) return 1;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    blocks.push_back(block);
  }
  for (void* block : blocks) std::free(block);
  return 0;
}
