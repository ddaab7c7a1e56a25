#include "tests/support/recording_dc.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "platform/text.h"
#include "tests/support/memory_bitmap.h"

namespace koltar::test {
namespace {

const char* PenStyleName(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return "SOLID";
    case PenStyle::Dash: return "DASH";
    case PenStyle::Dot: return "DOT";
    case PenStyle::DashDot: return "DASHDOT";
    case PenStyle::DashDotDot: return "DASHDOTDOT";
    case PenStyle::Null: return "NULL";
  }
  return "?";
}

const char* RasterOpName(RasterOp op) {
  switch (op) {
    case RasterOp::Copy: return "COPY";
    case RasterOp::And: return "AND";
    case RasterOp::Or: return "OR";
  }
  return "?";
}

std::string PointText(std::int32_t x, std::int32_t y) { return std::to_string(x) + "," + std::to_string(y); }

std::string PointsText(const char* name, const DevicePoint* points, int count) {
  std::string line = name;
  for (int i = 0; i < count; ++i) line.append(" ").append(PointText(points[i].x, points[i].y));
  return line;
}

std::string CornersText(const DeviceRect& r) {
  return PointText(r.left, r.top) + " " + PointText(r.right, r.bottom);
}

std::string SizedText(const DeviceRect& r) {
  return PointText(r.left, r.top) + " " + std::to_string(r.width()) + "x" + std::to_string(r.height());
}

std::string TransferText(const char* name, const DeviceRect& target, const DeviceRect& source) {
  return std::string(name) + " " + SizedText(target) + " <- " + SizedText(source);
}

}  // namespace

std::string ColorText(ColorRef color) {
  return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," +
         std::to_string(BlueOf(color));
}

void RecordingDeviceContext::Save() {
  saved_.push_back(state_);
  Write("SAVE");
}

void RecordingDeviceContext::Restore() {
  Write("RESTORE");
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
}

void RecordingDeviceContext::SetPen(const Pen& pen) {
  state_.pen = pen;
  Write("PEN " + ColorText(pen.color) + " " + std::to_string(pen.width) + " " + PenStyleName(pen.style));
}

void RecordingDeviceContext::SetBrush(const Brush& brush) {
  state_.brush = brush;
  switch (brush.kind) {
    case Brush::Kind::Solid: Write("BRUSH SOLID " + ColorText(brush.color)); break;
    case Brush::Kind::Hatched:
      Write("BRUSH HATCH " + std::to_string(static_cast<int>(brush.hatch)) + " " + ColorText(brush.color));
      break;
    case Brush::Kind::Hollow: Write("BRUSH HOLLOW"); break;
  }
}

void RecordingDeviceContext::SetDrawMode(DrawMode mode) {
  state_.drawMode = mode;
  Write(mode == DrawMode::Xor ? "MODE XOR" : "MODE COPY");
}

void RecordingDeviceContext::SetFillMode(FillMode mode) {
  state_.fillMode = mode;
  Write(mode == FillMode::Winding ? "FILL WINDING" : "FILL ALTERNATE");
}

void RecordingDeviceContext::SetBackgroundMode(BackgroundMode mode) {
  state_.backgroundMode = mode;
  Write(mode == BackgroundMode::Transparent ? "BKMODE TRANSPARENT" : "BKMODE OPAQUE");
}

void RecordingDeviceContext::SetClipRect(const DeviceRect& rect) { Write("CLIP " + CornersText(rect)); }

void RecordingDeviceContext::ClearClip() { Write("CLIP NONE"); }

void RecordingDeviceContext::Polyline(const DevicePoint* points, int count) {
  Write(PointsText("POLYLINE", points, count));
}

void RecordingDeviceContext::Polygon(const DevicePoint* points, int count) {
  Write(PointsText("POLYGON", points, count));
}

void RecordingDeviceContext::Rectangle(const DeviceRect& rect) { Write("RECTANGLE " + CornersText(rect)); }

void RecordingDeviceContext::Ellipse(const DeviceRect& rect) { Write("ELLIPSE " + CornersText(rect)); }

void RecordingDeviceContext::StretchBlt(const DeviceRect& target, const Bitmap&, const DeviceRect& source,
                                        RasterOp op) {
  Write(TransferText("STRETCHBLT", target, source) + " " + RasterOpName(op));
}

