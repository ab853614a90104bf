#include "trial/gui/PeriodToPrintZandakaShisanController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "fields/FieldValue.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "journal/gui/PeriodController.h"
#include "platform/QtStrings.h"
#include "platform/WindowController.h"

namespace kivo {

PeriodToPrintZandakaShisanController::PeriodToPrintZandakaShisanController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  setWindowTitle(QStringLiteral("期間を指定してプリント"));
  const MyDocument& doc = document->document();
  const Kaisya& kaisya = doc.kaisya();
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc, true);
  jigyoubuTitle_ = new QLabel(QStringLiteral("事業部:"), this);
  jigyoubuField_ = new QLineEdit(this);
  jigyoubuField_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(14, QChar(0x5B57))));
  auto* jigyoubuButton = new QToolButton(this);
  jigyoubuButton->setText(QStringLiteral("…"));
  jigyoubuButton->setToolTip(QStringLiteral("事業部を選ぶ"));
  auto monthBox = [this] {
    auto* box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMinimumContentsLength(14);
    return box;
  };
  monthFromComboBox_ = monthBox();
  monthToComboBox_ = monthBox();
  printTaisyakuTaisyouCheckbox_ = new QCheckBox(QStringLiteral("貸借対照表"), this);
  printSonekiKeisanCheckbox_ = new QCheckBox(QStringLiteral("損益計算書"), this);
  printSeizouGenkaCheckbox_ =
      new QCheckBox(kaisya.isKensetu() ? QStringLiteral("完成工事原価報告書") : QStringLiteral("製造原価報告書"), this);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_->setDefault(true);
  cancelButton_->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(jigyoubuTitle_, 0, 0, Qt::AlignRight);
  auto* jigyoubuRow = new QHBoxLayout;
  jigyoubuRow->addWidget(jigyoubuField_);
  jigyoubuRow->addWidget(jigyoubuButton);
  jigyoubuRow->addStretch(1);
  grid->addLayout(jigyoubuRow, 0, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("開始月:"), this), 1, 0, Qt::AlignRight);
  grid->addWidget(monthFromComboBox_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("〜"), this), 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("終了月:"), this), 1, 3, Qt::AlignRight);
  grid->addWidget(monthToComboBox_, 1, 4);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(new QLabel(QStringLiteral("プリントする報告書:"), this));
  boxes->addWidget(printTaisyakuTaisyouCheckbox_);
  boxes->addWidget(printSonekiKeisanCheckbox_);
  boxes->addWidget(printSeizouGenkaCheckbox_);
  boxes->addStretch(1);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
  buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("プリントする事業部、期間と報告書を選んでください。"), this));
  layout->addLayout(grid);
  layout->addLayout(boxes);
  layout->addSpacing(8);
  layout->addWidget(buttons);

  connect(okButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endSheetWithSender(cancelButton_); });
  connect(jigyoubuButton, &QToolButton::clicked, this, [this] { showJigyoubuFormatterListWindow(); });
  connect(jigyoubuField_, &QLineEdit::editingFinished, this, [this] {
    FieldValue v;
    if (jigyoubuFormatter_->getObjectValue(v, jigyoubuField_->text().toStdString(), nullptr) && v.isCode())
      showJigyoubuCode(v.codeValue());
    else
      showJigyoubuFormatterListWindow();
  });
  connect(monthFromComboBox_, &QComboBox::activated, this, [this] {
    if (monthToComboBox_->currentIndex() < monthFromComboBox_->currentIndex())
      monthToComboBox_->setCurrentIndex(monthFromComboBox_->currentIndex());
  });
  connect(monthToComboBox_, &QComboBox::activated, this, [this] {
    if (monthFromComboBox_->currentIndex() > monthToComboBox_->currentIndex())
      monthFromComboBox_->setCurrentIndex(monthToComboBox_->currentIndex());
  });
  for (QComboBox* box : {monthFromComboBox_, monthToComboBox_}) {
    connect(box->lineEdit(), &QLineEdit::editingFinished, this, [box] {
      QStringList items;
      for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
      const int index = PeriodController::indexOfTypedMonth(items, box->currentText());
      if (index >= 0) box->setCurrentIndex(index);
      box->setEditText(box->itemText(box->currentIndex()));
    });
  }
  for (QCheckBox* box : {printTaisyakuTaisyouCheckbox_, printSonekiKeisanCheckbox_, printSeizouGenkaCheckbox_})
    connect(box, &QCheckBox::toggled, this, [this] { handleClickPrintCheckbox(); });

  // The first showing: the whole company, the whole term, every section there is.
  periodToMonthArrayIndex_ = static_cast<int32_t>(kaisya.monthArray().size());
  doPrintSeizouGenka_ = kaisya.isSeizou();
  updateUI();
}

PeriodToPrintZandakaShisanController::~PeriodToPrintZandakaShisanController()
{
  for (QLineEdit* field : findChildren<QLineEdit*>()) field->blockSignals(true);
}

