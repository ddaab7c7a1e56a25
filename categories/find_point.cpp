#include "categories/find_point.h"

#include <optional>
#include <utility>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "geometry/records.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/progress.h"
#include "platform/scan.h"
#include "platform/services.h"
#include "platform/text.h"

namespace koltar {
namespace {

constexpr std::size_t kNameTextLimit = 63;
constexpr std::size_t kScaleTextLimit = 40;
constexpr std::size_t kHouseTextLimit = 39;
constexpr int kHelpContext = 1;

constexpr const char* kNothingChosen = "Nincs objektum kiválasztva a térkép pozicionáláshoz";

// The scale field read as a decimal integer: blanks, a sign, digits up to the first
// other character; 0 when there are none.
std::int32_t ReadScale(std::string_view text) {
  std::int32_t value = 0;
  (void)ScanValues(text.substr(0, kScaleTextLimit), "%ld", value);
  return value;
}

}  // namespace

FindPoint::FindPoint(PlaceCategories categories, FindPointData& data, WindowHandle owner,
                     std::size_t capacity)
    : categories_(std::move(categories)), data_(data), owner_(owner), capacity_(capacity) {}

void FindPoint::Open() {
  choices_.clear();
  categoryTexts_.clear();
  auto add = [this](CategoryKind kind, std::size_t index, const MapCategory* category, const MPoint* point) {
    choices_.push_back(Choice{kind, static_cast<std::int32_t>(index), category, point});
    categoryTexts_.push_back(category->name());
  };
  for (std::size_t i = 0; i < categories_.points.size(); ++i)
    add(CategoryKind::Point, i, categories_.points[i], categories_.points[i]);
  for (std::size_t i = 0; i < categories_.lines.size(); ++i)
    add(CategoryKind::Line, i, categories_.lines[i], nullptr);
  for (std::size_t i = 0; i < categories_.areas.size(); ++i)
    add(CategoryKind::Area, i, categories_.areas[i], nullptr);

  if (!choices_.empty()) CategoryChanged(0);
  rangeText_ = StringPrintf("Megengedett tartomány:  1 : %s  -  1 : %s",
                            FormatGroupedNumber(data_.smallestScale).c_str(),
                            FormatGroupedNumber(data_.largestScale).c_str());
  scaleText_ = StringPrintf("%ld", static_cast<long>(data_.displayScale));
}

const FindPoint::Choice* FindPoint::ChosenCategory() const {
  if (categoryChoice_ < 0 || static_cast<std::size_t>(categoryChoice_) >= choices_.size()) return nullptr;
  return &choices_[static_cast<std::size_t>(categoryChoice_)];
}

bool FindPoint::HouseNumbersApply() const {
  const Choice* c = ChosenCategory();
  return c && c->point && c->point->hasHouseNumbers();
}

void FindPoint::CategoryChanged(std::int32_t entry) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= choices_.size()) return;
  categoryChoice_ = entry;
  const Choice& c = choices_[static_cast<std::size_t>(entry)];
  layerTexts_.assign(1, "[Minden elem]");
  for (std::int32_t layer = 0; layer < c.category->layerCount(); ++layer)
    layerTexts_.push_back(c.category->LayerName(layer));
  houseNumbersEnabled_ = HouseNumbersApply();
  LayerChanged(0);
  scaleEnabled_ = c.kind == CategoryKind::Point;
}

