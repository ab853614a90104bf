#include "trial/gui/SelectPluralKamokuWithHojyoController.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/PrintChoiceLayouts.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

LedgerChoiceTree* makeTable(QWidget* parent)
{
  auto* table = new LedgerChoiceTree(qs(SelectPluralKamokuWithHojyoController::kKamokuArrayDataPboardType), parent);
  table->setColumnCount(2);
  table->setHeaderLabels({qs("コード"), qs("勘定科目")});
  table->setRootIsDecorated(false);
  table->header()->setStretchLastSection(true);
  table->setColumnWidth(0, 60);
  table->setMinimumSize(240, 300);
  return table;
}

}  // namespace

SelectPluralKamokuWithHojyoController::SelectPluralKamokuWithHojyoController(OpenDocument* document)
    : document_(document)
{
  setWindowTitle(qs("複数の補助残高一覧表をプリント"));
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(document->document(), true);
  jigyoubuRow_ = new QWidget(this);
  jigyoubuField_ = new QLineEdit(jigyoubuRow_);
  jigyoubuField_->setReadOnly(true);
  jigyoubuField_->setFocusPolicy(Qt::NoFocus);
  selectJigyoubuButton_ = new QToolButton(jigyoubuRow_);
  selectJigyoubuButton_->setText(qs("…"));
  selectJigyoubuButton_->setToolTip(qs("事業部を選ぶ"));
  auto* jigyoubu = new QHBoxLayout(jigyoubuRow_);
  jigyoubu->setContentsMargins(0, 0, 0, 0);
  jigyoubu->addWidget(new QLabel(qs("事業部:"), jigyoubuRow_));
  jigyoubuField_->setFixedWidth(jigyoubuField_->fontMetrics().averageCharWidth() * 22);
  jigyoubu->addWidget(jigyoubuField_);
  jigyoubu->addWidget(selectJigyoubuButton_);
  jigyoubu->addStretch(1);

  unselectedTable_ = makeTable(this);
  selectedTable_ = makeTable(this);
  unselectedTable_->setPartner(selectedTable_);
  selectedTable_->setPartner(unselectedTable_);
  unselectedTable_->setDropHandler([this](const auto& accounts) { setKamokuChosen(accounts, false); });
  selectedTable_->setDropHandler([this](const auto& accounts) { setKamokuChosen(accounts, true); });

  monthFromPopUp_ = new QComboBox(this);
  monthToPopUp_ = new QComboBox(this);
  pageSetupButton_ = new QPushButton(qs("ページ設定..."), this);
  cancelButton_ = new QPushButton(qs("キャンセル"), this);
  okButton_ = new QPushButton(qs("プリント..."), this);
  okButton_->setDefault(true);
  pageSetupButton_->setAutoDefault(false);
  cancelButton_->setAutoDefault(false);

  QGridLayout* tables = PrintChoiceLayouts::makeChoiceLists(this, unselectedTable_, selectedTable_);
  QHBoxLayout* months = PrintChoiceLayouts::makeMonthRange(this, monthFromPopUp_, monthToPopUp_);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(pageSetupButton_);
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(jigyoubuRow_);
  layout->addLayout(tables, 1);
  layout->addLayout(months);
  layout->addLayout(buttons);

  connect(selectJigyoubuButton_, &QToolButton::clicked, this,
          &SelectPluralKamokuWithHojyoController::showJigyoubuFormatterListWindowForJigyoubuField);
  connect(monthFromPopUp_, qOverload<int>(&QComboBox::activated), this,
          &SelectPluralKamokuWithHojyoController::selectItemOfMonthFromPopUp);
  connect(monthToPopUp_, qOverload<int>(&QComboBox::activated), this,
          &SelectPluralKamokuWithHojyoController::selectItemOfMonthToPopUp);
  connect(pageSetupButton_, &QPushButton::clicked, this, &SelectPluralKamokuWithHojyoController::pageSetup);
  connect(okButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(cancelButton_); });
}

SelectPluralKamokuWithHojyoController::~SelectPluralKamokuWithHojyoController() = default;

