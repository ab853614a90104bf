#include "setup/gui/KamokuListController.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "platform/QtStrings.h"
#include "setup/gui/HojyoKamokuListModel.h"
#include "setup/gui/KamokuListModel.h"

namespace kivo {

KamokuListController::KamokuListController(OpenDocument* document)
    : ListSheetController(document), editor_(std::make_unique<KamokuListEditor>(document->document()))
{
  const MyDocument& doc = document->document();
  setWindowTitle(qs("勘定科目"));

  auto* heading = new QLabel(qs("勘定科目"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.25);
  heading->setFont(bold);

  jigyoubuPopUp_ = new QComboBox(this);
  if (editor_->hasActiveJigyoubu()) {
    jigyoubuPopUp_->addItem(qs("会社全体（事業部の合計）"), KamokuListEditor::kAllJigyoubu);
    for (int32_t code : editor_->activeJigyoubuCodes()) {
      JigyoubuPtr j = doc.matchJigyoubuCode(QString::asprintf("%02d", code).toStdString());
      jigyoubuPopUp_->addItem(QString::asprintf("%02d ", code) + (j ? qs(j->name()) : QString()), code);
    }
  } else {
    jigyoubuPopUp_->addItem(qs("会社全体"), KamokuListEditor::kAllJigyoubu);
    jigyoubuPopUp_->setEnabled(false);
  }

  kamokuModel_ = new KamokuListModel(*editor_, doc.kaisya(), this);
  kamokuOutlineView_ = new QTreeView(this);
  kamokuOutlineView_->setModel(kamokuModel_);
  kamokuOutlineView_->setAlternatingRowColors(true);
  kamokuOutlineView_->setUniformRowHeights(true);
  kamokuOutlineView_->setSelectionMode(QAbstractItemView::SingleSelection);
  kamokuOutlineView_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);
  kamokuOutlineView_->expandAll();
  for (int r = 0; r < kamokuModel_->rowCount(); ++r) kamokuOutlineView_->setFirstColumnSpanned(r, {}, true);
  QHeaderView* header = kamokuOutlineView_->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(KamokuListModel::NameColumn, QHeaderView::Stretch);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::CodeColumn, 64);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::KanaColumn, 170);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::ActiveColumn, 52);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::SuitouColumn, 64);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::KeyColumn, 48);
  kamokuOutlineView_->setColumnWidth(KamokuListModel::BalanceColumn, 150);

  hojyoTitle_ = new QLabel(this);
  hojyoModel_ = new HojyoKamokuListModel(*editor_, doc.kaisya(), this);
  hojyoTableView_ = new QTableView(this);
  hojyoTableView_->setModel(hojyoModel_);
  hojyoTableView_->setSelectionMode(QAbstractItemView::SingleSelection);
  hojyoTableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  hojyoTableView_->setAlternatingRowColors(true);
  hojyoTableView_->verticalHeader()->setVisible(false);
  hojyoTableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
  hojyoTableView_->horizontalHeader()->setSectionResizeMode(HojyoKamokuListModel::NameColumn, QHeaderView::Stretch);
  hojyoTableView_->setColumnWidth(HojyoKamokuListModel::CodeColumn, 64);
  hojyoTableView_->setColumnWidth(HojyoKamokuListModel::KanaColumn, 170);
  hojyoTableView_->setColumnWidth(HojyoKamokuListModel::ActiveColumn, 52);
  hojyoTableView_->setColumnWidth(HojyoKamokuListModel::KeyColumn, 48);
  hojyoTableView_->setColumnWidth(HojyoKamokuListModel::BalanceColumn, 150);
  hojyoTableView_->setMinimumHeight(120);

  addHojyoButton_ = new QPushButton(qs("補助科目を追加"), this);
  moveUpButton_ = new QPushButton(qs("上へ"), this);
  moveDownButton_ = new QPushButton(qs("下へ"), this);
  for (QPushButton* b : {addHojyoButton_, moveUpButton_, moveDownButton_}) b->setAutoDefault(false);

  startBalanceField_ = new QLabel(this);

  auto* top = new QHBoxLayout();
  top->addWidget(heading);
  top->addStretch();
  top->addWidget(new QLabel(qs("開始残高の事業部:"), this));
  top->addWidget(jigyoubuPopUp_);

  auto* hojyoButtons = new QVBoxLayout();
  hojyoButtons->addWidget(addHojyoButton_);
  hojyoButtons->addWidget(moveUpButton_);
  hojyoButtons->addWidget(moveDownButton_);
  hojyoButtons->addStretch();
  auto* hojyoRow = new QHBoxLayout();
  hojyoRow->addWidget(hojyoTableView_, 1);
  hojyoRow->addLayout(hojyoButtons);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 16);
  layout->setSpacing(10);
  layout->addLayout(top);
  layout->addWidget(kamokuOutlineView_, 3);
  layout->addWidget(hojyoTitle_);
  layout->addLayout(hojyoRow, 1);
  layout->addWidget(startBalanceField_);
  layout->addLayout(makeButtonRow());
  resize(900, 680);

  connect(kamokuModel_, &KamokuListModel::refused, this, &KamokuListController::refuse);
  connect(hojyoModel_, &HojyoKamokuListModel::refused, this, &KamokuListController::refuse);
  connect(kamokuModel_, &KamokuListModel::edited, this, [this] {
    updateStartBalanceField();
    // The cash-book flag decides whether the sub-accounts' shortcuts mean anything.
    hojyoModel_->reload();
    kamokuSelectionDidChange();
  });
  connect(hojyoModel_, &HojyoKamokuListModel::edited, this, &KamokuListController::updateStartBalanceField);
  connect(kamokuOutlineView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &KamokuListController::kamokuSelectionDidChange);
  connect(hojyoTableView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &KamokuListController::kamokuSelectionDidChange);
  connect(jigyoubuPopUp_, &QComboBox::currentIndexChanged, this,
          [this] { selectJigyoubuCode(jigyoubuPopUp_->currentData().toInt()); });
  connect(addHojyoButton_, &QPushButton::clicked, this, [this] { addHojyoKamoku(); });
  connect(moveUpButton_, &QPushButton::clicked, this, [this] { moveSelectedHojyoKamoku(-1); });
  connect(moveDownButton_, &QPushButton::clicked, this, [this] { moveSelectedHojyoKamoku(1); });

  // With divisions, the first division's figures are the ones to type.
  if (editor_->hasActiveJigyoubu()) jigyoubuPopUp_->setCurrentIndex(1);
  kamokuSelectionDidChange();
  updateStartBalanceField();
}

