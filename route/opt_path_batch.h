#pragma once
// OptPathBatch: the behaviour of the batch planning dialog ("Útvonal keresés (batch
// üzemmódban)"), without a window. The user loads or types a source text of route
// blocks (see route/batch_plan.h), switches road types, chooses the criterion, plans
// every block ("Útvonal generálás") and saves the route-plan text ("Ment..."). The
// source and target file names are remembered in MOptPath when the dialog closes.
//
// The two texts are held as a multi-line edit holds them, lines ended by carriage
// return and line feed. A run plans with the criterion the dialog shows; the road-type
// switches act on the network's own cost table at once. The network's route points are
// saved when the dialog opens and put back when it closes, and no route is left after a
// run. Messages are shown with owner() as their owner.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"
#include "route/road_data.h"
#include "route/route_state.h"

namespace koltar {

class MOptPath;

class OptPathBatch {
 public:
  // Asks for a file in the platform's file dialog and returns its model name, or
  // nothing when the user cancels.
  using FileChooser = std::function<std::optional<std::string>()>;
  struct FileChoosers {
    // "Útvnonal végpontok": an existing source file.
    FileChooser source;
    // "Útvnonal tervek": a target file; the dialog itself asks before overwriting.
    FileChooser target;
  };

  // The buttons whose enabling depends on the texts.
  enum class Button { Generate, Save };

  // Opens on the network (which, like `towns` and `roads`, must outlive the dialog):
  // saves its route points and shows its remembered file names and its criterion.
  OptPathBatch(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
               FileChoosers choosers = {}, WindowHandle owner = nullptr);

  WindowHandle owner() const { return owner_; }
  void SetOwner(WindowHandle owner) { owner_ = owner; }

  // ---- the fields ----------------------------------------------------------------------
  // File names are model names (code page 1250); texts are code page 1250.
  const std::string& sourceFile() const { return sourceFile_; }
  void SetSourceFile(std::string_view name) { sourceFile_ = std::string(name); }
  const std::string& targetFile() const { return targetFile_; }
  void SetTargetFile(std::string_view name) { targetFile_ = std::string(name); }
  const std::string& sourceText() const { return sourceText_; }
  void SetSourceText(std::string_view text) { sourceText_ = std::string(text); }
  const std::string& resultText() const { return resultText_; }
  void SetResultText(std::string_view text) { resultText_ = std::string(text); }

  // "Útvonal generálás" while the source text is not empty, "Ment..." while the result
  // text is not empty.
  bool Enabled(Button button) const;

  // ---- road types and criterion (on the network's cost table) ---------------------------
  std::int32_t roadTypeCount() const;
  std::string roadTypeName(std::int32_t index) const;
  bool roadTypeEnabled(std::int32_t index) const;
  // A double click on a road type switches it on or off.
  void ToggleRoadType(std::int32_t index);
  void EnableAllRoadTypes() { SetAllRoadTypes(1); }
  void DisableAllRoadTypes() { SetAllRoadTypes(0); }
  // 0 distance, 1 time, 2 cost, as the drop-down list shows it.
  int criterion() const { return criterion_; }
  void SetCriterion(int criterion);

  // ---- actions -----------------------------------------------------------------------
  // "Betölt...": loads the file named in the source field, or, when the field is empty,
  // the one chosen in the dialog (which then fills the field). The source text becomes
  // the file's lines, each ended by "\r\n" (see BatchSourceText for its encoding). A
  // file that cannot be read is told ("'%s' file nem nyitható meg.", "Olvasás hiba '%s'
  // file-ban.", exclamation icon) and leaves what was read.
  void Load();
  // "Útvonal generálás": plans every block of the source text (ESC stops the run) and
  // shows the route-plan text in the result field.
  void Generate();
  // "Ment...": writes the result text to the file named in the target field, asking
  // first when it exists ("'%s' file már létezik. Felülírható?"), or to the one chosen
  // in the dialog when the field is empty. The file is replaced atomically, its lines
  // ended by "\r\n", in code page 1250. True when written; false when the user declined
  // or after "'%s' file nem nyitható meg." or "Írás hiba '%s' file-ban." (exclamation
  // icon), the old file kept whole.
  bool Save();
  // "Kész": stores the criterion and the two file names in the network and puts its
  // route points back as they were when the dialog opened.
  void Close();
  // "Súgó": help topic 6.
  void ShowHelp() const;

 private:
  void SetAllRoadTypes(std::int32_t enabled);

  MOptPath& path_;
  const SettlementNames& towns_;
  const RoadData& roads_;
  FileChoosers choosers_;
  WindowHandle owner_;
  RouteRequest savedRequest_;
  std::string sourceFile_;
  std::string targetFile_;
  std::string sourceText_;
  std::string resultText_;
  int criterion_ = 0;
};

// The lines of a multi-line text without the empty line after its closing line end.
std::vector<std::string> TextLines(std::string_view text);

}  // namespace koltar
