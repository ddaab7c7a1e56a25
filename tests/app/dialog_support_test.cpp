#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QListView>
#include <QPushButton>
#include <vector>

#include "app/dialog_support.h"
#include "app/ui_text.h"

namespace koltar {
namespace {

// The model shows the plain class's code page 1250 texts as they stand now, row by
// row, and a reset makes the view take a changed list.
TEST(TextListModel, ShowsTheTextsOfThePlainClass) {
  std::vector<std::string> names{Cp("Győr"), Cp("Pécs")};
  TextListModel model([&] { return static_cast<int>(names.size()); },
                      [&](int row) { return names[static_cast<std::size_t>(row)]; });
  QListView view;
  view.setModel(&model);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QString::fromUtf8("Győr"));
  names.push_back(Cp("Szőny"));
  model.Reset();
  EXPECT_EQ(view.model()->rowCount(), 3);
  EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), QString::fromUtf8("Szőny"));
  EXPECT_FALSE(model.data(model.index(3), Qt::DisplayRole).isValid());
}

TEST(DialogSupport, ButtonRowAndModalRunner) {
  QDialog dialog;
  QDialogButtonBox* buttons = MakeDialogButtons(&dialog);
  QStringList texts;
  for (QAbstractButton* b : buttons->buttons()) texts << b->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("OK")));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Mégsem")));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Súgó")));
  EXPECT_EQ(MakeDialogButtons(&dialog, false)->buttons().size(), 2);

  int runs = 0;
  const DialogRunner previous = SetDialogRunner([&](QDialog& d) {
    ++runs;
    EXPECT_EQ(&d, &dialog);
    return static_cast<int>(QDialog::Accepted);
  });
  EXPECT_EQ(RunModal(dialog), QDialog::Accepted);
  EXPECT_EQ(runs, 1);
  SetDialogRunner(previous);
}

}  // namespace
}  // namespace koltar
