// The symbology editor's behaviour without a window: what its controls show and
// enable, what the user's actions store, the range check, OK, Cancel, the preview, and
// what reaches the symbology file at close.

#include "symbology/carto_symb_dlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "symbology/cartosymb.h"
#include "symbology/style_pickers.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using C = SymbControl;

// Written as the write-back writes it, so that a close without changes keeps every byte.
constexpr const char* kSymbology =
    "[CATEGORIES]\n"
    "N=3\n"
    "CATEGORY01=Utak\n"
    "CATEGORY02=Nevek\n"
    "CATEGORY03=Üres\n"
    "\n"
    "[Utak]\n"
    "N=4\n"
    "LAYER01=Főút\n"
    "LAYER02=Mellékút\n"
    "LAYER03=Földút\n"
    "LAYER04=Ösvény\n"
    "DISPLAYSCALE=5000,200000\n"
    "\n"
    "[Utak:Főút]\n"
    "VISIBLE=1\n"
    "DISPLAYSCALE=10000,100000\n"
    "LINECOLOR=255,0,255\n"
    "FILLCOLOR=255,255,0\n"
    "HATCHSTYLE=4\n"
    "LINESTYLE=1\n"
    "LINEWIDTH=0.3\n"
    "WIDTHFACTOR=100.0,60.0,0.0\n"
    "\n"
    "[Utak:Mellékút]\n"
    "VISIBLE=1\n"
    "LINECOLOR=1,2,3\n"
    "LINESTYLE=7\n"
    "LINEWIDTH=2.0\n"
    "\n"
    "[Utak:Földút]\n"
    "VISIBLE=0\n"
    "DISPLAYSCALE=200000,6000\n"
    "LINECOLOR=128,0,0\n"
    "\n"
    "[Utak:Ösvény]\n"
    "VISIBLE=1\n"
    "\n"
    "[Nevek]\n"
    "N=1\n"
    "LAYER01=Város\n"
    "\n"
    "[Nevek:Város]\n"
    "VISIBLE=1\n"
    "LINECOLOR=0,0,0\n"
    "FONT=ARIAL CE,0,0,128,1,0,0,120.0,0\n"
    "\n"
    "[Üres]\n"
    "N=0\n";

// The kinds of the map: roads are lines, names are texts, the third is not drawn.
const std::vector<std::uint32_t> kUsed = {kUsesLineColor | kUsesFillColor | kUsesLineStyle | kUsesLineWidth,
                                          kUsesFont};
const std::vector<std::string> kFaces = {"Liberation Serif", "DejaVu Sans", "liberation sans", "Bad,Face",
                                         "A face longer than thirty-one characters"};

class SymbologyEditor : public test::ServicesTest {
 protected:
  SymbologyEditor() {
    file = dir.Write("map.sym", kSymbology);
    Open();
  }
  void Open() {
    symb = std::make_unique<MCartoSymb>(file);
    dlg = std::make_unique<CartoSymbDlg>(*symb, kUsed, kFaces);
  }
  // Closes the dialog and the symbology (which writes itself back); the lines of the
  // file that changed, as "before -> after".
  Lines CloseAndCompare() {
    dlg.reset();
    symb.reset();
    return ChangedLines(kSymbology, dir.Read("map.sym"));
  }
  static Lines ChangedLines(const std::string& before, const std::string& after) {
    std::istringstream a(before), b(after);
    Lines changed;
    std::string x, y;
    while (true) {
      const bool moreA = static_cast<bool>(std::getline(a, x));
      const bool moreB = static_cast<bool>(std::getline(b, y));
      if (!moreA && !moreB) break;
      if (x != y || moreA != moreB) changed.push_back(x + " -> " + y);
      if (!moreA) x.clear();
      if (!moreB) y.clear();
    }
    return changed;
  }
  const CartoLayer& Shown() const {
    return dlg->workingCopy()[static_cast<std::size_t>(dlg->selectedCategory())]
        .layers[static_cast<std::size_t>(dlg->selectedLayer())];
  }
  int FaceIndex(const std::string& face) const {
    const auto& faces = dlg->faces();
    for (std::size_t i = 0; i < faces.size(); ++i)
      if (faces[i] == face) return static_cast<int>(i);
    return -1;
  }

  test::TempDir dir;
  std::string file;
  std::unique_ptr<MCartoSymb> symb;
  std::unique_ptr<CartoSymbDlg> dlg;
};

