#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "platform/profile.h"
#include "symbology/cartosymb.h"
#include "tests/support/test_env.h"
#include "tests/support/write_faults.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

BmpPicture Picture(int width, int height, ColorRef color) {
  BmpPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width) * height, color);
  return p;
}

class Symbology : public test::ServicesTest {
 protected:
  Lines Transcript() const { return services.messages.Transcript(); }

  test::TempDir dir;
};

// A symbology file as users keep them: comments, blank lines, unknown keys, CRLF.
constexpr const char* kMapSymbology =
    "; Jelkulcs\r\n"
    "[CATEGORIES]\r\n"
    "N=2\r\n"
    "CATEGORY01=Utak\r\n"
    "CATEGORY02=Települések\r\n"
    "\r\n"
    "[Utak]\r\n"
    "N=2\r\n"
    "LAYER01=Főút\r\n"
    "LAYER02=Mellékút\r\n"
    "DISPLAYSCALE=1000,200000\r\n"
    "AUTHOR=kept\r\n"
    "\r\n"
    "[Utak:Főút]\r\n"
    "VISIBLE=1\r\n"
    "LINECOLOR=300,0,0\r\n"
    "LINEWIDTH=0.26\r\n"
    "WIDTHFACTOR=100,50,10\r\n"
    "LINESTYLE=2\r\n"
    "NOTE=unknown keys stay\r\n"
    "\r\n"
    "[Utak:Mellékút]\r\n"
    "; nothing given here\r\n"
    "\r\n"
    "[Települések]\r\n"
    "N=1\r\n"
    "LAYER01=Város\r\n"
    "\r\n"
    "[Települések:Város]\r\n"
    "VISIBLE=0\r\n"
    "DISPLAYSCALE=0,0\r\n"
    "FILLCOLOR=10,20,30\r\n"
    "HATCHSTYLE=4\r\n"
    "FONT=Times New Roman,0,0,255,1,0,1,250,80\r\n"
    "BITMAP=VAROS.BMP,120\r\n"
    "TRANSPARENTCOLOR=255,255,255\r\n";

TEST_F(Symbology, ReadsEveryKeyOfTheLayers) {
  dir.Write("VAROS.BMP", EncodeBmp(Picture(12, 8, Rgb(0, 0, 255))));
  const std::string file = dir.Write("map.sym", kMapSymbology);
  MCartoSymb symb(file);
  EXPECT_EQ(Transcript(), Lines{});
  ASSERT_EQ(symb.categories().size(), 2u);
  EXPECT_EQ(symb.categories()[1].name, "Települések");
  EXPECT_EQ(symb.fileName(), file);

  std::int32_t min = 0, max = 0;
  symb.GetCategoryDisplayScale("Utak", min, max);
  EXPECT_EQ(min, 1000);
  EXPECT_EQ(max, 200000);

  // A red component of 300 keeps its low 8 bits.
  EXPECT_EQ(symb.GetLineColor("Utak", "Főút"), Rgb(44, 0, 0));
  EXPECT_EQ(symb.GetLineStyle("Utak", "Főút"), 2);
  EXPECT_DOUBLE_EQ(symb.GetStrokeWidth("Utak", "Főút", 1), 0.13);
  const CartoLayer& road = symb.categories()[0].layers[0];
  EXPECT_EQ(road.lineFlags, kLineColorGiven | kLineStyleGiven | kLineWidthGiven | kWidthFactorGiven);
  EXPECT_EQ(road.fillFlags, 0);
  EXPECT_EQ(road.symbolFlags, 0);

  EXPECT_EQ(symb.IsLayerVisible("Települések", "Város"), 0);
  symb.GetLayerDisplayScale("Települések", "Város", min, max);  // 0,0: not given
  EXPECT_EQ(min, 100);
  EXPECT_EQ(max, 50000000);
  EXPECT_EQ(symb.GetFillColor("Települések", "Város"), Rgb(10, 20, 30));
  EXPECT_EQ(symb.GetHatchStyle("Települések", "Város"), 4);
  EXPECT_EQ(symb.GetFont("Települések", "Város"),
            (FontSpec{"Times New Roman", Rgb(0, 0, 255), 1, 0, 1, 250.0, 80}));
  const Bitmap* symbol = symb.GetBitmap("Települések", "Város");
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(symbol->width(), 12);
  EXPECT_EQ(symbol->GetPixel(3, 3), Rgb(0, 0, 255));
  EXPECT_EQ(symb.GetBitmapHeight("Települések", "Város"), 120.0);
  EXPECT_TRUE(symb.HasTransparentColor("Települések", "Város"));
  EXPECT_EQ(symb.GetTransparentColor("Települések", "Város"), kWhite);
  const CartoLayer& town = symb.categories()[1].layers[0];
  EXPECT_EQ(town.fontGiven, 1);
  EXPECT_EQ(town.bitmapFile, "VAROS.BMP");
  EXPECT_EQ(town.symbolFlags, kBitmapGiven | kTransparentColorGiven);
}

