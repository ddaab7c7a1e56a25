#include "route/opt_path_batch.h"

#include <utility>

#include "platform/files.h"
#include "platform/format.h"
#include "platform/help.h"
#include "platform/message_texts.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"

namespace koltar {
namespace {

constexpr int kBatchHelpTopic = 6;
constexpr char kOverwriteFormat[] = "'%s' file már létezik. Felülírható?";

void ShowFileProblem(const char* format, const std::string& fileName, WindowHandle owner) {
  ShowMessage(StringPrintf(format, fileName.c_str()), MessageKind::Exclamation, owner);
}

// The criterion as the cost table holds it for the time of one run.
class ScopedCriterion {
 public:
  ScopedCriterion(CostTable& table, int criterion) : table_(table), saved_(table.criterion()) {
    table_.SetCriterion(criterion);
  }
  ~ScopedCriterion() { table_.SetCriterion(saved_); }
  ScopedCriterion(const ScopedCriterion&) = delete;
  ScopedCriterion& operator=(const ScopedCriterion&) = delete;

 private:
  CostTable& table_;
  int saved_;
};

}  // namespace

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines = SplitTextLines(text);
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

OptPathBatch::OptPathBatch(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                           FileChoosers choosers, WindowHandle owner)
    : path_(path),
      towns_(towns),
      roads_(roads),
      choosers_(std::move(choosers)),
      owner_(owner),
      savedRequest_(path.routeState().request()),
      sourceFile_(path.batchSourceFile()),
      targetFile_(path.batchTargetFile()),
      criterion_(path.costTable().criterion()) {}

bool OptPathBatch::Enabled(Button button) const {
  switch (button) {
    case Button::Generate: return !sourceText_.empty();
    case Button::Save: return !resultText_.empty();
  }
  return false;
}

std::int32_t OptPathBatch::roadTypeCount() const { return path_.costTable().roadTypeCount(); }

std::string OptPathBatch::roadTypeName(std::int32_t index) const {
  return std::string(FixedText(path_.costTable().roadType(index).name));
}

bool OptPathBatch::roadTypeEnabled(std::int32_t index) const {
  return path_.costTable().roadType(index).enabled != 0;
}

void OptPathBatch::ToggleRoadType(std::int32_t index) {
  if (index < 0 || index >= roadTypeCount()) return;
  RoadType& type = path_.costTable().roadType(index);
  type.enabled = type.enabled != 0 ? 0 : 1;
}

void OptPathBatch::SetAllRoadTypes(std::int32_t enabled) {
  for (std::int32_t i = 0; i < roadTypeCount(); ++i) path_.costTable().roadType(i).enabled = enabled;
}

void OptPathBatch::SetCriterion(int criterion) {
  // Only the three criteria the list offers.
  if (criterion >= kCriterionDistance && criterion <= kCriterionCost) criterion_ = criterion;
}

void OptPathBatch::Load() {
  if (sourceFile_.empty()) {
    const std::optional<std::string> chosen = choosers_.source ? choosers_.source() : std::nullopt;
    if (!chosen) return;
    sourceFile_ = *chosen;
  }
  sourceText_.clear();
  std::string bytes;
  // After a read error the lines read so far stay, as a line-by-line reader leaves them.
  (void)ReadBatchSource(sourceFile_, bytes, owner_);
  sourceText_ = JoinTextLines(TextLines(BatchSourceText(std::move(bytes))));
}

void OptPathBatch::Generate() {
  const ScopedCriterion criterion(path_.costTable(), criterion_);
  const BatchResult result = GenerateBatchRoutes(path_, towns_, roads_, SplitTextLines(sourceText_));
  resultText_ = JoinTextLines(result.lines);
}

bool OptPathBatch::Save() {
  if (!targetFile_.empty()) {
    if (FileExists(targetFile_) && ShowMessage(StringPrintf(kOverwriteFormat, targetFile_.c_str()),
                                               MessageKind::Question, owner_) != MessageAnswer::Yes)
      return false;
  } else {
    const std::optional<std::string> chosen = choosers_.target ? choosers_.target() : std::nullopt;
    if (!chosen) return false;
    targetFile_ = *chosen;
  }
  const std::string bytes = JoinTextLines(TextLines(resultText_));
  ReplacementFile file;
  if (!file.Create(LocalFileName(targetFile_))) {
    ShowFileProblem(kFileNotOpenedFormat, targetFile_, owner_);
    return false;
  }
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (file.Write(bytes.data(), size) != size || !file.Commit()) {
    file.Discard();
    ShowFileProblem(kWriteErrorFormat, targetFile_, owner_);
    return false;
  }
  return true;
}

void OptPathBatch::Close() {
  path_.costTable().SetCriterion(criterion_);
  path_.routeState().request() = savedRequest_;
  path_.SetBatchSourceFile(sourceFile_);
  path_.SetBatchTargetFile(targetFile_);
}

void OptPathBatch::ShowHelp() const { Help().ShowContext(Program().helpFile, kBatchHelpTopic); }

}  // namespace koltar
