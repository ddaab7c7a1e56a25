#pragma once
// A map written with the project's writer into a scratch folder, for the category tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/map_category.h"
#include "geometry/transform.h"
#include "platform/bmp.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "symbology/cartosymb.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::test {

class CategoryTest : public ServicesTest {
 protected:
  // Writes the map; returns the .map file's model name.
  std::string WriteMap() {
    EXPECT_TRUE(writer.Write());
    return writer.MapFileName();
  }
  std::string MapDirectory() const { return GetPathDirectory(writer.MapFileName()); }
  // A category of the written map, constructed as the map object does.
  template <class Category>
  Category Load(const std::string& name) {
    const std::string file = WriteMap();
    return Category(name, GetPathDirectory(file), file);
  }
  std::vector<std::string> Messages() const { return services.messages.Transcript(); }
  // The model name of a file of the written map (category n's files are "c0n.*").
  std::string File(const std::string& name) const { return dir.Model(name); }

  TempDir dir;
  MapWriter writer{dir.path()};
};

inline BmpPicture Picture(int width, int height, ColorRef color) {
  BmpPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width) * height, color);
  return p;
}

// Drawing a category into the recording device context. The view makes one map unit
// one pixel (scale 4000 with 0.25 mm pixels and UNIT 1) over the device rectangle
// 0,0 ... 200,200 centred on map point (100, 100): device x = map x, device y = 200 -
// map y. The scale handed to Draw can be another, to try the scale ranges. ESC is polled
// through the installed progress service unless a test gives its own.
class DrawTest : public CategoryTest {
 protected:
  DrawTest() { writer.unit = 1; }

  template <class Category>
  Category LoadWithSymbology(const std::string& name) {
    symbology.reset();  // writes itself back before the map is written anew
    const std::string file = WriteMap();
    symbology = std::make_unique<MCartoSymb>(File("symbology.ini"));
    return Category(name, GetPathDirectory(file), file);
  }
  static LCTransform View() { return BuildTransform(4000, {100, 100}, kDevice, 1, PixelSize{0.25, 0.25}); }
  RenderContext Context(std::int32_t scale = 4000, DeviceRect update = kDevice, std::int32_t unit = 1) {
    return RenderContext{dc, View(), update, kMapExtent, scale, *symbology, unit, Progress()};
  }
  void Draw(MapCategory& category, std::int32_t scale = 4000, DeviceRect update = kDevice) {
    dc.ClearTranscript();
    category.Draw(Context(scale, update));
  }
  // What the last Draw painted with, without settings nothing was drawn with.
  std::vector<std::string> Painted() const { return PaintingCalls(dc.Transcript()); }

  static constexpr DeviceRect kDevice{0, 0, 200, 200};
  static constexpr MapRect kMapExtent{-100000, 100000, 100000, -100000};
  RecordingDeviceContext dc;
  std::unique_ptr<MCartoSymb> symbology;
};

}  // namespace koltar::test