TEST_F(Symbology, StrokeWidthsArePerCentOfTheLineWidth) {
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                     "[C]\nN=1\nLAYER01=L\n"
                                     "[C:L]\nLINEWIDTH=2\nWIDTHFACTOR=100,50,10\n");
  MCartoSymb symb(file);
  EXPECT_DOUBLE_EQ(symb.GetStrokeWidth("C", "L", 0), 2.0);
  EXPECT_DOUBLE_EQ(symb.GetStrokeWidth("C", "L", 1), 1.0);
  EXPECT_DOUBLE_EQ(symb.GetStrokeWidth("C", "L", 2), 0.2);
  EXPECT_EQ(symb.GetStrokeWidth("C", "L", 3), 0.0);
  EXPECT_EQ(symb.GetStrokeWidth("C", "L", -1), 0.0);
}

TEST_F(Symbology, EmptyLayersAndUnknownNamesGiveTheDefaults) {
  const std::string file = dir.Write("map.sym", kMapSymbology);
  MCartoSymb symb(file);
  // An empty layer section, a layer not held, a category not held, a name in the wrong case.
  for (const auto& [category, layer] : std::vector<std::pair<std::string, std::string>>{
           {"Utak", "Mellékút"}, {"Utak", "Ösvény"}, {"Vasút", "Főút"}, {"utak", "Főút"}}) {
    SCOPED_TRACE(category + ":" + layer);
    std::int32_t min = 0, max = 0;
    symb.GetLayerDisplayScale(category, layer, min, max);
    EXPECT_EQ(min, 100);
    EXPECT_EQ(max, 50000000);
    EXPECT_EQ(symb.IsLayerVisible(category, layer), 1);
    EXPECT_EQ(symb.GetLineColor(category, layer), kBlack);
    EXPECT_EQ(symb.GetFillColor(category, layer), kWhite);
    EXPECT_EQ(symb.GetHatchStyle(category, layer), -1);
    EXPECT_EQ(symb.GetLineStyle(category, layer), 0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(symb.GetStrokeWidth(category, layer, k), 0.0);
    EXPECT_EQ(symb.GetFont(category, layer), FontSpec{});
    EXPECT_EQ(symb.GetBitmap(category, layer), nullptr);
    EXPECT_EQ(symb.GetBitmapHeight(category, layer), 0.0);
    EXPECT_FALSE(symb.HasTransparentColor(category, layer));
    EXPECT_EQ(symb.GetTransparentColor(category, layer), kBlack);
  }
  std::int32_t min = 0, max = 0;
  symb.GetCategoryDisplayScale("Települések", min, max);
  EXPECT_EQ(min, 100);
  EXPECT_EQ(max, 50000000);
  symb.GetCategoryDisplayScale("Vasút", min, max);
  EXPECT_EQ(min, 100);
  EXPECT_EQ(max, 50000000);
}

TEST_F(Symbology, WriteBackChangesOnlyTheGivenKeys) {
  dir.Write("VAROS.BMP", EncodeBmp(Picture(2, 2, kBlack)));
  const std::string file = dir.Write("map.sym", kMapSymbology);
  { MCartoSymb symb(file); }
  EXPECT_EQ(dir.Read("map.sym"),
            "; Jelkulcs\r\n"
            "[CATEGORIES]\r\n"
            "N=2\r\n"
            "CATEGORY01=Utak\r\n"
            "CATEGORY02=Települések\r\n"
            "\r\n"
            "[Utak]\r\n"
            "N=2\r\n"
            "LAYER01=Főút\r\n"
            "LAYER02=Mellékút\r\n"
            "DISPLAYSCALE=1000,200000\r\n"
            "AUTHOR=kept\r\n"
            "\r\n"
            "[Utak:Főút]\r\n"
            "VISIBLE=1\r\n"
            "LINECOLOR=44,0,0\r\n"
            "LINEWIDTH=0.3\r\n"
            "WIDTHFACTOR=100.0,50.0,10.0\r\n"
            "LINESTYLE=2\r\n"
            "NOTE=unknown keys stay\r\n"
            "\r\n"
            "[Utak:Mellékút]\r\n"
            "VISIBLE=1\r\n"
            "; nothing given here\r\n"
            "\r\n"
            "[Települések]\r\n"
            "N=1\r\n"
            "LAYER01=Város\r\n"
            "\r\n"
            "[Települések:Város]\r\n"
            "VISIBLE=0\r\n"
            "DISPLAYSCALE=0,0\r\n"
            "FILLCOLOR=10,20,30\r\n"
            "HATCHSTYLE=4\r\n"
            "FONT=Times New Roman,0,0,255,1,0,1,250.0,80\r\n"
            "BITMAP=VAROS.BMP,120.0\r\n"
            "TRANSPARENTCOLOR=255,255,255\r\n");

  // A second close finds nothing to change.
  const std::string once = dir.Read("map.sym");
  { MCartoSymb symb(file); }
  EXPECT_EQ(dir.Read("map.sym"), once);
}

TEST_F(Symbology, ScaleRangesWithOneNumberAreReported) {
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=Utak\n"
                                     "[Utak]\nN=1\nLAYER01=Főút\nDISPLAYSCALE=5000\n"
                                     "[Utak:Főút]\nDISPLAYSCALE=x,7\n");
  {
    MCartoSymb symb(file);
    EXPECT_EQ(Transcript(), (Lines{"KOLTAR32|EXCLAMATION|'Utak' kategóriánál a DISPLAYSCALE opció kevés "
                                   "értéket tartalmaz '" +
                                       file + "' file-ban.",
                                   "KOLTAR32|EXCLAMATION|'Utak:Főút' rétegnél a DISPLAYSCALE opció kevés "
                                   "értéket tartalmaz '" +
                                       file + "' file-ban."}));
    std::int32_t min = 0, max = 0;
    symb.GetCategoryDisplayScale("Utak", min, max);
    EXPECT_EQ(min, 5000);
    EXPECT_EQ(max, 50000000);
    symb.GetLayerDisplayScale("Utak", "Főút", min, max);
    EXPECT_EQ(min, 100);
    EXPECT_EQ(max, 50000000);
  }
  // The read bound is written back with the unset one; a range without a minimum is not.
  EXPECT_EQ(dir.Read("a.sym"),
            "[CATEGORIES]\nN=1\nCATEGORY01=Utak\n"
            "[Utak]\nN=1\nLAYER01=Főút\nDISPLAYSCALE=5000,-1\n"
            "[Utak:Főút]\nDISPLAYSCALE=x,7\nVISIBLE=1\n");
}

