#include "platform/format.h"

#include <cstdarg>
#include <cstdio>

#include "platform/c_locale.h"

namespace koltar {

std::string StringPrintf(const char* format, ...) {
  // Numbers are formatted with a decimal point whatever the process locale is.
  const locale_t previous = uselocale(CLocale());
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (needed > 0) {
    out.resize(static_cast<std::size_t>(needed));
    std::vsnprintf(out.data(), out.size() + 1, format, args);
  }
  va_end(args);
  uselocale(previous);
  return out;
}

std::string FormatGroupedNumber(std::int32_t value) {
  // Work on the magnitude in 64 bits so that the most negative value has one too.
  std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
  const std::string digits = std::to_string(magnitude);
  std::string out;
  if (value < 0) out.push_back('-');
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(' ');
    out.push_back(digits[i]);
  }
  out.push_back(' ');
  return out;
}

}  // namespace koltar
