#include "journal/gui/PeriodController.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "journal/DisplayPeriodWindow.h"
#include "platform/QtStrings.h"
#include "platform/WindowController.h"

namespace kivo {
namespace {

QComboBox* makeMonthBox(QWidget* parent)
{
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  // The typed text is resolved by the sheet, never added to the list nor completed
  // from it ("1" must stay January, not become October).
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->setMinimumContentsLength(14);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return box;
}

}  // namespace

PeriodController::PeriodController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  setWindowTitle(QStringLiteral("表示する期間"));
  monthFromComboBox_ = makeMonthBox(this);
  monthToComboBox_ = makeMonthBox(this);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  cancelButton_->setAutoDefault(false);

  auto* caption = new QLabel(QStringLiteral("表示する期間を選んでください。"), this);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("開始月:"), this), 0, 0, Qt::AlignRight);
  grid->addWidget(monthFromComboBox_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("〜"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("終了月:"), this), 0, 3, Qt::AlignRight);
  grid->addWidget(monthToComboBox_, 0, 4);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
  buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addWidget(buttons);

  connect(okButton_, &QPushButton::clicked, this, [this] { endPeriodWindow(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endPeriodWindow(cancelButton_); });
  connect(monthFromComboBox_, &QComboBox::activated, this, [this] { handleSelectMonthFromComboBox(); });
  connect(monthToComboBox_, &QComboBox::activated, this, [this] { handleSelectMonthToComboBox(); });
  connect(monthFromComboBox_->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { handleTextDidEndEditing(monthFromComboBox_); });
  connect(monthToComboBox_->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { handleTextDidEndEditing(monthToComboBox_); });
  updateUI();
}

PeriodController::~PeriodController()
{
  // A box losing the focus as it is destroyed ends its editing: not into half a sheet.
  for (QLineEdit* field : findChildren<QLineEdit*>()) field->blockSignals(true);
}

PeriodController* PeriodController::periodControllerOfDocument(OpenDocument* document)
{
  if (!document) return nullptr;
  using Owned = OpenDocument::OwnedController;
  auto* controller = document->ownedControllerAs<PeriodController>(Owned::Period);
  if (!controller) {
    controller = new PeriodController(document);
    document->setOwnedController(Owned::Period, controller);
  }
  return controller;
}

QAbstractButton* PeriodController::okButton() const { return okButton_; }

void PeriodController::updateUI()
{
  QStringList items;
  if (document_)
    for (const Month& m : document_->document().kaisya().monthArray()) items << QString::fromStdString(m.name());
  items << qs(kKessanSeiridukiName);
  const int last = static_cast<int>(items.size()) - 1;
  for (QComboBox* box : {monthFromComboBox_, monthToComboBox_}) {
    box->clear();
    box->addItems(items);
  }
  monthFromComboBox_->setCurrentIndex(std::clamp(periodFromMonthArrayIndex_, 0, last));
  monthToComboBox_->setCurrentIndex(std::clamp(periodToMonthArrayIndex_, 0, last));
  cancelButton_->setVisible(!doHideCancelButton_);
}

void PeriodController::beginSheetForWindow(WindowController* window)
{
  // The document has one period sheet: still on another report window, it ends
  // there as Cancel would before it moves.
  if (isSheetAttached()) abortPeriodWindow();
  if (auto* report = dynamic_cast<DisplayPeriodWindow*>(window)) {
    periodFromMonthArrayIndex_ = report->displayPeriodFromMonthArrayIndex();
    periodToMonthArrayIndex_ = report->displayPeriodToMonthArrayIndex();
  }
  updateUI();
  reportWindow_ = window;
  beginSheet(window, [this](int returnCode) { sheetDidEnd(returnCode); });
  monthFromComboBox_->setFocus();
  monthFromComboBox_->lineEdit()->selectAll();
}

void PeriodController::handleSelectMonthFromComboBox()
{
  if (monthToComboBox_->currentIndex() < monthFromComboBox_->currentIndex())
    monthToComboBox_->setCurrentIndex(monthFromComboBox_->currentIndex());
}

void PeriodController::handleSelectMonthToComboBox()
{
  if (monthFromComboBox_->currentIndex() > monthToComboBox_->currentIndex())
    monthFromComboBox_->setCurrentIndex(monthToComboBox_->currentIndex());
}

int PeriodController::indexOfTypedMonth(const QStringList& items, const QString& text)
{
  const int exact = static_cast<int>(items.indexOf(text));
  if (exact >= 0) return exact;
  if (text.isEmpty() || text.size() > 2) return -1;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
  const int n = text.toInt();
  if (n < 1 || n > 13) return -1;
  // Whole months are named "%d月": "4" is "4月" (and "04" names nothing).
  const QString name = n == 13 ? qs(kKessanSeiridukiName) : text + QStringLiteral("月");
  return static_cast<int>(items.indexOf(name));
}

void PeriodController::handleTextDidEndEditing(QComboBox* comboBox)
{
  if (comboBox != monthFromComboBox_ && comboBox != monthToComboBox_) return;
  QStringList items;
  for (int i = 0; i < comboBox->count(); ++i) items << comboBox->itemText(i);
  const int index = indexOfTypedMonth(items, comboBox->currentText());
  if (index < 0) {
    comboBox->setEditText(comboBox->itemText(comboBox->currentIndex()));
    return;
  }
  comboBox->setCurrentIndex(index);
  comboBox->setEditText(comboBox->itemText(index));
  if (comboBox == monthFromComboBox_)
    handleSelectMonthFromComboBox();
  else
    handleSelectMonthToComboBox();
}

void PeriodController::storeChoice()
{
  // A text still being typed counts as typed.
  handleTextDidEndEditing(monthFromComboBox_);
  handleTextDidEndEditing(monthToComboBox_);
  periodFromMonthArrayIndex_ = monthFromComboBox_->currentIndex();
  periodToMonthArrayIndex_ = monthToComboBox_->currentIndex();
}

void PeriodController::sheetDidEnd(int returnCode)
{
  doHideCancelButton_ = false;
  if (returnCode != kOK) return;
  auto* report = dynamic_cast<DisplayPeriodWindow*>(reportWindow_.data());
  if (!report) return;
  report->setDisplayPeriodFromMonthArrayIndex(periodFromMonthArrayIndex_);
  report->setDisplayPeriodToMonthArrayIndex(periodToMonthArrayIndex_);
  report->updateDisplayPeriodUI();
}

}  // namespace kivo