TEST_F(Symbology, ShortWidthFactorIsReplacedAndWrittenAsReplaced) {
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                     "[C]\nN=1\nLAYER01=L\n"
                                     "[C:L]\nLINEWIDTH=4\nWIDTHFACTOR=150,50\n");
  {
    MCartoSymb symb(file);
    EXPECT_EQ(Transcript(), Lines{"KOLTAR32|STOP|Nincs elég adat [C:L] szekció 'WIDTHFACTOR=' "
                                  "bejegyzésénél '" +
                                  file + "' file-ban."});
    EXPECT_DOUBLE_EQ(symb.GetStrokeWidth("C", "L", 0), 4.0);
    EXPECT_EQ(symb.GetStrokeWidth("C", "L", 1), 0.0);
  }
  EXPECT_EQ(dir.Read("a.sym"),
            "[CATEGORIES]\nN=1\nCATEGORY01=C\n[C]\nN=1\nLAYER01=L\n"
            "[C:L]\nLINEWIDTH=4.0\nWIDTHFACTOR=100.0,0.0,0.0\nVISIBLE=1\n");
}

TEST_F(Symbology, FontThatDoesNotParseIsKeptUntilEdited) {
  const std::string face40(40, 'F');
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                     "[C]\nN=3\nLAYER01=Short\nLAYER02=Edited\nLAYER03=Long\n"
                                     "[C:Short]\nFONT=Arial,255,0,0\n"
                                     "[C:Edited]\nFONT=Arial,255\n"
                                     "[C:Long]\nFONT=" +
                                         face40 + ",1,2,3,0,1,0,12.5,90\n");
  {
    MCartoSymb symb(file);
    EXPECT_EQ(Transcript(),
              (Lines{"KOLTAR32|STOP|Nincs elég adat [C:Short] szekció 'FONT=' bejegyzésénél '" + file +
                         "' file-ban.",
                     "KOLTAR32|STOP|Nincs elég adat [C:Edited] szekció 'FONT=' bejegyzésénél '" + file +
                         "' file-ban."}));
    // The fields read so far are kept; the colour only comes with a complete value.
    EXPECT_EQ(symb.GetFont("C", "Short"), (FontSpec{"Arial", kBlack, 0, 0, 0, 0.0, 0}));
    EXPECT_EQ(symb.categories()[0].layers[0].fontGiven, 1);
    // A face longer than the field is cut, and the fields after it still read.
    EXPECT_EQ(symb.GetFont("C", "Long"), (FontSpec{face40.substr(0, 31), Rgb(1, 2, 3), 0, 1, 0, 12.5, 90}));

    std::vector<CartoCategory> edited = symb.categories();
    edited[0].layers[1].fontHeight = 30.0;
    symb.ReplaceCategories(std::move(edited));
  }
  EXPECT_EQ(dir.Read("a.sym"),
            "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
            "[C]\nN=3\nLAYER01=Short\nLAYER02=Edited\nLAYER03=Long\n"
            "[C:Short]\nFONT=Arial,255,0,0\nVISIBLE=1\n"
            "[C:Edited]\nFONT=Arial,0,0,0,0,0,0,30.0,0\nVISIBLE=1\n"
            "[C:Long]\nFONT=" +
                face40.substr(0, 31) + ",1,2,3,0,1,0,12.5,90\nVISIBLE=1\n");
}

