#include "journal/gui/KanjyoumotocyouPrintAccessory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWidget>

#include "document/gui/OpenDocument.h"
#include "platform/QtStrings.h"

namespace kivo {
namespace {

constexpr int kMaxStartPageNumber = 99999;

}  // namespace

KanjyoumotocyouPrintAccessory* KanjyoumotocyouPrintAccessory::of(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* accessory = document->ownedControllerAs<KanjyoumotocyouPrintAccessory>(Owned::KanjyoumotocyouPrintAccessory);
  if (!accessory) {
    accessory = new KanjyoumotocyouPrintAccessory();
    document->setOwnedController(Owned::KanjyoumotocyouPrintAccessory, accessory);
  }
  return accessory;
}

KanjyoumotocyouPrintAccessory::KanjyoumotocyouPrintAccessory()
{
  auto* view = new QWidget();
  view->hide();
  perLedgerNumberingButton_ = new QRadioButton(qs("元帳ごとにページ番号を付ける"), view);
  continuousNumberingButton_ = new QRadioButton(qs("通しでページ番号を付ける"), view);
  startPageNumberField_ = new QSpinBox(view);
  startPageNumberField_->setRange(1, kMaxStartPageNumber);
  auto* startRow = new QHBoxLayout();
  startRow->addWidget(new QLabel(qs("開始ページ番号:"), view));
  startRow->addWidget(startPageNumberField_);
  startRow->addStretch();
  auto* layout = new QVBoxLayout(view);
  layout->addWidget(perLedgerNumberingButton_);
  layout->addWidget(continuousNumberingButton_);
  layout->addLayout(startRow);
  view_ = view;
  resetKanjyoumotocyouPrintAccessoryView();
}

KanjyoumotocyouPrintAccessory::~KanjyoumotocyouPrintAccessory() { delete view_.data(); }

void KanjyoumotocyouPrintAccessory::resetKanjyoumotocyouPrintAccessoryView()
{
  setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(0, 1);
}

bool KanjyoumotocyouPrintAccessory::doPrintContinuousPageNumberOnKanjyoumotocyou() const
{
  return !perLedgerNumberingButton_->isChecked();
}

void KanjyoumotocyouPrintAccessory::setDoPrintContinuousPageNumberOnKanjyoumotocyou(bool continuous)
{
  (continuous ? continuousNumberingButton_ : perLedgerNumberingButton_)->setChecked(true);
}

int KanjyoumotocyouPrintAccessory::startPrintPageNumberOnKanjyoumotocyou() const
{
  return startPageNumberField_->value();
}

void KanjyoumotocyouPrintAccessory::setStartPrintPageNumberOnKanjyoumotocyou(int number)
{
  startPageNumberField_->setValue(number);
}

void KanjyoumotocyouPrintAccessory::setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(
    int row, int startPageNumber)
{
  setDoPrintContinuousPageNumberOnKanjyoumotocyou(row == 1);
  setStartPrintPageNumberOnKanjyoumotocyou(startPageNumber);
}

}  // namespace kivo
