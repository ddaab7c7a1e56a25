#pragma once
// TEnableRoadListBox: the list of road types with their enabled switch, shared by the
// route request dialog and batch planning. Each row is drawn as the SWITCHON or
// SWITCHOFF picture (2 pixels from the left, 1 from the top of the row), then, 4 pixels
// after a square of the text height, the road type's name: white on navy when
// selected, black on white otherwise. A double click or the space bar switches the
// current road type (onToggle); the list is drawn anew from the plain class after that.

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <functional>
#include <string>

namespace koltar {

class TEnableRoadListBox final : public QListView {
 public:
  using Count = std::function<int()>;
  using Name = std::function<std::string(int row)>;  // code page 1250
  using Enabled = std::function<bool(int row)>;

  TEnableRoadListBox(Count count, Name name, Enabled enabled, QWidget* parent = nullptr);

  // Called with the row to switch; the owner switches it and calls Refresh.
  std::function<void(int row)> onToggle;
  // Shows the plain class's state anew (names and switches).
  void Refresh();

  // The role under which a row gives its switch (a bool).
  static constexpr int kEnabledRole = Qt::UserRole + 1;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Model;
  class Delegate;
  Model* model_;
};

}  // namespace koltar