TEST_F(Symbology, BitmapNamesResolveAgainstTheSymbologyFile) {
  dir.Write("maps/SYM.BMP", EncodeBmp(Picture(4, 2, Rgb(255, 0, 0))));
  dir.Write("maps/sub/sym.bmp", EncodeBmp(Picture(4, 2, kBlack)));
  dir.Write("other/far.bmp", EncodeBmp(Picture(6, 3, Rgb(0, 255, 0))));
  // The symbology file is named with a drive, as a map file from DOS names it.
  const std::string file = "E:" + dir.Write("maps/a.sym",
                                            "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                            "[C]\nN=3\nLAYER01=Bare\nLAYER02=Full\nLAYER03=Dir\n"
                                            "[C:Bare]\nBITMAP=sym.bmp,10\n"
                                            "[C:Full]\nBITMAP=D:" +
                                                dir.Model("other/far.bmp") +
                                                ",20\n"
                                                "[C:Dir]\nBITMAP=sub\\sym.bmp,30\n");
  MCartoSymb symb(file);
  // A directory without a drive gets only the drive: it is not looked up below maps/.
  EXPECT_EQ(Transcript(), Lines{"KOLTAR32|STOP|'E:sub\\sym.bmp' file nem található [C:Dir] "
                                "szekció 'BITMAP=' bejegyzésénél '" +
                                file + "' file-ban."});
  const Bitmap* bare = symb.GetBitmap("C", "Bare");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->GetPixel(0, 0), Rgb(255, 0, 0));
  const Bitmap* full = symb.GetBitmap("C", "Full");
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->width(), 6);
  EXPECT_EQ(symb.GetBitmap("C", "Dir"), nullptr);
  // The name stays as written, and so does the height of a missing symbol.
  EXPECT_EQ(symb.categories()[0].layers[2].bitmapFile, "sub\\sym.bmp");
  EXPECT_EQ(symb.GetBitmapHeight("C", "Dir"), 30.0);
}