KamokuListController::~KamokuListController() = default;

void KamokuListController::refuse(const QString& title, const QString& message) { showRefusal(title, message); }

void KamokuListController::selectJigyoubuCode(int32_t code)
{
  const int i = jigyoubuPopUp_->findData(code);
  if (i >= 0 && i != jigyoubuPopUp_->currentIndex()) jigyoubuPopUp_->setCurrentIndex(i);
  kamokuModel_->setJigyoubuCode(code);
  hojyoModel_->setJigyoubuCode(code);
}

int KamokuListController::selectedKamokuIndex() const
{
  return kamokuModel_->kamokuIndexOf(kamokuOutlineView_->selectionModel()->currentIndex());
}

void KamokuListController::selectKamoku(int kamokuIndex)
{
  const QModelIndex idx = kamokuModel_->indexOfKamoku(kamokuIndex);
  if (!idx.isValid()) return;
  kamokuOutlineView_->selectionModel()->setCurrentIndex(
      idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  kamokuOutlineView_->scrollTo(idx);
}

void KamokuListController::kamokuSelectionDidChange()
{
  const int k = selectedKamokuIndex();
  hojyoModel_->setKamokuIndex(k);
  const bool account = k >= 0;
  if (account)
    hojyoTitle_->setText(qs("補助科目 — ") + qs(editor_->row(k).name));
  else
    hojyoTitle_->setText(qs("補助科目 — 勘定科目を選んでください"));
  addHojyoButton_->setEnabled(account && editor_->row(k).isActive);
  const int h = hojyoTableView_->selectionModel()->currentIndex().row();
  const int n = hojyoModel_->rowCount();
  moveUpButton_->setEnabled(account && h > 0 && h < n);
  moveDownButton_->setEnabled(account && h >= 0 && h + 1 < n);
}

int KamokuListController::addHojyoKamoku()
{
  const int k = selectedKamokuIndex();
  if (k < 0 || !editor_->row(k).isActive) return -1;
  const int h = editor_->addHojyoKamoku(k);
  if (h < 0) {
    showRefusal(qs(KamokuListEditor::kInvalidTitle), qs(KamokuListEditor::kHojyoKamokuFullMessage));
    return -1;
  }
  hojyoModel_->reload();
  const QModelIndex name = hojyoModel_->index(h, HojyoKamokuListModel::NameColumn);
  hojyoTableView_->selectionModel()->setCurrentIndex(name,
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (hojyoTableView_->isVisible()) hojyoTableView_->edit(name);
  kamokuSelectionDidChange();
  return h;
}

void KamokuListController::moveSelectedHojyoKamoku(int delta)
{
  const int k = selectedKamokuIndex();
  const int h = hojyoTableView_->selectionModel()->currentIndex().row();
  if (k < 0 || h < 0 || !editor_->moveHojyoKamoku(k, h, h + delta)) return;
  hojyoModel_->reload();
  hojyoTableView_->selectionModel()->setCurrentIndex(hojyoModel_->index(h + delta, 0),
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  kamokuSelectionDidChange();
}

void KamokuListController::updateStartBalanceField()
{
  const Kaisya& kaisya = document()->document().kaisya();
  const KamokuListEditor::TaisyakuTotal total = editor_->startBalanceTaisyakuTotal();
  QString text = qs("開始残高の合計　借方 %1　貸方 %2　")
                     .arg(qs(kaisya.displayStringOfMemoryKingaku(total.karikata)),
                          qs(kaisya.displayStringOfMemoryKingaku(total.kashikata)));
  if (total.isBalanced()) {
    text += qs("貸借が一致しています。");
    startBalanceField_->setStyleSheet(QString());
  } else {
    text += qs("貸借が一致していません（差額 %1）。帳票の多くは、貸借が一致するまで表示できません。")
                .arg(qs(kaisya.displayStringOfMemoryKingaku(total.difference())));
    startBalanceField_->setStyleSheet(qs("color: #b00020;"));
  }
  startBalanceField_->setText(text);
}

bool KamokuListController::validateChoice()
{
  const KamokuListEditor::Refusal refusal = editor_->validate();
  if (!refusal.isRefused()) return true;
  selectKamoku(refusal.kamokuIndex);
  if (refusal.hojyoIndex >= 0)
    hojyoTableView_->selectionModel()->setCurrentIndex(hojyoModel_->index(refusal.hojyoIndex, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  showRefusal(qs(KamokuListEditor::kInvalidTitle), qs(refusal.message));
  return false;
}

void KamokuListController::storeChoice()
{
  editor_->writeBack(document()->document());
  documentDidChangeMasterList();
}

}  // namespace kivo