TEST_F(SymbologyEditor, NoCategoriesMeansNothingToEdit) {
  const std::string empty = dir.Write("empty.sym", "[CATEGORIES]\nN=0\n");
  MCartoSymb none(empty);
  services.messages.Clear();
  int owner = 0;
  EXPECT_FALSE(CartoSymbDlg::CanEdit(none, &owner));
  EXPECT_EQ(services.messages.Transcript(),
            Lines{"KOLTAR32|STOP|A térképhez nincs érvényes kartográfiai adatbázis."});
  EXPECT_EQ(services.messages.messages()[0].owner, &owner);
  services.messages.Clear();
  EXPECT_TRUE(CartoSymbDlg::CanEdit(*symb, nullptr));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(SymbologyEditor, OpensOnTheFirstLayerOfTheFirstCategory) {
  EXPECT_EQ(dlg->selectedCategory(), 0);
  EXPECT_EQ(dlg->selectedLayer(), 0);
  ASSERT_EQ(dlg->layerCount(), 4);
  EXPECT_EQ(dlg->LayerItem(0), 0u);
  EXPECT_EQ(dlg->LayerItem(3), 3u * 65536u);
  EXPECT_EQ(dlg->CategoryRangeText(), "1 : 5 000   -  1 : 200 000 ");
  EXPECT_EQ(dlg->Text(C::ScaleMin), "10000");
  EXPECT_EQ(dlg->Text(C::ScaleMax), "100000");
  // Magenta is entries 11 and 72; the later one is shown.
  EXPECT_EQ(dlg->Selection(C::LineColor), 72);
  EXPECT_EQ(SymbologyPalette()[static_cast<std::size_t>(dlg->Selection(C::FillColor))], Rgb(255, 255, 0));
  EXPECT_EQ(HatchStyleList()[static_cast<std::size_t>(dlg->Selection(C::HatchStyle))], 4);
  EXPECT_EQ(dlg->Selection(C::LineStyle), 1);
  EXPECT_EQ(dlg->Text(C::LineWidth), "0.3");
  EXPECT_EQ(dlg->ColorText(C::LineColor), "#FF00FF");
  // Given keys the line drawing uses are enabled; the hatch is given but lines have none,
  // the font and the symbol are not given.
  EXPECT_TRUE(dlg->IsEnabled(C::LineColor));
  EXPECT_TRUE(dlg->IsEnabled(C::FillColor));
  EXPECT_TRUE(dlg->IsEnabled(C::LineStyle));
  EXPECT_TRUE(dlg->IsEnabled(C::LineWidth));
  EXPECT_FALSE(dlg->IsEnabled(C::HatchStyle));
  EXPECT_FALSE(dlg->IsEnabled(C::FontFace));
  EXPECT_FALSE(dlg->IsEnabled(C::Bold));
  EXPECT_FALSE(dlg->IsEnabled(C::BitmapHeight));
  EXPECT_TRUE(dlg->IsEnabled(C::ScaleMin));
  EXPECT_EQ(dlg->Text(C::FontHeight), "");
  EXPECT_EQ(dlg->Text(C::BitmapHeight), "");
}

TEST_F(SymbologyEditor, ALayerShowsOnlyWhatItsFileGives) {
  dlg->SelectLayer(1);  // Mellékút: a colour outside the palette, style 7, no DISPLAYSCALE
  EXPECT_EQ(dlg->Selection(C::LineColor), 72);  // still the previous layer's
  EXPECT_EQ(dlg->ColorText(C::LineColor), "#010203");
  EXPECT_EQ(dlg->Selection(C::LineStyle), -1);
  EXPECT_EQ(dlg->Text(C::ScaleMin), "-1");
  EXPECT_EQ(dlg->Text(C::ScaleMax), "-1");
  EXPECT_FALSE(dlg->IsEnabled(C::FillColor));
  EXPECT_EQ(dlg->Text(C::LineWidth), "2.0");
  // A disabled picker stores nothing.
  dlg->Pick(C::FillColor, 6);
  EXPECT_EQ(Shown().fillColor, kWhite);
  dlg->SelectLayer(3);  // Ösvény: nothing given
  for (C c :
       {C::LineColor, C::FillColor, C::HatchStyle, C::LineStyle, C::LineWidth, C::FontFace, C::BitmapHeight})
    EXPECT_FALSE(dlg->IsEnabled(c)) << static_cast<int>(c);
  EXPECT_EQ(dlg->Text(C::LineWidth), "");
  dlg->Accept();
  EXPECT_EQ(symb->GetLineColor("Utak", "Mellékút"), Rgb(1, 2, 3));
  // Nothing was changed: the file keeps every byte, and no key was added.
  EXPECT_EQ(CloseAndCompare(), Lines{});
}

TEST_F(SymbologyEditor, TheKindDecidesWhatAGivenKeyOffers) {
  dlg->SelectCategory(1);  // texts: the font, not the line colour they never draw
  EXPECT_EQ(dlg->CategoryRangeText(), "1 : 100   -  1 : 50 000 000 ");
  EXPECT_FALSE(dlg->IsEnabled(C::LineColor));
  EXPECT_TRUE(dlg->IsEnabled(C::FontFace));
  EXPECT_TRUE(dlg->IsEnabled(C::FontColor));
  EXPECT_TRUE(dlg->IsChecked(C::Bold));
  EXPECT_FALSE(dlg->IsChecked(C::Italic));
  EXPECT_EQ(dlg->Text(C::FontHeight), "120.0");
  EXPECT_EQ(dlg->Text(C::FontWidth), "0");
  EXPECT_EQ(SymbologyPalette()[static_cast<std::size_t>(dlg->Selection(C::FontColor))], Rgb(0, 0, 128));
  // A category the map does not draw offers every key its layers give.
  CartoSymbDlg unknown(*symb, {}, {});
  unknown.SelectCategory(1);
  EXPECT_TRUE(unknown.IsEnabled(C::LineColor));
}

TEST_F(SymbologyEditor, AFaceThatIsNotInstalledIsShownAndKept) {
  // The installed faces and the stored one, sorted without regard to case; faces a FONT
  // value cannot hold are left out.
  EXPECT_EQ(dlg->faces(), (Lines{"ARIAL CE", "DejaVu Sans", "liberation sans", "Liberation Serif"}));
  dlg->SelectCategory(1);
  EXPECT_EQ(dlg->Selection(C::FontFace), FaceIndex("ARIAL CE"));
  dlg->Pick(C::FontFace, FaceIndex("Liberation Serif"));
  dlg->SetChecked(C::Italic, true);
  dlg->SetText(C::FontHeight, "150");
  dlg->Accept();
  EXPECT_EQ(symb->GetFont("Nevek", "Város"),
            (FontSpec{"Liberation Serif", Rgb(0, 0, 128), 1, 1, 0, 150.0, 0}));
  EXPECT_EQ(CloseAndCompare(), Lines{"FONT=ARIAL CE,0,0,128,1,0,0,120.0,0 -> "
                                     "FONT=Liberation Serif,0,0,128,1,1,0,150.0,0"});
}

TEST_F(SymbologyEditor, AnInvertedRangeIsShownAndKeptAsItIs) {
  dlg->SelectLayer(2);  // Földút: 200000 ... 6000
  EXPECT_EQ(dlg->Text(C::ScaleMin), "200000");
  EXPECT_EQ(dlg->Text(C::ScaleMax), "6000");
  // Each bound lies within the category's range, so neither is refused.
  EXPECT_TRUE(dlg->CheckRange(C::ScaleMin, nullptr));
  EXPECT_TRUE(dlg->CheckRange(C::ScaleMax, nullptr));
  EXPECT_TRUE(services.messages.messages().empty());
  dlg->Accept();
  std::int32_t min = 0, max = 0;
  symb->GetLayerDisplayScale("Utak", "Földút", min, max);
  EXPECT_EQ(min, 200000);
  EXPECT_EQ(max, 6000);
  EXPECT_EQ(CloseAndCompare(), Lines{});
}

TEST_F(SymbologyEditor, ARangeOutsideTheCategorysIsReportedAndStoredAnyway) {
  dlg->SetText(C::ScaleMax, "300000");
  int owner = 0;
  EXPECT_FALSE(dlg->CheckRange(C::ScaleMax, &owner));
  EXPECT_EQ(services.messages.Transcript(),
            Lines{"Koltar-DEKA|EXCLAMATION|Value is not in the range 5000 to 200000."});
  EXPECT_EQ(services.messages.messages()[0].owner, &owner);
  dlg->SetText(C::ScaleMin, "");  // no number at all
  EXPECT_FALSE(dlg->CheckRange(C::ScaleMin, nullptr));
  dlg->SetText(C::ScaleMin, "5000");  // the bounds belong to the range
  EXPECT_TRUE(dlg->CheckRange(C::ScaleMin, nullptr));
  // An unset bound is no value.
  dlg->SelectLayer(1);
  EXPECT_TRUE(dlg->CheckRange(C::ScaleMin, nullptr));
  dlg->SelectLayer(0);
  EXPECT_EQ(dlg->Text(C::ScaleMax), "300000");
  // "Minden rétegre" gives every layer of the category the range, unset ones included.
  dlg->RangeToAllLayers();
  dlg->Accept();
  dlg.reset();
  symb.reset();
  // Mellékút and Ösvény had no DISPLAYSCALE: theirs follows their last key.
  std::string expected = kSymbology;
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"DISPLAYSCALE=10000,100000\n", "DISPLAYSCALE=5000,300000\n"},
           {"LINEWIDTH=2.0\n", "LINEWIDTH=2.0\nDISPLAYSCALE=5000,300000\n"},
           {"DISPLAYSCALE=200000,6000\n", "DISPLAYSCALE=5000,300000\n"},
           {"[Utak:Ösvény]\nVISIBLE=1\n", "[Utak:Ösvény]\nVISIBLE=1\nDISPLAYSCALE=5000,300000\n"}})
    expected.replace(expected.find(from), from.size(), to);
  EXPECT_EQ(dir.Read("map.sym"), expected);
}