PeriodToPrintZandakaShisanController* PeriodToPrintZandakaShisanController::controllerOfDocument(OpenDocument* document)
{
  if (!document) return nullptr;
  using Owned = OpenDocument::OwnedController;
  auto* controller =
      document->ownedControllerAs<PeriodToPrintZandakaShisanController>(Owned::PeriodToPrintZandakaShisan);
  if (!controller) {
    controller = new PeriodToPrintZandakaShisanController(document);
    document->setOwnedController(Owned::PeriodToPrintZandakaShisan, controller);
  }
  return controller;
}

QAbstractButton* PeriodToPrintZandakaShisanController::okButton() const { return okButton_; }

void PeriodToPrintZandakaShisanController::updateUI()
{
  const MyDocument& doc = document_->document();
  const Kaisya& kaisya = doc.kaisya();
  const bool divisions = doc.numberOfActiveJigyoubu() >= 1;
  jigyoubuTitle_->setVisible(divisions);
  jigyoubuField_->setVisible(divisions);
  if (auto* button = findChild<QToolButton*>()) button->setVisible(divisions);
  showJigyoubuCode(jigyoubuCode_);
  QStringList items;
  for (const Month& m : kaisya.monthArray()) items << QString::fromStdString(m.name());
  items << qs(PeriodController::kKessanSeiridukiName);
  const int last = static_cast<int>(items.size()) - 1;
  for (QComboBox* box : {monthFromComboBox_, monthToComboBox_}) {
    box->clear();
    box->addItems(items);
  }
  monthFromComboBox_->setCurrentIndex(std::clamp(periodFromMonthArrayIndex_, 0, last));
  monthToComboBox_->setCurrentIndex(std::clamp(periodToMonthArrayIndex_, 0, last));
  printTaisyakuTaisyouCheckbox_->setChecked(doPrintTaisyakuTaisyou_);
  printSonekiKeisanCheckbox_->setChecked(doPrintSonekiKeisan_);
  printSeizouGenkaCheckbox_->setVisible(kaisya.isSeizou());
  printSeizouGenkaCheckbox_->setChecked(kaisya.isSeizou() && doPrintSeizouGenka_);
  handleClickPrintCheckbox();
  adjustSize();
}

void PeriodToPrintZandakaShisanController::showJigyoubuCode(int32_t code)
{
  const auto text = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(code));
  if (!text) code = 99;
  fieldJigyoubuCode_ = code;
  const auto shown = jigyoubuFormatter_->stringForObjectValue(FieldValue::code(code));
  jigyoubuField_->setText(shown ? QString::fromStdString(*shown) : QString());
}

void PeriodToPrintZandakaShisanController::beginSheetForWindow(WindowController* window, std::function<void()> onOK)
{
  if (isSheetAttached()) abortSheet();
  // Every later showing presents the controls as the user left them; only a change
  // of the term's months refills the month lists.
  const int32_t last = static_cast<int32_t>(document_->document().kaisya().monthArray().size());
  if (monthFromComboBox_->count() != last + 1) {
    periodFromMonthArrayIndex_ = std::clamp(periodFromMonthArrayIndex_, 0, last);
    periodToMonthArrayIndex_ = std::clamp(periodToMonthArrayIndex_, 0, last);
    updateUI();
  }
  beginSheet(window, [onOK = std::move(onOK)](int returnCode) {
    if (returnCode == kOK && onOK) onOK();
  });
}

void PeriodToPrintZandakaShisanController::handleClickPrintCheckbox()
{
  okButton_->setEnabled(printTaisyakuTaisyouCheckbox_->isChecked() || printSonekiKeisanCheckbox_->isChecked() ||
                        (printSeizouGenkaCheckbox_->isVisibleTo(this) && printSeizouGenkaCheckbox_->isChecked()));
}

void PeriodToPrintZandakaShisanController::showJigyoubuFormatterListWindow()
{
  // Text the formatter does not resolve to a division (part of a name, a kana key) is
  // what the picker searches for.
  FieldValue typed;
  const QString text = jigyoubuField_->text();
  const bool resolved = jigyoubuFormatter_->getObjectValue(typed, text.toStdString(), nullptr) && typed.isCode();
  const QPoint topLeft = jigyoubuField_->mapToGlobal(QPoint(0, jigyoubuField_->height()));
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, topLeft, resolved ? QString() : text, this);
  showJigyoubuCode(code >= 0 ? code : fieldJigyoubuCode_);
}

void PeriodToPrintZandakaShisanController::storeChoice()
{
  jigyoubuCode_ = fieldJigyoubuCode_;
  periodFromMonthArrayIndex_ = monthFromComboBox_->currentIndex();
  periodToMonthArrayIndex_ = std::max(monthToComboBox_->currentIndex(), periodFromMonthArrayIndex_);
  doPrintTaisyakuTaisyou_ = printTaisyakuTaisyouCheckbox_->isChecked();
  doPrintSonekiKeisan_ = printSonekiKeisanCheckbox_->isChecked();
  doPrintSeizouGenka_ = printSeizouGenkaCheckbox_->isVisibleTo(this) && printSeizouGenkaCheckbox_->isChecked();
}

}  // namespace kivo