TEST_F(Symbology, BadBitmapValuesLeaveNoSymbolAndKeepTheUsersValue) {
  dir.Write("broken.bmp", "BM not really a picture");
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                     "[C]\nN=3\nLAYER01=NoHeight\nLAYER02=Broken\nLAYER03=Gone\n"
                                     "[C:NoHeight]\nBITMAP=sym.bmp\n"
                                     "[C:Broken]\nBITMAP=broken.bmp,5.26\n"
                                     "[C:Gone]\nBITMAP=gone.bmp,7\nTRANSPARENTCOLOR=1,2\n");
  {
    MCartoSymb symb(file);
    const std::string directory = dir.Model();
    EXPECT_EQ(Transcript(), (Lines{"KOLTAR32|STOP|Nincs elég adat [C:NoHeight] szekció 'BITMAP=' "
                                   "bejegyzésénél '" +
                                       file + "' file-ban.",
                                   "KOLTAR32|STOP|'" + directory +
                                       "broken.bmp' file nem olvasható bittérkép "
                                       "[C:Broken] szekció 'BITMAP=' bejegyzésénél '" +
                                       file + "' file-ban.",
                                   "KOLTAR32|STOP|'" + directory +
                                       "gone.bmp' file nem található [C:Gone] "
                                       "szekció 'BITMAP=' bejegyzésénél '" +
                                       file + "' file-ban."}));
    for (const char* layer : {"NoHeight", "Broken", "Gone"})
      EXPECT_EQ(symb.GetBitmap("C", layer), nullptr) << layer;
    const CartoLayer& noHeight = symb.categories()[0].layers[0];
    EXPECT_EQ(noHeight.symbolFlags, kBitmapGiven);
    EXPECT_EQ(noHeight.bitmapFile, "");
    EXPECT_EQ(symb.GetTransparentColor("C", "Gone"), Rgb(1, 2, 0));
  }
  // The value that did not parse is not replaced by an empty name.
  EXPECT_EQ(dir.Read("a.sym"),
            "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
            "[C]\nN=3\nLAYER01=NoHeight\nLAYER02=Broken\nLAYER03=Gone\n"
            "[C:NoHeight]\nBITMAP=sym.bmp\nVISIBLE=1\n"
            "[C:Broken]\nBITMAP=broken.bmp,5.3\nVISIBLE=1\n"
            "[C:Gone]\nBITMAP=gone.bmp,7.0\nTRANSPARENTCOLOR=1,2,0\nVISIBLE=1\n");
}

