// Converts a UTF-8 source file to code page 1250 for the fuzz build, as GCC's
// -fexec-charset=CP1250 converts its literals: u8 literals keep their UTF-8 bytes, and
// characters the code page lacks (they stand only in comments) are dropped.
//
//   cp1250_source INPUT OUTPUT

#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The code page 1250 bytes of UTF-8 text; characters it cannot hold are left out.
std::string ToCp1250(iconv_t cd, const std::string& utf8) {
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    if (r == static_cast<std::size_t>(-1) && inLeft > 0 && outLeft > 4) {
      // Skip one character that cannot be converted (or a broken byte).
      ++in;
      --inLeft;
      while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) ++in, --inLeft;
    }
  }
  return out;
}

// The end of the u8 literal that starts at `at` (its opening quote or the R), or npos.
std::size_t U8LiteralEnd(const std::string& s, std::size_t at) {
  if (s[at] == 'R') {
    const std::size_t open = s.find('(', at);
    if (open == std::string::npos) return open;
    const std::string close = ")" + s.substr(at + 2, open - at - 2) + "\"";
    const std::size_t end = s.find(close, open);
    return end == std::string::npos ? end : end + close.size();
  }
  for (std::size_t i = at + 1; i < s.size(); ++i) {
    if (s[i] == '\\')
      ++i;
    else if (s[i] == '"')
      return i + 1;
  }
  return std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in && !in.eof()) return 1;
  iconv_t cd = iconv_open("CP1250", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return 1;
  std::string out;
  std::size_t copied = 0;
  for (std::size_t i = 0; i + 2 < source.size(); ++i) {
    const bool start =
        (i == 0 || !(std::isalnum(static_cast<unsigned char>(source[i - 1])) || source[i - 1] == '_'));
    if (!start || source.compare(i, 2, "u8") != 0 || (source[i + 2] != '"' && source[i + 2] != 'R')) continue;
    const std::size_t end = U8LiteralEnd(source, i + 2);
    if (end == std::string::npos) break;
    out += ToCp1250(cd, source.substr(copied, i - copied));
    out += source.substr(i, end - i);
    copied = end;
    i = end - 1;
  }
  out += ToCp1250(cd, source.substr(copied));
  iconv_close(cd);
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << out;
  return file ? 0 : 1;
}
