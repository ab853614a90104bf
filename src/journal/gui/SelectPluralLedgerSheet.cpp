#include "journal/gui/SelectPluralLedgerSheet.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/gui/DocumentWindowController.h"
#include "document/gui/OpenDocument.h"
#include "journal/Kanjyoumotocyou.h"
#include "journal/gui/KanjyoumotocyouPrintAccessory.h"
#include "journal/gui/PrintChoiceLayouts.h"
#include "platform/PrintOperation.h"
#include "platform/QtStrings.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

LedgerChoiceTree* makeOutline(const QString& mimeType, QWidget* parent)
{
  auto* outline = new LedgerChoiceTree(mimeType, parent);
  outline->setColumnCount(2);
  // The names carry the outline's indentation; the codes stand right of them.
  outline->setHeaderLabels({qs("名前"), qs("コード")});
  outline->header()->setStretchLastSection(true);
  outline->setColumnWidth(0, 220);
  outline->setMinimumSize(320, 360);
  return outline;
}

}  // namespace

SelectPluralLedgerSheet::SelectPluralLedgerSheet(OpenDocument* document, const QString& title, const QString& mimeType)
    : document_(document)
{
  setWindowTitle(title);
  unselectedOutline_ = makeOutline(mimeType, this);
  selectedOutline_ = makeOutline(mimeType, this);
  unselectedOutline_->setPartner(selectedOutline_);
  selectedOutline_->setPartner(unselectedOutline_);
  unselectedOutline_->setDropHandler([this](const std::vector<Ledger>& l) { setLedgersChosen(l, false); });
  selectedOutline_->setDropHandler([this](const std::vector<Ledger>& l) { setLedgersChosen(l, true); });

  monthFromPopUp_ = new QComboBox(this);
  monthToPopUp_ = new QComboBox(this);
  perLedgerButton_ = new QRadioButton(qs("元帳ごとにページ番号を付ける"), this);
  continuousButton_ = new QRadioButton(qs("通しでページ番号を付ける"), this);
  auto* group = new QButtonGroup(this);
  group->addButton(perLedgerButton_, 0);
  group->addButton(continuousButton_, 1);
  startPageNumberField_ = new QSpinBox(this);
  startPageNumberField_->setRange(1, 99999);
  pageSetupButton_ = new QPushButton(qs("ページ設定..."), this);
  previewButton_ = new QPushButton(qs("プレビュー..."), this);
  cancelButton_ = new QPushButton(qs("キャンセル"), this);
  okButton_ = new QPushButton(qs("プリント..."), this);
  okButton_->setDefault(true);
  for (QPushButton* b : {pageSetupButton_, previewButton_, cancelButton_}) b->setAutoDefault(false);

  topLayout_ = new QVBoxLayout();
  QGridLayout* outlines = PrintChoiceLayouts::makeChoiceLists(this, unselectedOutline_, selectedOutline_);
  QHBoxLayout* months = PrintChoiceLayouts::makeMonthRange(this, monthFromPopUp_, monthToPopUp_);
  auto* numbering = new QHBoxLayout();
  numbering->addWidget(perLedgerButton_);
  numbering->addWidget(continuousButton_);
  numbering->addSpacing(12);
  numbering->addWidget(new QLabel(qs("開始ページ番号:"), this));
  numbering->addWidget(startPageNumberField_);
  numbering->addStretch();
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(pageSetupButton_);
  buttons->addWidget(previewButton_);
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(topLayout_);
  layout->addLayout(outlines, 1);
  layout->addLayout(months);
  layout->addLayout(numbering);
  layout->addLayout(buttons);

  connect(monthFromPopUp_, qOverload<int>(&QComboBox::activated), this,
          &SelectPluralLedgerSheet::selectItemOfMonthFromPopUp);
  connect(monthToPopUp_, qOverload<int>(&QComboBox::activated), this,
          &SelectPluralLedgerSheet::selectItemOfMonthToPopUp);
  connect(pageSetupButton_, &QPushButton::clicked, this, &SelectPluralLedgerSheet::pageSetup);
  connect(previewButton_, &QPushButton::clicked, this, &SelectPluralLedgerSheet::showPrintPreview);
  connect(okButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(cancelButton_); });
}