TEST_F(SymbologyEditor, VisibilitySwitches) {
  dlg->ToggleVisibility(2);  // Földút was invisible
  EXPECT_EQ(dlg->workingCopy()[0].layers[2].visible, 1);
  dlg->ToggleVisibility(1);
  dlg->ToggleVisibility(1);  // twice: as it was
  EXPECT_EQ(dlg->workingCopy()[0].layers[1].visible, 1);
  EXPECT_EQ(dlg->selectedLayer(), 0);  // the list keeps its selection
  dlg->SetAllVisible(false);
  for (const CartoLayer& l : dlg->workingCopy()[0].layers) EXPECT_EQ(l.visible, 0);
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Főút"), 1) << "nothing reaches the symbology before OK";
  dlg->SetAllVisible(true);
  dlg->ToggleVisibility(0);
  dlg->Accept();
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Főút"), 0);
  EXPECT_EQ(CloseAndCompare(), (Lines{"VISIBLE=1 -> VISIBLE=0", "VISIBLE=0 -> VISIBLE=1"}));
}

TEST_F(SymbologyEditor, PicksAndTypedValuesReachTheLayer) {
  dlg->Pick(C::LineColor, 11);  // the earlier magenta: the same colour
  EXPECT_EQ(Shown().lineColor, Rgb(255, 0, 255));
  EXPECT_EQ(dlg->Selection(C::LineColor), 11);
  dlg->Pick(C::LineStyle, 4);
  dlg->Pick(C::FillColor, 6);
  dlg->SetText(C::LineWidth, "12.25x");  // read as far as it is a number
  EXPECT_DOUBLE_EQ(Shown().lineWidth, 12.25);
  dlg->SetText(C::LineWidth, "1234567890123456789");  // the edit holds 15 characters
  EXPECT_EQ(dlg->Text(C::LineWidth), "123456789012345");
  dlg->SetText(C::LineWidth, "vastag");
  EXPECT_EQ(Shown().lineWidth, 0.0);
  dlg->SetText(C::LineWidth, "7.5");
  // A colour typed by hand, with or without "#"; other texts change nothing.
  EXPECT_TRUE(dlg->SetColorText(C::FillColor, "#ff8000"));
  EXPECT_EQ(Shown().fillColor, Rgb(255, 128, 0));
  EXPECT_EQ(dlg->Selection(C::FillColor), 6) << "not a palette colour: the selection stays";
  EXPECT_TRUE(dlg->SetColorText(C::FillColor, "0000FF"));
  EXPECT_EQ(dlg->Selection(C::FillColor), 10);
  EXPECT_FALSE(dlg->SetColorText(C::FillColor, "#12345"));
  EXPECT_FALSE(dlg->SetColorText(C::FillColor, "#12345G"));
  EXPECT_FALSE(dlg->SetColorText(C::HatchStyle, "#000000"));
  EXPECT_EQ(Shown().fillColor, Rgb(0, 0, 255));
  dlg->Accept();
  EXPECT_EQ(CloseAndCompare(), (Lines{"FILLCOLOR=255,255,0 -> FILLCOLOR=0,0,255",
                                      "LINESTYLE=1 -> LINESTYLE=4", "LINEWIDTH=0.3 -> LINEWIDTH=7.5"}));
}

