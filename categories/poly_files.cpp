#include "categories/poly_files.h"

#include "platform/message_texts.h"

#include <new>

namespace koltar {

void PolyFiles::Load(const CategorySection& section) {
  records = RecordArray(section.Load("DATAFILE", &dataFile), PolyRecord::kSize, PolyRecord::kDrawn);
  coords = RecordArray(section.Load("COORDFILE", &coordFile), CoordRecord::kSize);
  if (!section.Value("NAMEFILE").empty()) names = NameTable(section.Load("NAMEFILE", &nameFile));
  infoFile = section.InfoFile();
}

bool PolyFiles::Check(std::int32_t layerCount) {
  check = RecordCheck(records.count());
  CheckCommonFields(records, PolyRecord::kNameOffset, layerCount, names, check);
  // Without COORDFILE nothing is drawn or hit, and there are no points to check.
  const std::int32_t longest = coords.present() ? CheckPointRuns(records, coords, check) : 0;
  check.Report(dataFile);
  if (!records.present()) return true;
  try {
    scratch.resize(static_cast<std::size_t>(longest));
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return false;
  }
  scratchReady = true;
  return true;
}

MapRect PolyFiles::Extent() const {
  MapRect extent = MapRect::Empty();
  for (std::int32_t i = 0; i < records.count(); ++i)
    if (check.usable(i)) extent = extent.United(PolyRecord::Bounds(records.at(i)));
  return extent;
}

MapRect PolyFiles::Bounds(std::int32_t index) const {
  if (index < 0 || index >= records.count()) return MapRect::Empty();
  return PolyRecord::Bounds(records.at(index));
}

std::string PolyFiles::Name(std::int32_t index) const {
  if (!Valid(index)) return {};
  return std::string(names.NameAt(ReadI32(records.at(index) + PolyRecord::kNameOffset)));
}

std::optional<std::string_view> PolyFiles::StoredName(std::int32_t index) const {
  if (!Valid(index) || !names.present()) return std::nullopt;
  const std::int32_t offset = ReadI32(records.at(index) + PolyRecord::kNameOffset);
  if (offset < 0) return std::nullopt;
  return names.NameAt(offset);
}

std::int32_t PolyFiles::ToDevice(const LCTransform& transform, const std::uint8_t* record) {
  const std::int32_t count = PolyRecord::PointCount(record);
  for (std::int32_t j = 0; j < count; ++j)
    scratch[static_cast<std::size_t>(j)] = MapToDevice(transform, PointOf(record, j));
  return count;
}

}  // namespace koltar