void RecordingDeviceContext::StretchDib(const DeviceRect& target, const Bitmap&, const DeviceRect& source) {
  Write(TransferText("STRETCHDIB", target, source));
}

std::unique_ptr<Bitmap> RecordingDeviceContext::CopyArea(const DeviceRect& area) {
  Write("COPYAREA " + SizedText(area));
  if (!canCopyArea || area.width() <= 0 || area.height() <= 0) return nullptr;
  return std::make_unique<MemoryBitmap>(area.width(), area.height());
}

void RecordingDeviceContext::SetFont(const LogicalFont& font) {
  state_.font = font;
  std::string line = "FONT \"" + Cp1250ToUtf8(font.faceName) + "\" " + std::to_string(font.height) + " " +
                     std::to_string(font.width) + " " + std::to_string(font.escapement) + " " +
                     std::to_string(font.weight);
  if (font.italic) line += " ITALIC";
  if (font.underline) line += " UNDERLINE";
  if (font.strikeOut) line += " STRIKEOUT";
  Write(std::move(line));
}

TextMetrics RecordingDeviceContext::GetTextMetrics() {
  // A negative height asks for a character height: the model's cell is that high too.
  const std::int32_t height = state_.font.height < 0 ? -state_.font.height : state_.font.height;
  const std::int32_t ascent = height * 8 / 10;
  const std::int32_t charWidth = state_.font.width != 0 ? state_.font.width : height / 2;
  return {height, ascent, height - ascent, charWidth};
}

TextSize RecordingDeviceContext::GetTextExtent(std::string_view text) {
  const TextMetrics metrics = GetTextMetrics();
  return {static_cast<std::int32_t>(text.size()) * metrics.averageCharWidth, metrics.height};
}

void RecordingDeviceContext::SetTextColor(ColorRef color) {
  state_.textColor = color;
  Write("TEXTCOLOR " + ColorText(color));
}

void RecordingDeviceContext::SetTextAlign(TextAlign align) {
  state_.textAlign = align;
  Write(align == TextAlign::BaselineLeft ? "ALIGN BASELINE" : "ALIGN TOPLEFT");
}

void RecordingDeviceContext::TextOut(DevicePoint anchor, std::string_view text) {
  Write("TEXT " + PointText(anchor.x, anchor.y) + " \"" + Cp1250ToUtf8(text) + "\"");
}

std::vector<std::string> PaintingCalls(const std::vector<std::string>& transcript) {
  static constexpr std::string_view kSettings[] = {"PEN",  "BRUSH", "MODE",      "FILL", "BKMODE",
                                                   "CLIP", "FONT",  "TEXTCOLOR", "ALIGN"};
  // Per setting: the line that made it and when it was made.
  using State = std::map<std::string, std::pair<std::size_t, std::string>>;
  State current;
  std::vector<State> saved;
  std::map<std::string, std::string> drawnWith;
  std::vector<std::string> out;
  for (std::size_t n = 0; n < transcript.size(); ++n) {
    const std::string& line = transcript[n];
    const std::string word = line.substr(0, line.find(' '));
    if (std::find(std::begin(kSettings), std::end(kSettings), word) != std::end(kSettings)) {
      current[word] = {n, line};
    } else if (word == "SAVE") {
      saved.push_back(current);
    } else if (word == "RESTORE") {
      if (!saved.empty()) {
        current = std::move(saved.back());
        saved.pop_back();
      }
    } else {
      std::vector<std::pair<std::size_t, std::string>> changed;
      for (const auto& [setting, made] : current)
        if (drawnWith[setting] != made.second) changed.push_back(made);
      std::sort(changed.begin(), changed.end());
      for (const auto& made : changed) {
        drawnWith[made.second.substr(0, made.second.find(' '))] = made.second;
        out.push_back(made.second);
      }
      out.push_back(line);
    }
  }
  return out;
}

::testing::AssertionResult TranscriptIs(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  // Longest common subsequence, then walk it to print the lines of both sides in order.
  const std::size_t n = expected.size(), m = actual.size();
  std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      common[i][j] =
          expected[i] == actual[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  std::string diff = "transcript differs (- expected, + recorded):\n";
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && expected[i] == actual[j]) {
      diff += "  " + expected[i++] + "\n";
      ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      diff += "- " + expected[i++] + "\n";
    } else {
      diff += "+ " + actual[j++] + "\n";
    }
  }
  return ::testing::AssertionFailure() << diff;
}

}  // namespace koltar::test
