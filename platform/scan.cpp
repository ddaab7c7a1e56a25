#include "platform/scan.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "platform/c_locale.h"
#include "platform/narrow.h"

namespace koltar {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }
  bool Literal(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool SkipOne() {
    if (AtEnd()) return false;
    ++pos_;
    return true;
  }

  // Blanks, an optional sign, decimal digits; beyond 64 bits the value saturates, as
  // strtol's does.
  bool Integer(std::int64_t& out) {
    SkipBlanks();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
    const std::size_t digits = p;
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; p < text_.size() && text_[p] >= '0' && text_[p] <= '9'; ++p) {
      const auto d = static_cast<std::uint64_t>(text_[p] - '0');
      magnitude = magnitude > (kLimit - d) / 10 ? kLimit : magnitude * 10 + d;
    }
    if (p == digits) return false;
    if (negative)
      out = static_cast<std::int64_t>(0 - magnitude);  // kLimit gives the minimum
    else
      out = magnitude >= kLimit ? std::numeric_limits<std::int64_t>::max()
                                : static_cast<std::int64_t>(magnitude);
    pos_ = p;
    return true;
  }

  // Blanks, then what strtod reads in the C locale.
  template <typename Real>
  bool Number(Real& out) {
    SkipBlanks();
    if (AtEnd()) return false;
    const std::string rest(text_.substr(pos_));  // strtod needs a terminated text
    char* end = nullptr;
    Real value;
    if constexpr (sizeof(Real) == sizeof(float))
      value = strtof_l(rest.c_str(), &end, CLocale());
    else
      value = strtod_l(rest.c_str(), &end, CLocale());
    if (end == rest.c_str()) return false;
    out = value;
    pos_ += static_cast<std::size_t>(end - rest.c_str());
    return true;
  }

  // Up to `width` characters (0: no limit) that are not `stop` (or, with blankStops,
  // not blanks); false when there is none.
  bool Field(char stop, bool blankStops, std::size_t width, std::string& out) {
    std::size_t end = pos_;
    while (end < text_.size() && (width == 0 || end - pos_ < width) &&
           (blankStops ? !IsBlank(text_[end]) : text_[end] != stop))
      ++end;
    if (end == pos_) return false;
    out.assign(text_.substr(pos_, end - pos_));
    pos_ = end;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

int ScanValuesInto(std::string_view text, std::string_view format, const ScanOutput* outputs, int count) {
  Reader in(text);
  int stored = 0;
  int next = 0;
  std::size_t f = 0;
  // The result when reading stops: EOF when the text ended before the first conversion.
  const auto stop = [&](bool inputEnded) { return inputEnded && stored == 0 ? -1 : stored; };
  while (f < format.size()) {
    const char c = format[f];
    if (IsBlank(c)) {
      in.SkipBlanks();
      ++f;
      continue;
    }
    if (c != '%') {
      if (!in.Literal(c)) return stop(in.AtEnd());
      ++f;
      continue;
    }
    ++f;
    if (f < format.size() && format[f] == '*') {  // "%*c"
      if (f + 1 >= format.size() || format[f + 1] != 'c') return stored;
      if (!in.SkipOne()) return stop(true);
      f += 2;
      continue;
    }
    std::size_t width = 0;
    while (f < format.size() && format[f] >= '0' && format[f] <= '9')
      width = width * 10 + static_cast<std::size_t>(format[f++] - '0');
    int longs = 0;  // "l" or "ll"
    while (f < format.size() && format[f] == 'l' && longs < 2) {
      ++longs;
      ++f;
    }
    if (f >= format.size() || next >= count) return stored;
    const char conversion = format[f++];
    const ScanOutput& out = outputs[next++];
    if (conversion != '[' && conversion != 'c') {
      // Every conversion but %[ and %c skips blanks first.
      in.SkipBlanks();
      if (in.AtEnd()) return stop(true);
    } else if (in.AtEnd()) {
      return stop(true);
    }
    bool ok = false;
    switch (conversion) {
      case 'd': {
        std::int64_t v = 0;
        if (longs == 2) {
          auto* target = std::get_if<std::int64_t*>(&out);
          ok = target && in.Integer(**target);
          break;
        }
        auto* target = std::get_if<std::int32_t*>(&out);
        ok = target && in.Integer(v);
        if (ok)
          **target = longs == 1 ? static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX))
                                : LowBits32(v);
        break;
      }
      case 'f':
        if (longs > 0) {
          auto* target = std::get_if<double*>(&out);
          ok = target && in.Number(**target);
        } else {
          auto* target = std::get_if<float*>(&out);
          ok = target && in.Number(**target);
        }
        break;
      case 's': {
        auto* target = std::get_if<std::string*>(&out);
        ok = target && in.Field('\0', true, width, **target);
        break;
      }
      case '[': {
        // Only the form "[^c]" is read.
        auto* target = std::get_if<std::string*>(&out);
        if (f + 2 < format.size() && format[f] == '^' && format[f + 2] == ']') {
          ok = target && in.Field(format[f + 1], false, width, **target);
          f += 3;
        }
        break;
      }
      default: break;
    }
    if (!ok) return stored;
    ++stored;
  }
  return stored;
}

}  // namespace koltar