void FindPoint::LayerChanged(std::int32_t entry) {
  const Choice* c = ChosenCategory();
  if (!c || entry < 0 || static_cast<std::size_t>(entry) >= layerTexts_.size()) return;
  layerChoice_ = entry;
  PlaceNameList::Fill fill = PlaceNameList::Fill::Complete;
  {
    const ScopedWaitCursor wait;
    // Emptying the list empties its edit field too.
    nameText_.clear();
    hints_.clear();
    segments_.clear();
    fill = names_.Assign(*c->category, entry, HouseNumbersApply(), capacity_);
    if (fill == PlaceNameList::Fill::Full)
      ShowMessage(
          StringPrintf("A kiválasztott kategória %ld elemet tartalmaz, ebből\na keresési listába csak "
                       "%ld elemet lehetett felvenni.",
                       static_cast<long>(c->category->recordCount()), static_cast<long>(names_.size())),
          MessageKind::Exclamation, owner_);
  }
  if (fill == PlaceNameList::Fill::NoMemory)
    ShowMessage("A névlista nem tölthető fel. (Valószínűleg nincs elég memória.)", MessageKind::SystemModal,
                owner_);
  chosenName_ = -1;
}

void FindPoint::NameTyped(std::string_view text) {
  nameText_ = text;
  segments_.clear();
  houseNumber_.clear();
  const std::string_view typed = text.substr(0, kNameTextLimit);
  const std::int32_t first = names_.FindPrefix(typed);
  chosenName_ = first >= 0 && EqualsNoCase(names_[first].name, typed) ? first : -1;
  if (chosenName_ >= 0) {
    hints_.clear();
    FillSegments();
  } else {
    hints_ = names_.LooseMatches(typed, kHintLimit);
  }
}

void FindPoint::NameChosen(std::int32_t entry) {
  chosenName_ = entry >= 0 && entry < names_.size() ? entry : -1;
  hints_.clear();
  if (chosenName_ >= 0) nameText_ = names_[chosenName_].name;
  FillSegments();
}

void FindPoint::HintChosen(std::int32_t hint) {
  if (hint < 0 || static_cast<std::size_t>(hint) >= hints_.size()) return;
  NameChosen(hints_[static_cast<std::size_t>(hint)]);
}

void FindPoint::FillSegments() {
  segments_.clear();
  houseNumber_.clear();
  if (chosenName_ < 0 || !HouseNumbersApply()) return;
  const MPoint& points = *ChosenCategory()->point;
  const std::int32_t first = names_[chosenName_].record;
  const std::string_view street = names_[chosenName_].name;
  // The run of the street's records; records without a name do not end it.
  for (std::int32_t i = first; i < points.recordCount(); ++i) {
    const std::optional<std::string_view> name = points.StoredName(i);
    if (name && !EqualsNoCase(*name, street)) break;
    const std::uint8_t* entity = points.EntityRecordAt(i);
    if (entity && (EntityRecord::Flags(entity) & EntityRecord::kHasRange) != 0)
      segments_.push_back(FormatHouseRange(entity));
  }
}

void FindPoint::ShowHelp() const { Help().ShowContext(Program().helpFile, kHelpContext); }

bool FindPoint::Accept() {
  if (scaleEnabled_) {
    const std::int32_t scale = ReadScale(scaleText_);
    if (scale < data_.smallestScale || scale > data_.largestScale) {
      ShowMessage(StringPrintf("Value is not in the range %ld to %ld.",
                               static_cast<long>(data_.smallestScale), static_cast<long>(data_.largestScale)),
                  MessageKind::Exclamation, owner_);
      return false;
    }
  }
  const Choice* c = ChosenCategory();
  data_.type = c ? static_cast<std::int32_t>(c->kind) : -1;
  data_.category = c ? c->index : -1;
  data_.displayScale = ReadScale(scaleText_);
  if (data_.type < 0 || data_.category < 0) {
    ShowMessage(kNothingChosen, MessageKind::Exclamation, owner_);
    return false;
  }
  std::int32_t object = chosenName_ >= 0 ? names_[chosenName_].record : -1;
  if (HouseNumbersApply() && object >= 0)
    object = c->point->FindHouseNumber(object, std::string_view(houseNumber_).substr(0, kHouseTextLimit));
  data_.object = object;
  if (object < 0) {
    ShowMessage(kNothingChosen, MessageKind::Exclamation, owner_);
    return false;
  }
  return true;
}

}  // namespace koltar