TEST_F(SymbologyEditor, ShowingALayerRoundsItsLengthsLikeTheFile) {
  const std::string other = dir.Write("round.sym",
                                      "[CATEGORIES]\nN=1\nCATEGORY01=C\n[C]\nN=2\nLAYER01=A\nLAYER02=B\n"
                                      "[C:A]\nLINEWIDTH=0.26\n"
                                      "[C:B]\nFONT=Arial,0,0\n");
  MCartoSymb s(other);
  {
    CartoSymbDlg d(s, {}, {});
    EXPECT_EQ(d.Text(C::LineWidth), "0.3");
    EXPECT_DOUBLE_EQ(d.workingCopy()[0].layers[0].lineWidth, 0.3);
    d.SelectLayer(1);  // a FONT that did not parse: shown, yet left as the user wrote it
    EXPECT_EQ(d.Text(C::FontHeight), "0.0");
    d.Accept();
  }
  EXPECT_DOUBLE_EQ(s.GetStrokeWidth("C", "A", 0), 0.3);
  EXPECT_EQ(s.categories()[0].layers[1].fontReadIncomplete, s.categories()[0].layers[1].font());
}

TEST_F(SymbologyEditor, CancelChangesNothing) {
  dlg->SetAllVisible(false);
  dlg->Pick(C::LineColor, 0);
  dlg->SetText(C::LineWidth, "99");
  EXPECT_FALSE(dlg->Cancel()) << "no preview was shown";
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Főút"), 1);
  EXPECT_EQ(symb->GetLineColor("Utak", "Főút"), Rgb(255, 0, 255));
  EXPECT_EQ(CloseAndCompare(), Lines{});
}