SelectPluralKamokuWithHojyoController* SelectPluralKamokuWithHojyoController::controllerOfDocument(
    OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* sheet = document->ownedControllerAs<SelectPluralKamokuWithHojyoController>(Owned::SelectPluralKamokuWithHojyo);
  if (!sheet) {
    sheet = new SelectPluralKamokuWithHojyoController(document);
    document->setOwnedController(Owned::SelectPluralKamokuWithHojyo, sheet);
  }
  return sheet;
}

QAbstractButton* SelectPluralKamokuWithHojyoController::okButton() const { return okButton_; }

void SelectPluralKamokuWithHojyoController::updateUI()
{
  const MyDocument& doc = document_->document();
  const bool jigyoubu = doc.numberOfActiveJigyoubu() >= 1;
  jigyoubuRow_->setVisible(jigyoubu);
  if (!jigyoubu) jigyoubuCode_ = Jigyoubu::kAllJigyoubuCode;
  const auto text = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(jigyoubuCode_));
  jigyoubuField_->setText(text ? qs(*text) : QString());
  selectJigyoubuButton_->setEnabled(jigyoubu);
  reloadTables();
  const std::vector<Month>& months = doc.kaisya().monthArray();
  for (QComboBox* popUp : {monthFromPopUp_, monthToPopUp_}) {
    popUp->clear();
    for (const Month& m : months) popUp->addItem(qs(m.name()));
    popUp->addItem(qs(Kanjyoumotocyou::kKessanSeiridukiName));
  }
  monthFromPopUp_->setCurrentIndex(periodFromMonthArrayIndex_);
  monthToPopUp_->setCurrentIndex(periodToMonthArrayIndex_);
  adjustSize();
}

void SelectPluralKamokuWithHojyoController::fillTable(LedgerChoiceTree* table, bool chosen)
{
  table->clear();
  for (const KamokuPtr& k : document_->document().codeSortedKamokuArray()) {
    if (k->activeHojyoKamokuNum() < 1 || k->isTempSelected() != chosen) continue;
    auto* item = new QTreeWidgetItem(table);
    item->setText(0, QString::number(k->code()));
    item->setText(1, qs(k->name()));
    item->setData(0, LedgerChoiceTree::kKamokuCodeRole, k->code());
    item->setData(0, LedgerChoiceTree::kHojyoKamokuCodeRole, -1);
  }
}

void SelectPluralKamokuWithHojyoController::reloadTables()
{
  fillTable(unselectedTable_, false);
  fillTable(selectedTable_, true);
  okButton_->setEnabled(selectedTable_->topLevelItemCount() > 0);
}

void SelectPluralKamokuWithHojyoController::setKamokuChosen(const std::vector<LedgerChoiceTree::Ledger>& accounts,
                                                            bool chosen)
{
  for (const auto& [kamoku, hojyo] : accounts)
    if (const KamokuPtr k = document_->document().kamokuOfCode(kamoku)) k->setIsTempSelected(chosen);
  reloadTables();
}

void SelectPluralKamokuWithHojyoController::showJigyoubuFormatterListWindowForJigyoubuField()
{
  const QPoint topLeft = jigyoubuField_->mapToGlobal(QPoint(0, jigyoubuField_->height()));
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, topLeft, QString(), this);
  if (code < 0 || code == jigyoubuCode_) return;
  jigyoubuCode_ = code;
  const auto text = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(jigyoubuCode_));
  jigyoubuField_->setText(text ? qs(*text) : QString());
}

void SelectPluralKamokuWithHojyoController::selectItemOfMonthFromPopUp()
{
  if (monthFromPopUp_->currentIndex() > monthToPopUp_->currentIndex())
    monthFromPopUp_->setCurrentIndex(monthToPopUp_->currentIndex());
}

void SelectPluralKamokuWithHojyoController::selectItemOfMonthToPopUp()
{
  if (monthToPopUp_->currentIndex() < monthFromPopUp_->currentIndex())
    monthToPopUp_->setCurrentIndex(monthFromPopUp_->currentIndex());
}

void SelectPluralKamokuWithHojyoController::pageSetup()
{
  PrintOperation::runPageSetup(this, KIVOHojyozandakaIchiranPrintInfoKey);
}

void SelectPluralKamokuWithHojyoController::storeChoice()
{
  periodFromMonthArrayIndex_ = monthFromPopUp_->currentIndex();
  periodToMonthArrayIndex_ = monthToPopUp_->currentIndex();
}

}  // namespace kivo
