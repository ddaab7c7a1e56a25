#pragma once
// The look of an imported map: symbology keys per layer, in the manner of a road atlas,
// and the settlement symbols. Lengths are ground metres.

#include <string>

#include "platform/bmp.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar::import {

// Scale bands: roads, settlements and labels have one layer per band, since their widths
// and sizes are ground lengths that grow with the zoom.
enum class Band { Near, Medium, Far, Regional };  // Regional lies between Near and Medium

// Styles of road classes: motorway trunk primary secondary tertiary minor residential
// service track path. True when the class has a layer in that band.
bool RoadInBand(const std::string& style, Band band);
void StyleRoad(SymbologyWriter::Layer& layer, const std::string& style, Band band);

// Area styles: country builtup forest park square water.
void StyleArea(SymbologyWriter::Layer& layer, const std::string& style);
// Line styles: border river stream railway.
void StyleLine(SymbologyWriter::Layer& layer, const std::string& style);
// Large rivers again at the Medium and Far bands, wide enough to be seen there.
void StyleLargeRiver(SymbologyWriter::Layer& layer, Band band);

// Settlement styles: city town village hamlet suburb. True when the class has a symbol in
// that band (Near: the towns category, Far: the overview towns).
bool PlaceInBand(const std::string& style, Band band);
void StylePlace(SymbologyWriter::Layer& layer, const std::string& style, Band band,
                const std::string& bitmapFile);
BmpPicture PlaceSymbol(const std::string& style);
// Height in metres of a settlement's symbol, so that its label can stand beside it.
double PlaceSymbolHeight(const std::string& style, Band band);

// Labels of settlements, per band; true when the class is labelled in the band.
bool PlaceLabelInBand(const std::string& style, Band band);
double PlaceLabelHeight(const std::string& style, Band band);

// Settlement labels at the Far band reach as far as the towns' symbols when the labels
// are thinned (`thinned`), since they then do not crowd each other.
void StylePlaceLabel(SymbologyWriter::Layer& layer, const std::string& style, Band band,
                     bool thinned = false);
// Average width of a character of a settlement's label, as a share of the label height
// (generous, for telling whether labels would overlap).
double PlaceLabelCharacterWidth(const std::string& style);

// Labels of waters, of other areas and of streets.
void StyleWaterLabel(SymbologyWriter::Layer& layer);
// Names of large rivers and lakes in the Regional, Medium and Far bands.
void StyleLargeWaterLabel(SymbologyWriter::Layer& layer, Band band);
double LargeWaterLabelHeight(Band band);
// Large waters: rivers at least this long, lakes at least this large (metres, square
// metres).
inline constexpr double kLargeRiverLength = 50000;
inline constexpr double kLargeLakeArea = 200e6;
void StyleAreaLabel(SymbologyWriter::Layer& layer);
void StyleStreetLabel(SymbologyWriter::Layer& layer);
double StreetLabelHeight();
double AreaLabelHeight();

// The route over the map.
// The route's style; `mapSize` is the larger side of the map's extent, ground metres.
void StyleRoute(SymbologyWriter::Layer& layer, double mapSize);

}  // namespace koltar::import
