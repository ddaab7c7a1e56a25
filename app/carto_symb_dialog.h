#pragma once
// The symbology editor's window ("Térkép megjelenítése"): it shows the state of the
// plain CartoSymbDlg (symbology/carto_symb_dlg.h) and forwards every user action to it.
// Each control's object name is "c" and its id ("c2101" is the layer list), so that
// tests find them.
//
// While the window is open, a change of the working copy is shown on the map after a
// short pause (the preview); Cancel brings the map's own look back.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "symbology/carto_symb_dlg.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListView;
class QPushButton;

namespace koltar {

class MMap;
class StyleComboBox;
enum class StylePickerKind;
class TextListModel;

class CartoSymbDialog final : public QDialog {
 public:
  // The window over the behaviour, which must outlive it. `preview` draws the map
  // anew after the behaviour has handed it the working copy.
  CartoSymbDialog(CartoSymbDlg& behaviour, std::function<void()> preview, QWidget* parent = nullptr);
  ~CartoSymbDialog() override;

  // The pause between the last change and the preview, milliseconds.
  static constexpr int kPreviewDelay = 300;
  // True once a preview was shown and the dialog was then cancelled.
  bool previewCancelled() const { return previewCancelled_; }
  // True once OK or Cancel has decided.
  bool decided() const { return decided_; }

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* Label(SymbControl forControl, const char* text, QWidget* buddy);
  template <class Widget>
  Widget* Named(SymbControl id, Widget* widget);
  StyleComboBox* Picker(SymbControl id, StylePickerKind kind);
  QLineEdit* Edit(SymbControl id);
  QLineEdit* ColorTextOf(SymbControl picker);
  QPushButton* Button(SymbControl id, const char* text);
  void Build();
  QLayout* LayerColumn();
  QGroupBox* LineGroup();
  QGroupBox* FontGroup();
  QGroupBox* SymbolGroup();
  QGroupBox* RangeGroup();
  QDialogButtonBox* Buttons();
  void SetTabOrder();
  void Connect();
  // Shows the behaviour's state in every control.
  void Refresh();
  // After each forwarded action: the controls, and the preview when something changed.
  void Changed();
  void CheckRangeLater(SymbControl field);
  QWidget* Control(SymbControl id) const;

  CartoSymbDlg& behaviour_;
  std::function<void()> preview_;
  QTimer previewTimer_;
  std::uint64_t seenChanges_ = 0;
  bool previewCancelled_ = false;
  bool decided_ = false;
  int shownCategory_ = -1;

  QComboBox* categories_ = nullptr;
  QListView* layers_ = nullptr;
  TextListModel* layerModel_ = nullptr;
  TextListModel* faceModel_ = nullptr;
  std::map<SymbControl, QWidget*> controls_;
  std::map<SymbControl, QLabel*> labels_;
  std::map<SymbControl, QLineEdit*> colorTexts_;  // "#RRGGBB" beside each colour picker
  QGroupBox* formats_ = nullptr;                  // "Betüformázás"
  QLabel* rangeText_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

// Command 1015 on a map: unless its symbology holds no category (then the message, and
// nothing opens), runs the editor with the typefaces of the platform. True when the
// map's windows have to be drawn anew (OK, or a preview cancelled). `preview` draws the
// active window during a preview.
bool EditSymbology(QWidget* owner, MMap& map, std::function<void()> preview);

// The installed typefaces that code page 1250 can name.
std::vector<std::string> InstalledFaces();

}  // namespace koltar
