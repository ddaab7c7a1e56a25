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
void StylePlaceLabel(SymbologyWriter::Layer& layer, const std::string& style, Band band);
double PlaceLabelHeight(const std::string& style, Band band);

// Labels of waters, of other areas and of streets.
void StyleWaterLabel(SymbologyWriter::Layer& layer);
void StyleAreaLabel(SymbologyWriter::Layer& layer);
void StyleStreetLabel(SymbologyWriter::Layer& layer);
double StreetLabelHeight();
double AreaLabelHeight();

// The route over the map.
// The route's style; `mapSize` is the larger side of the map's extent, ground metres.
void StyleRoute(SymbologyWriter::Layer& layer, double mapSize);

}  // namespace koltar::import
