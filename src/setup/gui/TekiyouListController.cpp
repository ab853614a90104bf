#include "setup/gui/TekiyouListController.h"

#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "setup/gui/TekiyouListModel.h"

namespace kivo {
namespace {

QPushButton* button(const char* title, QWidget* parent)
{
  auto* b = new QPushButton(qs(title), parent);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TekiyouListController::TekiyouListController(OpenDocument* document)
    : ListSheetController(document), editor_(std::make_unique<TekiyouListEditor>(document->document()))
{
  setWindowTitle(qs("摘要"));
  auto* heading = new QLabel(qs("摘要"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.25);
  heading->setFont(bold);

  groupListView_ = new QListWidget(this);
  groupListView_->setMinimumWidth(190);
  newGroupPopUp_ = new QComboBox(this);
  addGroupButton_ = button("グループを追加", this);
  removeGroupButton_ = button("グループを削除", this);

  model_ = new TekiyouListModel(*editor_, this);
  tekiyouTableView_ = new QTableView(this);
  tekiyouTableView_->setModel(model_);
  tekiyouTableView_->setSelectionMode(QAbstractItemView::SingleSelection);
  tekiyouTableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tekiyouTableView_->setAlternatingRowColors(true);
  tekiyouTableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
  tekiyouTableView_->horizontalHeader()->setSectionResizeMode(TekiyouListModel::TekiyouColumn, QHeaderView::Stretch);
  tekiyouTableView_->setColumnWidth(TekiyouListModel::KanaColumn, 170);

  newTekiyouField_ = new QLineEdit(this);
  newTekiyouField_->setPlaceholderText(qs("新しい摘要"));
  addTekiyouButton_ = button("追加", this);
  removeTekiyouButton_ = button("削除...", this);
  moveUpButton_ = button("上へ", this);
  moveDownButton_ = button("下へ", this);
  moveToGroupPopUp_ = new QComboBox(this);
  moveToGroupButton_ = button("へ移動", this);

  auto* groupColumn = new QVBoxLayout();
  groupColumn->addWidget(new QLabel(qs("グループ"), this));
  groupColumn->addWidget(groupListView_, 1);
  groupColumn->addWidget(newGroupPopUp_);
  auto* groupButtons = new QHBoxLayout();
  groupButtons->addWidget(addGroupButton_);
  groupButtons->addWidget(removeGroupButton_);
  groupColumn->addLayout(groupButtons);

  auto* addRow = new QHBoxLayout();
  addRow->addWidget(newTekiyouField_, 1);
  addRow->addWidget(addTekiyouButton_);
  auto* editRow = new QHBoxLayout();
  editRow->addWidget(removeTekiyouButton_);
  editRow->addWidget(moveUpButton_);
  editRow->addWidget(moveDownButton_);
  editRow->addStretch();
  editRow->addWidget(moveToGroupPopUp_);
  editRow->addWidget(moveToGroupButton_);
  auto* tekiyouColumn = new QVBoxLayout();
  tekiyouColumn->addWidget(new QLabel(qs("摘要"), this));
  tekiyouColumn->addWidget(tekiyouTableView_, 1);
  tekiyouColumn->addLayout(addRow);
  tekiyouColumn->addLayout(editRow);

  auto* columns = new QHBoxLayout();
  columns->setSpacing(14);
  columns->addLayout(groupColumn);
  columns->addLayout(tekiyouColumn, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 16);
  layout->setSpacing(10);
  layout->addWidget(heading);
  layout->addLayout(columns, 1);
  layout->addLayout(makeButtonRow());
  resize(760, 520);

  connect(model_, &TekiyouListModel::refused, this,
          [this](const QString& title, const QString& message) { showRefusal(title, message); });
  connect(groupListView_, &QListWidget::currentRowChanged, this, &TekiyouListController::groupSelectionDidChange);
  connect(tekiyouTableView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TekiyouListController::validateButtons);
  connect(addGroupButton_, &QPushButton::clicked, this, [this] { addGroup(); });
  connect(removeGroupButton_, &QPushButton::clicked, this, &TekiyouListController::removeGroup);
  connect(addTekiyouButton_, &QPushButton::clicked, this, [this] { addTekiyou(); });
  // Return in the field adds what it holds (and leaves the sheet open); in an empty
  // field it is the sheet's.
  connect(newTekiyouField_, &QLineEdit::returnPressed, this, [this] {
    if (newTekiyouField_->text().trimmed().isEmpty()) return;
    takeReturnKey(newTekiyouField_);
    addTekiyou();
  });
  connect(newTekiyouField_, &QLineEdit::textChanged, this, &TekiyouListController::validateButtons);
  connect(removeTekiyouButton_, &QPushButton::clicked, this, &TekiyouListController::removeTekiyou);
  connect(moveUpButton_, &QPushButton::clicked, this, [this] { moveSelectedTekiyou(-1); });
  connect(moveDownButton_, &QPushButton::clicked, this, [this] { moveSelectedTekiyou(1); });
  connect(moveToGroupButton_, &QPushButton::clicked, this, &TekiyouListController::moveSelectedTekiyouToGroup);

  reloadGroups();
  selectGroup(0);
}

TekiyouListController::~TekiyouListController() = default;

void TekiyouListController::endTekiyouListWindow(QObject* sender)
{
  if (sender == okButton())
    okAction();
  else
    endSheetWithSender(sender);
}

void TekiyouListController::setPrimeKamokuCodes(int firstKamokuCode, int secondKamokuCode)
{
  const MyDocument& doc = document()->document();
  for (int code : {firstKamokuCode, secondKamokuCode}) {
    if (code < 0) continue;
    KamokuPtr k = doc.kamokuOfCode(code);
    const int g = k ? editor_->indexOfGroupNamed(k->name()) : -1;
    if (g >= 0) {
      selectGroup(g);
      return;
    }
  }
}

void TekiyouListController::setOffersPasteboardText(bool offers)
{
  if (!offers) return;
  const QString text = QGuiApplication::clipboard()->text().trimmed();
  if (text.isEmpty() || text.contains(QLatin1Char('\n'))) return;
  const int g = selectedGroup();
  if (g >= 0)
    for (const TekiyouListEditor::Item& item : editor_->group(g).items)
      if (qs(item.tekiyou) == text) return;
  newTekiyouField_->setText(text);
  validateButtons();
}

// --- groups

void TekiyouListController::reloadGroups()
{
  const int keep = groupListView_->currentRow();
  groupListView_->blockSignals(true);
  groupListView_->clear();
  moveToGroupPopUp_->clear();
  for (int g = 0; g < editor_->groupCount(); ++g) {
    groupListView_->addItem(qs(editor_->group(g).name));
    moveToGroupPopUp_->addItem(qs(editor_->group(g).name), g);
  }
  groupListView_->blockSignals(false);
  newGroupPopUp_->clear();
  for (const std::string& name : editor_->namesAvailableForNewGroup()) newGroupPopUp_->addItem(qs(name));
  if (keep >= 0 && keep < editor_->groupCount()) groupListView_->setCurrentRow(keep);
  validateButtons();
}

int TekiyouListController::selectedGroup() const { return groupListView_->currentRow(); }

void TekiyouListController::selectGroup(int group)
{
  if (group < 0 || group >= editor_->groupCount()) return;
  groupListView_->setCurrentRow(group);
  groupSelectionDidChange();
}

void TekiyouListController::groupSelectionDidChange()
{
  const int g = selectedGroup();
  if (g != model_->group()) model_->setGroup(g);
  validateButtons();
}

int TekiyouListController::addGroup()
{
  const int g = editor_->addGroup(newGroupPopUp_->currentText().toStdString());
  if (g < 0) {
    AlertSheet::beep();
    return -1;
  }
  reloadGroups();
  selectGroup(g);
  return g;
}

void TekiyouListController::removeGroup()
{
  const int g = selectedGroup();
  if (!editor_->removeGroup(g)) {
    AlertSheet::beep();
    return;
  }
  reloadGroups();
  selectGroup(std::min(g, editor_->groupCount() - 1));
}

// --- descriptions

int TekiyouListController::selectedTekiyou() const
{
  const QModelIndex current = tekiyouTableView_->selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TekiyouListController::selectTekiyou(int row)
{
  const QModelIndex idx = model_->index(row, TekiyouListModel::TekiyouColumn);
  tekiyouTableView_->selectionModel()->setCurrentIndex(idx,
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  tekiyouTableView_->scrollTo(idx);
  validateButtons();
}

int TekiyouListController::addTekiyou()
{
  const int g = selectedGroup();
  const QString text = newTekiyouField_->text().trimmed();
  if (g < 0 || text.isEmpty()) {
    AlertSheet::beep();
    return -1;
  }
  const int i = editor_->addTekiyou(g, text.toStdString());
  model_->reload();
  newTekiyouField_->clear();
  selectTekiyou(i);
  // The kana is what the user types next.
  if (tekiyouTableView_->isVisible()) tekiyouTableView_->edit(model_->index(i, TekiyouListModel::KanaColumn));
  return i;
}

void TekiyouListController::removeTekiyou()
{
  const int g = selectedGroup();
  const int i = selectedTekiyou();
  if (g < 0 || i < 0) return;
  const QString what = qs(editor_->group(g).items[i].tekiyou);
  QPointer<TekiyouListController> self = this;
  AlertSheet::beginDeleteConfirmationSheet(this, qs("摘要の削除"), qs("摘要「%1」を削除しますか?").arg(what),
                                           [self, g, i](bool doDelete) {
                                             if (!self || !doDelete) return;
                                             self->editor_->removeTekiyou(g, i);
                                             self->model_->reload();
                                             self->selectTekiyou(std::min(i, self->model_->rowCount() - 1));
                                           });
}

void TekiyouListController::moveSelectedTekiyou(int delta)
{
  const int g = selectedGroup();
  const int i = selectedTekiyou();
  if (g < 0 || i < 0 || !editor_->moveTekiyouWithinGroup(g, i, i + delta)) return;
  model_->reload();
  selectTekiyou(i + delta);
}

void TekiyouListController::moveSelectedTekiyouToGroup()
{
  const int g = selectedGroup();
  const int i = selectedTekiyou();
  const int to = moveToGroupPopUp_->currentData().toInt();
  if (g < 0 || i < 0 || to == g) {
    AlertSheet::beep();
    return;
  }
  const int moved = editor_->moveTekiyou(g, i, to);
  selectGroup(to);
  selectTekiyou(moved);
}

void TekiyouListController::validateButtons()
{
  const int g = selectedGroup();
  const bool hasGroup = g >= 0 && g < editor_->groupCount();
  const int i = selectedTekiyou();
  const int n = model_->rowCount();
  removeGroupButton_->setEnabled(hasGroup && !editor_->group(g).isOthersGroup);
  addGroupButton_->setEnabled(newGroupPopUp_->count() > 0);
  addTekiyouButton_->setEnabled(hasGroup && !newTekiyouField_->text().trimmed().isEmpty());
  removeTekiyouButton_->setEnabled(i >= 0 && i < n);
  moveUpButton_->setEnabled(i > 0 && i < n);
  moveDownButton_->setEnabled(i >= 0 && i + 1 < n);
  moveToGroupButton_->setEnabled(i >= 0 && i < n && editor_->groupCount() > 1);
}

// --- OK

bool TekiyouListController::validateChoice()
{
  const TekiyouListEditor::Refusal refusal = editor_->validate();
  if (!refusal.isRefused()) return true;
  selectGroup(refusal.group);
  selectTekiyou(refusal.item);
  showRefusal(qs(TekiyouListEditor::kInvalidTitle), qs(refusal.message));
  return false;
}

void TekiyouListController::storeChoice()
{
  editor_->writeBack(document()->document());
  documentDidChangeMasterList();
}

}  // namespace kivo
