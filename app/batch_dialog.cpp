#include "app/batch_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <filesystem>
#include <memory>

#include "app/dialog_support.h"
#include "app/road_type_list.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "route/select_target_node.h"

namespace koltar {
namespace {

using Button = OptPathBatch::Button;
constexpr int kFileNameLength = 260;

// Model text with "\r\n" line ends as the edit shows it, and back.
QString ToEditText(const std::string& text) { return ToQString(text).remove(QLatin1Char('\r')); }
std::string FromEditText(const QString& text) {
  QString crlf = text;
  crlf.remove(QLatin1Char('\r')).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQString(crlf);
}

QPlainTextEdit* MakeTextField(QWidget* parent) {
  auto* field = new QPlainTextEdit(parent);
  QFont courier(QStringLiteral("Courier"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  field->setFont(courier);
  field->setLineWrapMode(QPlainTextEdit::NoWrap);
  field->setTabChangesFocus(true);
  field->setMinimumSize(480, 150);
  return field;
}

void ShowFromTop(QPlainTextEdit* field) { field->moveCursor(QTextCursor::Start); }

std::optional<std::string> ChooseFile(QWidget* parent, const char* title, bool save) {
  QFileDialog dialog(parent, QString::fromUtf8(title));
  dialog.setNameFilters({QString::fromUtf8("Adatfile (*.dat)"), QString::fromUtf8("Minden file (*.*)")});
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ModelFileName(std::filesystem::path(dialog.selectedFiles().front().toStdString()));
}

}  // namespace

OptPathBatchDialog::OptPathBatchDialog(OptPathBatch& state, QWidget* parent)
    : QDialog(parent), state_(state), previousOwner_(state.owner()) {
  state_.SetOwner(OwnerHandle(this));
  setWindowTitle(QString::fromUtf8("Útvonal keresés (batch üzemmódban)"));

  sourceFile_ = new QLineEdit(this);
  targetFile_ = new QLineEdit(this);
  for (QLineEdit* field : {sourceFile_, targetFile_}) field->setMaxLength(kFileNameLength - 1);
  auto* sourceLabel = new QLabel(QString::fromUtf8("&Forrás file:"), this);
  sourceLabel->setBuddy(sourceFile_);
  auto* targetLabel = new QLabel(QString::fromUtf8("&Cél file:"), this);
  targetLabel->setBuddy(targetFile_);
  load_ = new QPushButton(QString::fromUtf8("&Betölt..."), this);
  save_ = new QPushButton(QString::fromUtf8("&Ment..."), this);
  sourceText_ = MakeTextField(this);
  resultText_ = MakeTextField(this);
  sourceText_->installEventFilter(this);
  resultText_->installEventFilter(this);
  auto* newLine = new QLabel(QString::fromUtf8("Új sor: CTRL+ENTER"), this);

  auto* roadLabel = new QLabel(QString::fromUtf8("Engedélyezett &utak"), this);
  roadList_ = new TEnableRoadListBox([this] { return static_cast<int>(state_.roadTypeCount()); },
                                     [this](int row) { return state_.roadTypeName(row); },
                                     [this](int row) { return state_.roadTypeEnabled(row); }, this);
  roadLabel->setBuddy(roadList_);
  roadList_->setMaximumHeight(140);
  enableAll_ = new QPushButton(QString::fromUtf8("Mindet engedélyezi"), this);
  disableAll_ = new QPushButton(QString::fromUtf8("Mindet tiltja"), this);
  auto* criterionLabel = new QLabel(QString::fromUtf8("&Optimalizálás:"), this);
  criterion_ = new QComboBox(this);
  for (const std::string& name : SelectTargetNode::CriterionNames()) criterion_->addItem(ToQString(name));
  criterionLabel->setBuddy(criterion_);
  generate_ = new QPushButton(QString::fromUtf8("Útvonal &generálás"), this);
  done_ = new QPushButton(QString::fromUtf8("Kész"), this);
  help_ = new QPushButton(QString::fromUtf8("Súgó"), this);
  done_->setDefault(true);
  for (QPushButton* b : {load_, save_, generate_, enableAll_, disableAll_, help_}) b->setAutoDefault(false);

  auto* texts = new QGridLayout;
  texts->addWidget(sourceLabel, 0, 0);
  texts->addWidget(sourceFile_, 0, 1);
  texts->addWidget(load_, 0, 2);
  texts->addWidget(newLine, 1, 1, 1, 2, Qt::AlignRight);
  texts->addWidget(sourceText_, 2, 0, 1, 3);
  texts->addWidget(targetLabel, 3, 0);
  texts->addWidget(targetFile_, 3, 1);
  texts->addWidget(save_, 3, 2);
  texts->addWidget(resultText_, 4, 0, 1, 3);
  texts->setRowStretch(2, 1);
  texts->setRowStretch(4, 2);

  auto* side = new QVBoxLayout;
  side->addWidget(roadLabel);
  side->addWidget(roadList_);
  side->addWidget(enableAll_);
  side->addWidget(disableAll_);
  side->addSpacing(8);
  side->addWidget(criterionLabel);
  side->addWidget(criterion_);
  side->addSpacing(8);
  side->addWidget(generate_);
  side->addStretch(1);
  side->addWidget(done_);
  side->addWidget(help_);

  auto* all = new QHBoxLayout(this);
  all->addLayout(texts, 1);
  all->addLayout(side);

  setTabOrder(sourceFile_, load_);
  setTabOrder(load_, sourceText_);
  setTabOrder(sourceText_, targetFile_);
  setTabOrder(targetFile_, save_);
  setTabOrder(save_, resultText_);
  setTabOrder(resultText_, roadList_);
  setTabOrder(roadList_, enableAll_);
  setTabOrder(enableAll_, disableAll_);
  setTabOrder(disableAll_, criterion_);
  setTabOrder(criterion_, generate_);
  setTabOrder(generate_, done_);
  setTabOrder(done_, help_);

  connect(sourceFile_, &QLineEdit::textEdited, this, [this] { TakeFields(); });
  connect(targetFile_, &QLineEdit::textEdited, this, [this] { TakeFields(); });
  connect(sourceText_, &QPlainTextEdit::textChanged, this, [this] {
    if (!refreshing_) Act([this] { state_.SetSourceText(FromEditText(sourceText_->toPlainText())); });
  });
  connect(resultText_, &QPlainTextEdit::textChanged, this, [this] {
    if (!refreshing_) Act([this] { state_.SetResultText(FromEditText(resultText_->toPlainText())); });
  });
  connect(load_, &QPushButton::clicked, this, [this] {
    Act([this] { state_.Load(); });
    ShowFromTop(sourceText_);
  });
  connect(save_, &QPushButton::clicked, this, [this] { Act([this] { (void)state_.Save(); }); });
  connect(generate_, &QPushButton::clicked, this, [this] {
    Act([this] { state_.Generate(); });
    ShowFromTop(resultText_);
  });
  roadList_->onToggle = [this](int row) { Act([&] { state_.ToggleRoadType(row); }); };
  connect(enableAll_, &QPushButton::clicked, this, [this] { Act([this] { state_.EnableAllRoadTypes(); }); });
  connect(disableAll_, &QPushButton::clicked, this,
          [this] { Act([this] { state_.DisableAllRoadTypes(); }); });
  connect(criterion_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!refreshing_) Act([&] { state_.SetCriterion(index); });
  });
  connect(done_, &QPushButton::clicked, this, &QDialog::accept);
  connect(help_, &QPushButton::clicked, this, [this] { state_.ShowHelp(); });
  Refresh();
  ShowFromTop(sourceText_);
}

OptPathBatchDialog::~OptPathBatchDialog() { state_.SetOwner(previousOwner_); }

void OptPathBatchDialog::TakeFields() {
  if (refreshing_) return;
  state_.SetSourceFile(FromQString(sourceFile_->text()));
  state_.SetTargetFile(FromQString(targetFile_->text()));
}

void OptPathBatchDialog::Act(const std::function<void()>& action) {
  TakeFields();
  action();
  Refresh();
}

void OptPathBatchDialog::Refresh() {
  refreshing_ = true;
  const auto show = [](QLineEdit* field, const std::string& text) {
    const QString shown = ToQString(text);
    if (field->text() != shown) field->setText(shown);
  };
  show(sourceFile_, state_.sourceFile());
  show(targetFile_, state_.targetFile());
  const auto showText = [](QPlainTextEdit* field, const std::string& text) {
    const QString shown = ToEditText(text);
    if (field->toPlainText() != shown) field->setPlainText(shown);
  };
  showText(sourceText_, state_.sourceText());
  showText(resultText_, state_.resultText());
  generate_->setEnabled(state_.Enabled(Button::Generate));
  save_->setEnabled(state_.Enabled(Button::Save));
  roadList_->Refresh();
  criterion_->setCurrentIndex(state_.criterion());
  refreshing_ = false;
}

bool OptPathBatchDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == sourceText_ || watched == resultText_)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers().testFlag(Qt::ControlModifier)) {
      static_cast<QPlainTextEdit*>(watched)->insertPlainText(QStringLiteral("\n"));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

OptPathBatch::FileChoosers QtBatchFileChoosers(QWidget* parent) {
  OptPathBatch::FileChoosers choosers;
  // The file dialogs belong to the batch dialog once it is open.
  choosers.source = [parent] {
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    return ChooseFile(owner, "Útvnonal végpontok", false);
  };
  choosers.target = [parent] {
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    return ChooseFile(owner, "Útvnonal tervek", true);
  };
  return choosers;
}

BatchDialogRunner QtBatchDialogRunner(QWidget* parent) {
  return [parent](OptPathBatch& state) {
    OptPathBatchDialog dialog(state, parent);
    (void)RunModal(dialog);
  };
}

}  // namespace koltar