TEST_F(SymbologyEditor, APreviewLastsUntilOkOrCancel) {
  dlg->ToggleVisibility(0);
  dlg->Preview();
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Főút"), 0) << "the map draws with the working copy";
  dlg->ToggleVisibility(1);
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Mellékút"), 1) << "until the next preview";
  EXPECT_TRUE(dlg->Cancel());
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Főút"), 1);
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Mellékút"), 1);
  // A dialog that goes without OK or Cancel puts the records back too.
  dlg = std::make_unique<CartoSymbDlg>(*symb, kUsed, kFaces);
  dlg->SetAllVisible(false);
  dlg->Preview();
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Ösvény"), 0);
  dlg.reset();
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Ösvény"), 1);
  // OK after a preview keeps the edit.
  dlg = std::make_unique<CartoSymbDlg>(*symb, kUsed, kFaces);
  dlg->ToggleVisibility(3);
  dlg->Preview();
  dlg->Accept();
  EXPECT_FALSE(dlg->Cancel());
  dlg.reset();
  EXPECT_EQ(symb->IsLayerVisible("Utak", "Ösvény"), 0);
  EXPECT_EQ(CloseAndCompare(), Lines{"VISIBLE=1 -> VISIBLE=0"});
}

TEST_F(SymbologyEditor, ACategoryWithoutLayersStoresNothing) {
  dlg->SelectCategory(2);
  EXPECT_EQ(dlg->layerCount(), 0);
  EXPECT_EQ(dlg->selectedLayer(), -1);
  for (C c : {C::LineColor, C::LineWidth, C::FontFace, C::ScaleMin, C::RangeToAll})
    EXPECT_FALSE(dlg->IsEnabled(c)) << static_cast<int>(c);
  EXPECT_EQ(dlg->Text(C::ScaleMin), "");
  dlg->SetText(C::ScaleMin, "5000");
  dlg->Pick(C::LineColor, 3);
  dlg->SetAllVisible(false);
  dlg->RangeToAllLayers();
  EXPECT_TRUE(dlg->CheckRange(C::ScaleMin, nullptr));
  dlg->Accept();
  EXPECT_EQ(CloseAndCompare(), Lines{});
}

}  // namespace
}  // namespace koltar
