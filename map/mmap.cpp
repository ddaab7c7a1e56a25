#include "map/mmap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "categories/text.h"
#include "linkedinfo/linkedinfo.h"
#include "map/route_category.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/progress.h"
#include "platform/scan.h"
#include "platform/services.h"
#include "route/opt_path.h"
#include "symbology/cartosymb.h"

namespace koltar {
namespace {

constexpr int kNameBuffer = 32;
constexpr int kFileBuffer = 260;
constexpr int kValueBuffer = 304;
constexpr std::int32_t kMinimumScale = 100;
constexpr std::int32_t kMaximumScale = 50000000;
constexpr std::int32_t kDefaultUnit = 10;

// Reads "%ld,%ld"; returns the number of values read.
int ScanPair(const std::string& text, std::int32_t& a, std::int32_t& b) {
  const int n = ScanValues(text, "%ld,%ld", a, b);
  return n < 0 ? 0 : n;
}

// The leading decimal integer of a text, 0 when it does not start with one.
std::int32_t LeadingInteger(const std::string& text) {
  std::int32_t value = 0;
  ScanValues(text, "%ld", value);
  return value;
}

void ShowLoadMessage(std::string_view text, MessageKind kind) { ShowMessage(text, kind); }

}  // namespace

ObjectNames GetObjectNames(const ObjectHit& hit) {
  if (!hit.category) return {};
  return ObjectNames{hit.category->name(), hit.category->GetObjectName(hit.object)};
}

MMap::MMap(std::string_view fileName) : fileName_(fileName) { Load(); }

std::optional<GeoPosition> MMap::ToGeographic(MapPoint p) const {
  if (!projection_) return std::nullopt;
  return MapPointToGeographic(*projection_, unit_, p);
}

void MMap::Load() {
  name_ = ReadProfileString("MAP", "NAME", "", kNameBuffer, fileName_);
  const std::string mapDirectory = GetPathDirectory(fileName_);

  unit_ = ReadProfileInt("MAP", "UNIT", kDefaultUnit, fileName_);
  if (unit_ <= 0) {
    // Every ground length is divided by the unit: a zero or negative unit would make
    // all of them meaningless, so the default stands in for it.
    ShowLoadMessage(StringPrintf("A 'UNIT' opció értéke (%ld) hibás. A program az "
                                 "alapértelmezés szerinti értéket (%ld) használja.",
                                 static_cast<long>(unit_), static_cast<long>(kDefaultUnit)),
                    MessageKind::Information);
    unit_ = kDefaultUnit;
  }
  ScanPair(ReadProfileString("MAP", "ORIGIN", "0,0", kValueBuffer, fileName_), origin_.x, origin_.y);
  // A key of this program's own maps: without it, or with one it cannot read, the map
  // simply has no geographic positions.
  projection_ = ParseProjectionKey(ReadProfileString("MAP", "PROJECTION", "", kValueBuffer, fileName_));

  // The scale range that keeps one screen pixel between 0.0001 and 10000 map units.
  const PixelSize& pixel = Program().pixel;
  smallestScale_ = ClampToInt32(unit_ * 0.1 / std::min(pixel.px, pixel.py));
  if (smallestScale_ <= kMinimumScale) smallestScale_ = kMinimumScale;
  largestScale_ = ClampToInt32(unit_ * 10000000.0 / std::max(pixel.px, pixel.py));
  if (largestScale_ >= kMaximumScale) largestScale_ = kMaximumScale;

  const std::string range = ReadProfileString("MAP", "SCALERANGE", "", kValueBuffer, fileName_);
  if (!range.empty()) {
    std::int32_t low = 0, high = 0;
    if (ScanPair(range, low, high) < 2) {
      ShowLoadMessage(
          "A 'SCALERANGE' opcióban a méretarány-tartomány határai hiányosak. A program az "
          "alapértelmezés szerinti értékeket használja.",
          MessageKind::Information);
    } else {
      smallestScale_ = std::max(smallestScale_, low);
      largestScale_ = std::min(largestScale_, high);
    }
  }

  const std::string findDefault =
      StringPrintf("%ld", static_cast<long>(smallestScale_ / 2 + largestScale_ / 2));
  findScale_ = LeadingInteger(ReadProfileString("MAP", "FINDSCALE", findDefault, kValueBuffer, fileName_));
  findScale_ = std::min(std::max(findScale_, smallestScale_), largestScale_);

  symbology_ = std::make_unique<MCartoSymb>(
      ResolveFileName(mapDirectory, ReadProfileString("MAP", "CARTOSYMB", "", kFileBuffer, fileName_)));
  linkedInfo_ = std::make_unique<MLinkedInfo>(
      ResolveFileName(mapDirectory, ReadProfileString("MAP", "LINKEDINFO", "", kFileBuffer, fileName_)));

  declaredCount_ = ReadProfileInt("CATEGORIES", "N", 0, fileName_);
  if (declaredCount_ <= 0) {
    ShowLoadMessage("A kategóriák száma nincs megadva, vagy hibás.", MessageKind::Stop);
    return;
  }
  try {
    // Room for the lines the file can hold: loading ends at the first line missing.
    const std::size_t room =
        static_cast<std::size_t>(CountFitsProfile(declaredCount_, fileName_) ? declaredCount_ : 64);
    categories_.reserve(room);
    lineOf_.reserve(room);
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  drawLines_ = declaredCount_;

  ScopedWaitCursor wait;
  ProgressStart("Térkép betöltése:");
  ProgressSet(0);
  if (LoadCategories(mapDirectory)) {
    ReadConnections();
    BindRoadNetwork();
  }
  ProgressEnd();
}

// Loads the CATEGORYnn lines in order; false when loading ended early.
bool MMap::LoadCategories(std::string_view mapDirectory) {
  for (std::int32_t i = 1; i <= declaredCount_; ++i) {
    const std::string key = StringPrintf("%s%02ld", "CATEGORY", static_cast<long>(i));
    const std::string line = ReadProfileString("CATEGORIES", key, "", kValueBuffer, fileName_);
    std::string keyword, category, rest;
    if (ScanValues(line, "%[^,]%*c%[^,]%*c%s", keyword, category, rest) < 2) {
      ShowLoadMessage(
          StringPrintf("Hibás sor %s file [CATEGORIES] szekcióban:\n%s", fileName_.c_str(), line.c_str()),
          MessageKind::Plain);
      loadedLines_ = i - 1;
      return false;
    }
    keyword.resize(std::min<std::size_t>(keyword.size(), 8));     // a type keyword has at most 8 characters
    category.resize(std::min<std::size_t>(category.size(), 31));  // a category name at most 31
    const std::optional<CategoryKind> kind = CategoryKindOf(keyword);
    if (!kind) {
      ShowLoadMessage(StringPrintf("'%s' kategóriánál érvénytelen objektum típus: '%s'", category.c_str(),
                                   keyword.c_str()),
                      MessageKind::Plain);
    } else if (!AddCategory(i - 1, *kind, category, mapDirectory)) {
      loadedLines_ = i - 1;
      return false;
    }
    ProgressSet(static_cast<int>(std::int64_t{i} * 100 / declaredCount_));
  }
  return true;
}

// Makes the category of CATEGORYnn line `line` (from 0) and puts it at the end of the
// draw order; false when loading has to end.
bool MMap::AddCategory(std::int32_t line, CategoryKind kind, const std::string& category,
                       std::string_view mapDirectory) {
  if (kind == CategoryKind::OptPath && roadNetwork_) {
    ShowLoadMessage("Az optimális út kereséshez csak egy OPTPATH tipusú kategória adható meg.",
                    MessageKind::SystemModal);
    return false;
  }
  try {
    // Owned by the draw order first, so that a failing typed list leaves nothing behind.
    auto add = [&](auto made) {
      auto* raw = made.get();
      categories_.push_back(std::move(made));
      lineOf_.push_back(line);
      extent_ = extent_.United(raw->GetExtent());
      return raw;
    };
    switch (kind) {
      case CategoryKind::Point:
        points_.push_back(add(std::make_unique<MPoint>(category, mapDirectory, fileName_)));
        break;
      case CategoryKind::Line:
        lines_.push_back(add(std::make_unique<MLine>(category, mapDirectory, fileName_)));
        break;
      case CategoryKind::Area: add(std::make_unique<MArea>(category, mapDirectory, fileName_)); break;
      case CategoryKind::Text:
        texts_.push_back(add(std::make_unique<MText>(category, mapDirectory, fileName_)));
        break;
      case CategoryKind::OptPath:
        roadNetwork_ = std::make_unique<MOptPath>(category, mapDirectory, fileName_);
        route_ = add(std::make_unique<RouteCategory>(*roadNetwork_));
        break;
    }
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return false;
  }
  return true;
}

void MMap::ReadConnections() {
  const std::string town = ReadProfileString("CONNECTIONS", "TOWNCATEGORY", "", kValueBuffer, fileName_);
  for (std::size_t k = 0; k < points_.size(); ++k)
    if (points_[k]->name() == town) townCategory_ = static_cast<std::int32_t>(k);
  const std::string road = ReadProfileString("CONNECTIONS", "ROADCATEGORY", "", kValueBuffer, fileName_);
  for (std::size_t k = 0; k < lines_.size(); ++k)
    if (lines_[k]->name() == road) roadCategory_ = static_cast<std::int32_t>(k);
  if (route_ && roadCategory_ >= 0) route_->SetRoads(lines_[static_cast<std::size_t>(roadCategory_)]);
}

MMap::~MMap() {
  // A failed write-back leaves the file as it was, and says so.
  const bool existed = FileExists(fileName_);
  if (!WriteProfileString("MAP", "FINDSCALE", StringPrintf("%ld", static_cast<long>(findScale_)),
                          fileName_) &&
      existed)
    ShowMessage(StringPrintf(kWriteErrorFormat, fileName_.c_str()), MessageKind::Exclamation);
  symbology_.reset();
  linkedInfo_.reset();
  // The route's entry refers to the network but does nothing when destroyed.
  roadNetwork_.reset();
  route_ = nullptr;
  points_.clear();
  lines_.clear();
  texts_.clear();
  for (std::unique_ptr<MapCategory>& category : categories_) category.reset();
  categories_.clear();
}

std::optional<ObjectHit> MMap::HitTest(MapPoint p) const {
  for (auto c = categories_.rbegin(); c != categories_.rend(); ++c)
    if (const std::optional<std::int32_t> object = (*c)->HitTest(p)) return ObjectHit{c->get(), *object};
  return std::nullopt;
}

std::optional<LabelHit> MMap::HitTestLabel(MapPoint p) const {
  for (std::size_t k = texts_.size(); k-- > 0;)
    if (const std::optional<std::int32_t> label = texts_[k]->HitTestLabel(p))
      return LabelHit{static_cast<std::int32_t>(k), *label};
  return std::nullopt;
}

void MMap::LoadLabelPositions(std::string_view directory) {
  const PathParts chosen = SplitPath(directory);
  const std::string folder = chosen.drive + chosen.dir;
  for (MText* text : texts_) {
    const PathParts data = SplitPath(text->dataFile());
    const PathParts names = SplitPath(text->nameFile());
    text->LoadLabelPositions(folder + data.name + data.ext, folder + names.name + names.ext);
  }
}

bool MMap::SaveLabelPositions() {
  bool all = true;
  for (MText* text : texts_)
    if (text->changed() && !text->SaveLabelPositions()) all = false;
  return all;
}

void MMap::Draw(DeviceContext& dc, const LCTransform& transform, const DeviceRect& update, std::int32_t scale,
                ProgressService& progress) {
  if (drawLines_ <= 0) return;
  const RenderContext context{dc, transform, update, extent_, scale, *symbology_, unit_, progress};
  progress.Start("Megszakítás: ESC");
  progress.Set(0);
  // The gauge steps through every CATEGORYnn line, also those that made no category.
  std::size_t next = 0;
  for (std::int32_t line = 0; line < drawLines_; ++line) {
    if (context.EscapePressed()) break;
    // Past the last category (a count that loading did not reach) nothing is left to
    // draw: the gauge is full.
    if (next == categories_.size() && line >= loadedLines_) {
      progress.Set(100);
      break;
    }
    progress.Set(static_cast<int>(std::int64_t{line + 1} * 100 / drawLines_));
    if (next < categories_.size() && lineOf_[next] == line) categories_[next++]->Draw(context);
  }
  progress.End();
}

// The road network checks its graph against the two categories it runs between, once
// both are known.
void MMap::BindRoadNetwork() {
  if (roadNetwork_ && townCategory_ >= 0 && roadCategory_ >= 0) roadNetwork_->Bind(Settlements(), Roads());
}

PointSettlements MMap::Settlements() const {
  return PointSettlements(townCategory_ >= 0 ? points_[static_cast<std::size_t>(townCategory_)] : nullptr);
}

RoadData MMap::Roads() const {
  return RoadDataOf(roadCategory_ >= 0 ? lines_[static_cast<std::size_t>(roadCategory_)] : nullptr);
}

MapRect MMap::GetRouteBounds() const {
  return roadNetwork_ ? roadNetwork_->GetRouteBounds(Roads()) : MapRect::Empty();
}

void MMap::DeleteRoute() {
  if (roadNetwork_) roadNetwork_->routeState().DeleteRoute();
}

bool MMap::CheckRouteCategories(WindowHandle owner) const {
  if (townCategory_ < 0) {
    ShowMessage(
        "A 'POINT' objektumok között nincs megadva a települések kategóriája.\n"
        "(A térkép leíró file-ban hiányzik a 'CONNECTIONS' szekció 'TOWNCATEGORY' bejegyzése.)",
        MessageKind::Exclamation, owner);
    return false;
  }
  if (roadCategory_ < 0) {
    ShowMessage(
        "A 'LINE' objektumok között nincs megadva az utak kategóriája.\n"
        "(A térkép leíró file-ban hiányzik a 'CONNECTIONS' szekció 'ROADCATEGORY' bejegyzése.)",
        MessageKind::Exclamation, owner);
    return false;
  }
  return true;
}

}  // namespace koltar