QWidget* SelectPluralLedgerSheet::documentInfo() const { return document_->documentInfoController(); }

QAbstractButton* SelectPluralLedgerSheet::okButton() const { return okButton_; }

void SelectPluralLedgerSheet::beginForWindow(WindowController* info)
{
  periodFromMonthArrayIndex_ = 0;
  periodToMonthArrayIndex_ = static_cast<int32_t>(document_->document().kaisya().monthArray().size());
  updateUI();
  QPointer<SelectPluralLedgerSheet> self = this;
  beginSheet(info, [self](int returnCode) {
    if (!self || returnCode != kOK) return;
    self->setKanjyoumotocyouPrintAccessoryViewOfDocumentInfoController();
    self->printChosen(self->documentInfo(), false);
  });
}

void SelectPluralLedgerSheet::updateUI()
{
  reloadOutlines();
  const std::vector<Month>& months = document_->document().kaisya().monthArray();
  for (QComboBox* popUp : {monthFromPopUp_, monthToPopUp_}) {
    popUp->clear();
    for (const Month& m : months) popUp->addItem(qs(m.name()));
    popUp->addItem(qs(Kanjyoumotocyou::kKessanSeiridukiName));
  }
  monthFromPopUp_->setCurrentIndex(periodFromMonthArrayIndex_);
  monthToPopUp_->setCurrentIndex(periodToMonthArrayIndex_);
  perLedgerButton_->setChecked(true);
  startPageNumberField_->setValue(1);
}

void SelectPluralLedgerSheet::reloadOutlines()
{
  for (LedgerChoiceTree* outline : {unselectedOutline_, selectedOutline_}) {
    outline->clear();
    fillOutline(outline, outline == selectedOutline_);
  }
  const bool any = selectedOutline_->topLevelItemCount() > 0;
  okButton_->setEnabled(any);
  previewButton_->setEnabled(any);
}

void SelectPluralLedgerSheet::setLedgersChosen(const std::vector<Ledger>& ledgers, bool chosen)
{
  for (const Ledger& l : ledgers) setLedgerChosen(l, chosen);
  reloadOutlines();
}

void SelectPluralLedgerSheet::selectItemOfMonthFromPopUp()
{
  if (monthFromPopUp_->currentIndex() > monthToPopUp_->currentIndex())
    monthFromPopUp_->setCurrentIndex(monthToPopUp_->currentIndex());
}

void SelectPluralLedgerSheet::selectItemOfMonthToPopUp()
{
  if (monthToPopUp_->currentIndex() < monthFromPopUp_->currentIndex())
    monthToPopUp_->setCurrentIndex(monthFromPopUp_->currentIndex());
}

void SelectPluralLedgerSheet::pageSetup()
{
  PrintOperation::runPageSetup(documentInfo(), KIVOKanjyoumotocyouPrintInfoKey);
}

void SelectPluralLedgerSheet::storeMonths()
{
  periodFromMonthArrayIndex_ = monthFromPopUp_->currentIndex();
  periodToMonthArrayIndex_ = monthToPopUp_->currentIndex();
}

void SelectPluralLedgerSheet::storeChoice() { storeMonths(); }

void SelectPluralLedgerSheet::showPrintPreview()
{
  storeMonths();
  setKanjyoumotocyouPrintAccessoryViewOfDocumentInfoController();
  printChosen(documentInfo(), true);
}

void SelectPluralLedgerSheet::setKanjyoumotocyouPrintAccessoryViewOfDocumentInfoController()
{
  KanjyoumotocyouPrintAccessory::of(document_)->setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(
      continuousButton_->isChecked() ? 1 : 0, startPageNumberField_->value());
}

}  // namespace kivo