TEST_F(Symbology, MissingOrCountlessFilesGiveAnEmptySymbology) {
  const std::string missing = dir.Model("none.sym");
  const std::string noCount = dir.Write("nocount.sym", "[CATEGORIES]\nCATEGORY01=C\n");
  const std::string negative = dir.Write("negative.sym", "[CATEGORIES]\nN=-2\n");
  for (const std::string& file : {missing, dir.Model(), noCount, negative}) {
    MCartoSymb symb(file);
    EXPECT_TRUE(symb.categories().empty()) << file;
    EXPECT_EQ(symb.GetLineColor("C", "L"), kBlack);
  }
  EXPECT_EQ(
      Transcript(),
      (Lines{"KOLTAR32|STOP|'" + missing + "' file nem található.",
             "KOLTAR32|STOP|'" + dir.Model() + "' file nem található.",
             "KOLTAR32|STOP|A kategóriák száma nincs megadva, vagy hibás '" + noCount + "' file-ban.",
             "KOLTAR32|STOP|A kategóriák száma nincs megadva, vagy hibás '" + negative + "' file-ban."}));
  // Closing writes nothing: no file appears, the others are unchanged.
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.sym"));
  EXPECT_EQ(dir.Read("nocount.sym"), "[CATEGORIES]\nCATEGORY01=C\n");
}

TEST_F(Symbology, FindEntryTakesTheLastCategoryAndTheFirstLayer) {
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=3\nCATEGORY01=C\nCATEGORY02=D\nCATEGORY03=C\n"
                                     "[C]\nN=2\nLAYER01=L\nLAYER02=L\n"
                                     "[C:L]\nLINESTYLE=3\n"
                                     "[D]\nN=1\nLAYER01=M\n");
  MCartoSymb symb(file);
  int c = 7, l = 7;
  EXPECT_TRUE(symb.FindEntry("C", nullptr, c, l));
  EXPECT_EQ(c, 2);
  EXPECT_EQ(l, -1);
  const std::string_view layer = "L";
  EXPECT_TRUE(symb.FindEntry("C", &layer, c, l));
  EXPECT_EQ(c, 2);
  EXPECT_EQ(l, 0);
  const std::string_view other = "M";
  EXPECT_FALSE(symb.FindEntry("C", &other, c, l));
  EXPECT_EQ(c, 2);
  EXPECT_EQ(l, -1);
  EXPECT_FALSE(symb.FindEntry("c", nullptr, c, l));
  EXPECT_EQ(c, -1);
  EXPECT_TRUE(symb.FindEntry("D", &other, c, l));
  EXPECT_EQ(c, 1);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(symb.GetLineStyle("C", "L"), 3);
}

TEST_F(Symbology, EditedCopiesShareTheSymbolAndAreWrittenBack) {
  dir.Write("sym.bmp", EncodeBmp(Picture(3, 3, kWhite)));
  const std::string file = dir.Write("a.sym",
                                     "[CATEGORIES]\nN=1\nCATEGORY01=C\n"
                                     "[C]\nN=1\nLAYER01=L\n"
                                     "[C:L]\nLINECOLOR=1,2,3\nBITMAP=sym.bmp,8\n");
  {
    MCartoSymb symb(file);
    const Bitmap* symbol = symb.GetBitmap("C", "L");
    ASSERT_NE(symbol, nullptr);
    std::vector<CartoCategory> copy = symb.categories();
    EXPECT_EQ(copy[0].layers[0].bitmap.get(), symbol);
    CartoLayer& layer = copy[0].layers[0];
    layer.visible = 0;
    layer.lineColor = Rgb(9, 8, 7);
    layer.bitmapHeight = 12.5;
    layer.scaleMin = 2000;
    layer.scaleMax = 90000;
    layer.fillColor = Rgb(5, 5, 5);  // not given: the editor cannot make it appear
    symb.ReplaceCategories(copy);
    copy.clear();  // the editor's copy goes; the symbology still holds the picture
    EXPECT_EQ(symb.GetBitmap("C", "L"), symbol);
    EXPECT_EQ(symbol->GetPixel(1, 1), kWhite);
  }
  EXPECT_EQ(dir.Read("a.sym"),
            "[CATEGORIES]\nN=1\nCATEGORY01=C\n[C]\nN=1\nLAYER01=L\n"
            "[C:L]\nLINECOLOR=9,8,7\nBITMAP=sym.bmp,12.5\nVISIBLE=0\nDISPLAYSCALE=2000,90000\n");
  // Opening again shows the edited values.
  MCartoSymb reopened(file);
  EXPECT_EQ(reopened.IsLayerVisible("C", "L"), 0);
  EXPECT_EQ(reopened.GetLineColor("C", "L"), Rgb(9, 8, 7));
  std::int32_t min = 0, max = 0;
  reopened.GetLayerDisplayScale("C", "L", min, max);
  EXPECT_EQ(min, 2000);
  EXPECT_EQ(max, 90000);
}

