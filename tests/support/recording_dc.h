#pragma once
// A device context that draws nothing and writes one transcript line per call that
// changes its state or draws, so that core tests can check what a category drew:
//
//   PEN 0,0,255 1 SOLID              BRUSH SOLID 255,255,0 / HATCH 2 0,128,0 / HOLLOW
//   MODE XOR / COPY                  FILL WINDING / ALTERNATE
//   BKMODE TRANSPARENT / OPAQUE      CLIP 0,0 100,50 / CLIP NONE    SAVE / RESTORE
//   POLYLINE 10,20 30,40             POLYGON 0,0 10,0 10,10
//   RECTANGLE 0,0 10,10              ELLIPSE 0,0 10,10               (left,top right,bottom)
//   STRETCHBLT 93,97 14x6 <- 0,0 40x20 AND      STRETCHDIB 93,97 14x6 <- 0,0 40x20
//   COPYAREA 5,5 20x10
//   FONT "Liberation Sans" 12 0 900 700 [ITALIC] [UNDERLINE] [STRIKEOUT]
//        (face, height, width, escapement, weight)
//   TEXTCOLOR 255,0,0                ALIGN BASELINE / TOPLEFT        TEXT 10,20 "Duna"
//
// Text and face names are shown in UTF-8. Queries (the getters, metrics and extents)
// are not written. Text is measured with a fixed-pitch model: the cell is as high as the
// font's height (a negative height counts as its absolute value), every character is the
// font's width wide, or half the cell's height when the width is 0; the ascent is 80 % of
// the height (fraction dropped) and the descent the rest.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc.h"

namespace koltar::test {

class RecordingDeviceContext final : public DeviceContext {
 public:
  // Capabilities, to be set by the test.
  int dpiX = 96;
  int dpiY = 96;
  bool canStretchBlt = true;
  bool canStretchDib = true;
  bool canCopyArea = true;  // CopyArea gives a black bitmap of the area, else null

  int LogicalDpiX() const override { return dpiX; }
  int LogicalDpiY() const override { return dpiY; }
  bool CanStretchBlt() const override { return canStretchBlt; }
  bool CanStretchDib() const override { return canStretchDib; }

  void Save() override;
  void Restore() override;
  void SetPen(const Pen& pen) override;
  Pen GetPen() const override { return state_.pen; }
  void SetBrush(const Brush& brush) override;
  Brush GetBrush() const override { return state_.brush; }
  void SetDrawMode(DrawMode mode) override;
  DrawMode GetDrawMode() const override { return state_.drawMode; }
  void SetFillMode(FillMode mode) override;
  FillMode GetFillMode() const override { return state_.fillMode; }
  void SetBackgroundMode(BackgroundMode mode) override;
  BackgroundMode GetBackgroundMode() const override { return state_.backgroundMode; }
  void SetClipRect(const DeviceRect& rect) override;
  void ClearClip() override;

  void Polyline(const DevicePoint* points, int count) override;
  void Polygon(const DevicePoint* points, int count) override;
  void Rectangle(const DeviceRect& rect) override;
  void Ellipse(const DeviceRect& rect) override;

  void StretchBlt(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source,
                  RasterOp op) override;
  void StretchDib(const DeviceRect& target, const Bitmap& bitmap, const DeviceRect& source) override;
  std::unique_ptr<Bitmap> CopyArea(const DeviceRect& area) override;

  void SetFont(const LogicalFont& font) override;
  LogicalFont GetFont() const override { return state_.font; }
  TextMetrics GetTextMetrics() override;
  TextSize GetTextExtent(std::string_view text) override;
  void SetTextColor(ColorRef color) override;
  ColorRef GetTextColor() const override { return state_.textColor; }
  void SetTextAlign(TextAlign align) override;
  TextAlign GetTextAlign() const override { return state_.textAlign; }
  void TextOut(DevicePoint anchor, std::string_view text) override;

  const std::vector<std::string>& Transcript() const { return transcript_; }
  void ClearTranscript() { transcript_.clear(); }
  // Depth of Save calls not yet restored.
  int saveDepth() const { return static_cast<int>(saved_.size()); }

 private:
  struct State {
    Pen pen;
    Brush brush;
    DrawMode drawMode = DrawMode::Copy;
    FillMode fillMode = FillMode::Alternate;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    LogicalFont font;
    ColorRef textColor = kBlack;
    TextAlign textAlign = TextAlign::TopLeft;
  };

  void Write(std::string line) { transcript_.push_back(std::move(line)); }

  State state_;
  std::vector<State> saved_;
  std::vector<std::string> transcript_;
};

// "r,g,b" of a colour.
std::string ColorText(ColorRef color);

// Succeeds when the transcript has exactly the expected lines; otherwise the failure
// shows a line diff ("-" expected only, "+" recorded only, "  " both).
::testing::AssertionResult TranscriptIs(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected);

// The transcript as far as it decides pixels: each drawing call, preceded by those
// settings in effect for it (pen, brush, modes, clip, font, text colour and alignment)
// that differ from the ones the previous drawing call had, in the order they were
// made. Settings no drawing call uses, such as a pen restored at the end or one
// replaced before anything was drawn with it, are left out; so are SAVE and RESTORE,
// whose effect the settings show.
std::vector<std::string> PaintingCalls(const std::vector<std::string>& transcript);

}  // namespace koltar::test
