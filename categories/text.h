#pragma once
// The text category: map labels such as the names of regions, waters and mountains.
// Each label is a name of the name table placed at an anchor (the left end of its
// baseline) and turned by an angle about it; its layer gives the font and the colour.
// Labels can be dragged to new places (the category then counts as changed), their
// places saved back into DATAFILE with the previous file kept as ".BAK", and places
// saved for another edition of the data taken over by matching label names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "categories/category_common.h"
#include "categories/map_category.h"
#include "categories/record_array.h"
#include "geometry/geometry.h"
#include "geometry/transform.h"
#include "platform/color.h"
#include "platform/dc.h"

namespace koltar {

class MCartoSymb;
class ReplacementFile;

class MText final : public MapCategory {
 public:
  // Reads the category's section of the map file and loads DATAFILE and NAMEFILE.
  // Never fails: problems are shown and leave the category empty or partly empty.
  MText(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  // Asks whether to save changed label positions ("A '%s' kategória tartalma
  // megváltozott..."), and saves them on Yes.
  ~MText();
  MText(const MText&) = delete;
  MText& operator=(const MText&) = delete;

  CategoryKind kind() const override { return CategoryKind::Text; }
  const std::string& name() const override { return name_; }
  // The union of the anchor points (label extents do not enter).
  MapRect GetExtent() const override;
  // Draws the labels of the visible layers that reach into the update rectangle,
  // computing their label rectangles, and sets the drawn flags. (The needed files are
  // DATAFILE and NAMEFILE.)
  void Draw(const RenderContext& context) override;

  // The topmost drawn label whose rectangle, turned by its angle about the anchor,
  // holds the map point, for the label tool (the name tool finds no labels).
  std::optional<std::int32_t> HitTestLabel(MapPoint p) const;
  // The label's text; "" without name table, for an unnamed record or an index outside
  // the records.
  std::string GetObjectName(std::int32_t index) const override;
  // The anchor in map units; (0, 0) for an index outside the records.
  MapPoint GetLabelPosition(std::int32_t index) const;
  // The unturned label rectangle of the last drawing, map units; the empty rectangle
  // for an index outside the records.
  MapRect GetLabelRect(std::int32_t index) const;
  // The angle in degrees, counter-clockwise; 0 for an index outside the records.
  double GetLabelAngle(std::int32_t index) const;
  // Puts the label's anchor at `to`, moves its rectangle with it and marks the
  // category changed. Does nothing for an index outside the records.
  void MoveLabel(std::int32_t index, MapPoint to);

  // Takes the anchors and angles of an earlier data file and its name file: every named
  // label gets the place of the first earlier label of the same name (letter case
  // ignored). Labels without a match keep their place and are counted in "%ld
  // megíráshoz nem lehetett beállítani pozíciót [%s] kategóriában." (information).
  void LoadLabelPositions(std::string_view dataFileName, std::string_view nameFileName);
  // Writes the records back into DATAFILE; the previous file becomes the ".BAK" file
  // beside it. True, with the changed flag cleared and "'%s' kategória adatai
  // kimentve." shown, when the whole file was written; on failure the message says why,
  // the flag stays set and DATAFILE holds its previous content.
  [[nodiscard]] bool SaveLabelPositions();
  // The same, writing through `file` (tests make its steps fail).
  [[nodiscard]] bool SaveLabelPositions(ReplacementFile& file);

  // True when label positions differ from DATAFILE.
  bool changed() const { return changed_; }
  std::int32_t recordCount() const override { return records_.count(); }
  std::int32_t layerCount() const override { return static_cast<std::int32_t>(layers_.size()); }
  std::string LayerName(std::int32_t layerIndex) const override {
    return layers_[static_cast<std::size_t>(layerIndex)].name;
  }
  // The resolved DATAFILE and NAMEFILE names.
  const std::string& dataFile() const { return dataFile_; }
  const std::string& nameFile() const { return nameFile_; }
  // The ".BAK" name of DATAFILE: its drive, directory and name with that extension.
  std::string BackupFile() const;
  // Whether the last drawing showed the label (false for indexes outside the records).
  bool IsDrawn(std::int32_t index) const;

 private:
  struct Layer : LayerCommon {
    std::optional<LogicalFont> font;  // unturned, for one drawing; none below one pixel
    ColorRef color = kBlack;
  };

  // A record kept at load; unnamed records are kept but have nothing to draw.
  bool Valid(std::int32_t index) const {
    return index >= 0 && index < records_.count() && check_.usable(index);
  }
  bool Named(std::int32_t index) const;
  void PrepareFont(DeviceContext& dc, const LCTransform& transform, Layer& layer, const MCartoSymb& symbology,
                   std::int32_t unit) const;
  void DrawLabel(DeviceContext& dc, const LCTransform& transform, std::int32_t index, const Layer& layer,
                 const MapRect& view);
  bool Hits(std::int32_t index, MapPoint p) const;

  std::string name_;
  std::string dataFile_;
  std::string nameFile_;
  bool changed_ = false;
  RecordArray records_;  // TextRecord
  NameTable names_;
  std::vector<Layer> layers_;
  RecordCheck check_;
};

}  // namespace koltar