TEST_F(Symbology, LongNamesAreCutToTheirField) {
  const std::string category(40, 'C');
  const std::string layer(40, 'L');
  const std::string c31 = category.substr(0, 31);
  const std::string l31 = layer.substr(0, 31);
  const std::string file = dir.Write("a.sym", "[CATEGORIES]\nN=1\nCATEGORY01=" + category +
                                                  "\n"
                                                  "[" +
                                                  c31 + "]\nN=1\nLAYER01=" + layer +
                                                  "\n"
                                                  "[" +
                                                  c31 + ":" + l31 + "]\nHATCHSTYLE=5\n");
  MCartoSymb symb(file);
  EXPECT_EQ(symb.categories()[0].name, c31);
  EXPECT_EQ(symb.GetHatchStyle(c31, l31), 5);
}

// The write-back at close is one replacement of the file: a failure at any of its steps
// leaves the file as it was, byte for byte, and tells the user; otherwise every edited
// value is in the file.
TEST_F(Symbology, FailedWriteBackLeavesTheFileWholeAndSaysSo) {
  const std::string file = dir.Model("a.sym");
  std::string written;
  const int steps = test::SweepWriteFaults(
      [&] {
        dir.Write("a.sym", kMapSymbology);
        ForgetProfileFiles();
        services.messages.Clear();
      },
      [&] {
        {
          MCartoSymb symb(file);
          std::vector<CartoCategory> edited = symb.categories();
          edited[0].layers[0].lineColor = Rgb(1, 2, 3);
          edited[1].layers[0].visible = 1;
          symb.ReplaceCategories(std::move(edited));
          services.messages.Clear();  // what loading said
        }
        return services.messages.messages().empty();
      },
      [&](bool ok, const test::ScopedWriteFault& fault) {
        if (!fault.failed()) written = dir.Read("a.sym");
        EXPECT_EQ(ok, !fault.failed());
        EXPECT_EQ(dir.Read("a.sym"), ok ? written : std::string(kMapSymbology));
        if (!ok) {
          EXPECT_EQ(Transcript(), Lines{"KOLTAR32|EXCLAMATION|Írás hiba '" + file + "' file-ban."});
        }
      });
  EXPECT_EQ(steps, 5);
  EXPECT_NE(written.find("LINECOLOR=1,2,3"), std::string::npos);
}

// A count the file cannot hold is no count: nothing is allocated or read for it.
TEST_F(Symbology, CountsBeyondTheFileAreReported) {
  const std::string huge = dir.Write("huge.sym", "[CATEGORIES]\nN=2000000000\n");
  const std::string layers = dir.Write("layers.sym", "[CATEGORIES]\nN=1\nCATEGORY01=C\n[C]\nN=2147483647\n");
  {
    MCartoSymb a(huge);
    EXPECT_TRUE(a.categories().empty());
    MCartoSymb b(layers);
    ASSERT_EQ(b.categories().size(), 1u);
    EXPECT_TRUE(b.categories()[0].layers.empty());
  }
  EXPECT_EQ(Transcript(),
            (Lines{"KOLTAR32|STOP|A kategóriák száma nincs megadva, vagy hibás '" + huge + "' file-ban.",
                   "KOLTAR32|EXCLAMATION|A(z) 'N' bejegyzés értéke (2147483647) hibás [C] szekcióban '" +
                       layers + "' file-ban."}));
}

}  // namespace
}  // namespace koltar
