// The four categories through their common interface: the type keywords, the test
// before drawing made in one order by every kind, the ESC poll through the render
// context, and the device context left as it was found.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/map_category.h"
#include "categories/point.h"
#include "categories/symbology_use.h"
#include "categories/text.h"
#include "symbology/carto_symb_dlg.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

TEST(CategoryKinds, KeywordsBothWays) {
  for (CategoryKind kind : {CategoryKind::Point, CategoryKind::Line, CategoryKind::Area, CategoryKind::Text,
                            CategoryKind::OptPath})
    EXPECT_EQ(CategoryKindOf(KeywordOf(kind)), kind);
  EXPECT_EQ(KeywordOf(CategoryKind::Point), "POINT");
  EXPECT_EQ(KeywordOf(CategoryKind::OptPath), "OPTPATH");
  for (const char* other : {"point", "Line", "", "AREAS", "TEX"})
    EXPECT_EQ(CategoryKindOf(other), std::nullopt) << other;
}

// A category of a kind and a name, for the symbology editor's question what is drawn.
class Named final : public MapCategory {
 public:
  Named(CategoryKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
  CategoryKind kind() const override { return kind_; }
  const std::string& name() const override { return name_; }
  MapRect GetExtent() const override { return MapRect::Empty(); }
  void Draw(const RenderContext&) override {}
  std::string GetObjectName(std::int32_t) const override { return {}; }
  std::int32_t recordCount() const override { return 0; }
  std::int32_t layerCount() const override { return 0; }
  std::string LayerName(std::int32_t) const override { return {}; }

 private:
  CategoryKind kind_;
  std::string name_;
};

TEST(CategoryKinds, WhatEachKindDrawsWith) {
  std::vector<std::unique_ptr<MapCategory>> drawOrder;
  drawOrder.push_back(std::make_unique<Named>(CategoryKind::Text, "Nevek"));
  drawOrder.push_back(std::make_unique<Named>(CategoryKind::Point, "Városok"));
  drawOrder.push_back(std::make_unique<Named>(CategoryKind::OptPath, "Útvonal"));
  drawOrder.push_back(std::make_unique<Named>(CategoryKind::Line, "Utak"));
  drawOrder.push_back(std::make_unique<Named>(CategoryKind::Area, "Utak"));  // the same name twice
  const std::vector<CartoCategory> symbology = {{"Utak", {}, -1, -1},
                                                {"Nevek", {}, -1, -1},
                                                {"Útvonal", {}, -1, -1},
                                                {"Városok", {}, -1, -1},
                                                {"Vasút", {}, -1, -1}};
  EXPECT_EQ(PropertiesUsed(symbology, drawOrder),
            (std::vector<std::uint32_t>{
                kUsesLineColor | kUsesFillColor | kUsesHatchStyle | kUsesLineStyle | kUsesLineWidth,
                kUsesFont, kUsesLineColor | kUsesLineStyle | kUsesLineWidth, kUsesBitmap, kUsesEverything}));
  EXPECT_EQ(PropertiesDrawnBy(CategoryKind::Line),
            kUsesLineColor | kUsesFillColor | kUsesLineStyle | kUsesLineWidth);
}

// How each kind is written for these tests: category "K" with one layer "L" whose
// objects are seen at scale 4000, two objects named "Egy" and "Kettő" inside the view.
template <class Category>
struct Kind;

template <>
struct Kind<MPoint> {
  static constexpr CategoryKind kKind = CategoryKind::Point;
  static constexpr int kPasses = 1;
  static constexpr const char* kFile = "c01.dat";
  static void Write(MapWriter& w, std::vector<std::string> layers) {
    PointCategoryWriter& c = w.AddPoints("K", std::move(layers));
    c.Add(1, {100, 100}, "Egy");
    c.Add(1, {50, 50}, "Kettő");
    w.AddBitmap("k.bmp", test::Picture(4, 4, Rgb(200, 0, 0)));
    w.symbology.AddCategory("K").AddLayer("L").Set("BITMAP", "k.bmp,10");
  }
};

template <>
struct Kind<MLine> {
  static constexpr CategoryKind kKind = CategoryKind::Line;
  static constexpr int kPasses = 3;  // casing, fill and centre line
  static constexpr const char* kFile = "c01.crd";
  static void Write(MapWriter& w, std::vector<std::string> layers) {
    PolyCategoryWriter& c = w.AddLines("K", std::move(layers));
    c.Add(1, {{0, 100}, {200, 100}}, "Egy");
    c.Add(1, {{0, 50}, {200, 50}}, "Kettő");
    w.symbology.AddCategory("K").AddLayer("L").Set("LINEWIDTH", "4").Set("WIDTHFACTOR", "100,50,10");
  }
};

template <>
struct Kind<MArea> {
  static constexpr CategoryKind kKind = CategoryKind::Area;
  static constexpr int kPasses = 1;
  static constexpr const char* kFile = "c01.crd";
  static void Write(MapWriter& w, std::vector<std::string> layers) {
    PolyCategoryWriter& c = w.AddAreas("K", std::move(layers));
    c.Add(1, {{20, 20}, {20, 80}, {80, 80}, {80, 20}, {20, 20}}, "Egy");
    c.Add(1, {{120, 120}, {120, 180}, {180, 180}, {120, 120}}, "Kettő");
    w.symbology.AddCategory("K").AddLayer("L").Set("FILLCOLOR", "0,0,255").Set("HATCHSTYLE", "2");
  }
};

template <>
struct Kind<MText> {
  static constexpr CategoryKind kKind = CategoryKind::Text;
  static constexpr int kPasses = 1;
  static constexpr const char* kFile = "c01.nam";
  static void Write(MapWriter& w, std::vector<std::string> layers) {
    TextCategoryWriter& c = w.AddTexts("K", std::move(layers));
    c.Add(1, {50, 100}, 0.0f, "Egy");
    c.Add(1, {50, 50}, 30.0f, "Kettő");
    w.symbology.AddCategory("K").AddLayer("L").Set("FONT", "Arial CE,255,0,0,1,0,0,10,0");
  }
};

template <class Category>
class EveryCategory : public test::DrawTest {
 protected:
  Category LoadKind(std::vector<std::string> layers = {"L"}) {
    Kind<Category>::Write(writer, std::move(layers));
    return LoadWithSymbology<Category>("K");
  }
  // The category's display-scale range in the loaded symbology.
  void SetCategoryScale(std::int32_t smallest, std::int32_t largest) {
    std::vector<CartoCategory> edited = symbology->categories();
    edited[0].scaleMin = smallest;
    edited[0].scaleMax = largest;
    symbology->ReplaceCategories(edited);
  }
  static bool DrawsSomething(const std::vector<std::string>& painted) {
    for (const std::string& line : painted)
      for (const char* call : {"POLYLINE", "POLYGON", "STRETCHBLT", "TEXT "})
        if (line.rfind(call, 0) == 0) return true;
    return false;
  }
};

using Kinds = ::testing::Types<MPoint, MLine, MArea, MText>;
TYPED_TEST_SUITE(EveryCategory, Kinds);

TYPED_TEST(EveryCategory, OutsideTheCategoryScaleNothingIsDrawnAndTheFlagsStay) {
  TypeParam category = this->LoadKind();
  EXPECT_TRUE(this->Messages().empty());
  this->Draw(category);
  EXPECT_TRUE(this->DrawsSomething(this->Painted()));
  ASSERT_TRUE(category.IsDrawn(0));
  const int polls = this->services.progress.polls();
  EXPECT_EQ(polls, 2 * Kind<TypeParam>::kPasses);  // one per object and pass

  this->SetCategoryScale(1000, 3999);
  this->Draw(category);
  EXPECT_TRUE(this->dc.Transcript().empty());
  EXPECT_EQ(this->services.progress.polls(), polls);
  EXPECT_TRUE(category.IsDrawn(0));
  EXPECT_TRUE(category.IsDrawn(1));
  // Both bounds belong to the range.
  this->SetCategoryScale(4000, 4000);
  this->Draw(category);
  EXPECT_TRUE(this->DrawsSomething(this->Painted()));
}

TYPED_TEST(EveryCategory, WithoutLayersNothingIsDrawn) {
  TypeParam category = this->LoadKind({});
  this->services.messages.Clear();  // its records are refused: layer 1 of 0
  this->Draw(category);
  EXPECT_TRUE(this->dc.Transcript().empty());
  EXPECT_EQ(this->services.progress.polls(), 0);
  EXPECT_FALSE(category.IsDrawn(0));
}

TYPED_TEST(EveryCategory, WithoutItsFilesNothingIsDrawnEvenWithoutLayers) {
  for (const char* folder : {"with-layers", "without-layers"}) {
    MapWriter w(this->dir.path() / folder);
    w.unit = 1;
    Kind<TypeParam>::Write(
        w, folder == std::string("with-layers") ? std::vector<std::string>{"L"} : std::vector<std::string>{});
    std::filesystem::create_directories(this->dir.path() / folder);
    ASSERT_TRUE(w.Write());
    std::filesystem::remove(this->dir.path() / folder / Kind<TypeParam>::kFile);
    this->symbology = std::make_unique<MCartoSymb>(this->File(std::string(folder) + "/symbology.ini"));
    TypeParam category("K", GetPathDirectory(w.MapFileName()), w.MapFileName());
    this->services.messages.Clear();
    this->Draw(category);
    EXPECT_TRUE(this->dc.Transcript().empty()) << folder;
    EXPECT_EQ(this->services.progress.polls(), 0) << folder;
  }
}

TYPED_TEST(EveryCategory, EscIsAskedOfTheContextsProgress) {
  TypeParam category = this->LoadKind();
  test::ScriptedProgress own;
  RenderContext context = this->Context();
  RenderContext withOwn{context.dc,    context.transform, context.update, context.mapExtent,
                        context.scale, context.symbology, context.unit,   own};
  category.Draw(withOwn);
  EXPECT_EQ(own.polls(), 2 * Kind<TypeParam>::kPasses);
  EXPECT_EQ(this->services.progress.polls(), 0);

  this->dc.ClearTranscript();
  test::ScriptedProgress pressed;
  pressed.PressEscAtPoll(1);
  category.Draw(RenderContext{context.dc, context.transform, context.update, context.mapExtent, context.scale,
                              context.symbology, context.unit, pressed});
  EXPECT_FALSE(this->DrawsSomething(this->Painted()));
  EXPECT_EQ(pressed.polls(), Kind<TypeParam>::kPasses);  // the first object of every pass
}

TYPED_TEST(EveryCategory, TheDeviceContextIsLeftAsItWasFound) {
  TypeParam category = this->LoadKind();
  test::RecordingDeviceContext& device = this->dc;
  device.SetPen(Pen{Rgb(1, 2, 3), PenStyle::Dot, 3});
  device.SetBrush(Brush{Brush::Kind::Hatched, Rgb(4, 5, 6), HatchStyle::Cross});
  device.SetFillMode(FillMode::Winding);
  device.SetBackgroundMode(BackgroundMode::Transparent);
  LogicalFont font;
  font.faceName = "Courier";
  font.height = 13;
  device.SetFont(font);
  device.SetTextColor(Rgb(7, 8, 9));
  device.SetTextAlign(TextAlign::BaselineLeft);
  this->Draw(category);
  ASSERT_TRUE(this->DrawsSomething(this->Painted()));
  EXPECT_EQ(device.GetPen(), (Pen{Rgb(1, 2, 3), PenStyle::Dot, 3}));
  EXPECT_EQ(device.GetBrush(), (Brush{Brush::Kind::Hatched, Rgb(4, 5, 6), HatchStyle::Cross}));
  EXPECT_EQ(device.GetFillMode(), FillMode::Winding);
  EXPECT_EQ(device.GetBackgroundMode(), BackgroundMode::Transparent);
  EXPECT_EQ(device.GetFont(), font);
  EXPECT_EQ(device.GetTextColor(), Rgb(7, 8, 9));
  EXPECT_EQ(device.GetTextAlign(), TextAlign::BaselineLeft);
  EXPECT_EQ(device.GetDrawMode(), DrawMode::Copy);
}

TYPED_TEST(EveryCategory, NamesLayersAndCountsThroughTheInterface) {
  TypeParam loaded = this->LoadKind();
  const MapCategory& category = loaded;
  EXPECT_EQ(category.name(), "K");
  EXPECT_EQ(category.kind(), Kind<TypeParam>::kKind);
  EXPECT_EQ(category.recordCount(), 2);
  ASSERT_EQ(category.layerCount(), 1);
  EXPECT_EQ(category.LayerName(0), "L");
  EXPECT_EQ(category.GetObjectName(1), "Kettő");
  EXPECT_EQ(category.GetObjectName(2), "");
  EXPECT_EQ(category.infoFile(), "");
  EXPECT_FALSE(category.GetExtent().IsEmpty());
}

}  // namespace
}  // namespace koltar
