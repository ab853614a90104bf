#include "journal/gui/ShiwakenikkiDisplayConditionController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/gui/FormatterLineEditBinding.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "platform/WindowController.h"

namespace kivo {
namespace {

QComboBox* makePopUp(QWidget* parent, std::initializer_list<const char*> titles)
{
  auto* popUp = new QComboBox(parent);
  for (const char* t : titles) popUp->addItem(qs(t));
  return popUp;
}

void selectItem(QComboBox* popUp, int32_t state)
{
  popUp->setCurrentIndex(std::clamp<int>(state, 0, popUp->count() - 1));
}

QToolButton* makeRowButton(QWidget* parent, const QString& title, const QString& tip)
{
  auto* b = new QToolButton(parent);
  b->setText(title);
  b->setToolTip(tip);
  b->setAutoRaise(false);
  b->setFixedWidth(26);
  return b;
}

// The number a voucher-number field holds, -1 when none.
int32_t numberOfField(const QLineEdit* field)
{
  bool ok = false;
  const int n = field->text().trimmed().toInt(&ok);
  return ok ? n : -1;
}

KamokuPtr activeKamokuOfCode(const MyDocument& doc, int32_t code)
{
  return doc.rootKamokuKubun() ? doc.rootKamokuKubun()->kamokuOfCode(code, false) : nullptr;
}

JigyoubuPtr activeJigyoubuOfCode(const MyDocument& doc, int32_t code)
{
  for (const JigyoubuPtr& j : doc.jigyoubuArray())
    if (j->isActive() && j->code() == code) return j;
  return nullptr;
}

void selectText(QLineEdit* field)
{
  field->setFocus();
  field->selectAll();
}

// What a cancelled picker leaves in a row's field: the code it held before the text
// that opened the picker, else nothing.
FieldValue valueBeforePicker(const FormatterLineEditBinding& binding)
{
  const FieldValue& held = binding.objectValue().isText() ? binding.formerObjectValue() : binding.objectValue();
  return held.isCode() ? held : FieldValue::nil();
}

}  // namespace

ShiwakenikkiDisplayConditionController::ShiwakenikkiDisplayConditionController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  const MyDocument& doc = document_->document();
  const int32_t precision = doc.kaisya().decimalPrecision();
  dateFromFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  dateToFormatter_ = std::make_unique<HidukeFormatter>(doc, false);
  kingakuFromFormatter_ = std::make_unique<AmountFormatter>(precision, AmountFormatter::Range::Input);
  kingakuToFormatter_ = std::make_unique<AmountFormatter>(precision, AmountFormatter::Range::Input);
  kamokuFormatter_ = std::make_unique<KamokuFormatter>(doc, false);
  jigyoubuFormatter_ = std::make_unique<JigyoubuFormatter>(doc);
  setWindowTitle(QStringLiteral("表示する仕訳の条件"));
  buildLayout();
  updateUIAndSetCancelButtonHidden(true);
}

ShiwakenikkiDisplayConditionController::~ShiwakenikkiDisplayConditionController()
{
  // A field losing the focus as it is destroyed ends its editing: nothing of that may
  // reach the formatters and rows, which go first.
  for (QLineEdit* field : findChildren<QLineEdit*>()) field->blockSignals(true);
}

ShiwakenikkiDisplayConditionController* ShiwakenikkiDisplayConditionController::displayConditionControllerOfDocument(
    OpenDocument* document)
{
  if (!document) return nullptr;
  using Owned = OpenDocument::OwnedController;
  auto* controller =
      document->ownedControllerAs<ShiwakenikkiDisplayConditionController>(Owned::ShiwakenikkiDisplayCondition);
  if (!controller) {
    controller = new ShiwakenikkiDisplayConditionController(document);
    document->setOwnedController(Owned::ShiwakenikkiDisplayCondition, controller);
  }
  return controller;
}

ShiwakenikkiCondition& ShiwakenikkiDisplayConditionController::conditionOfDocument(OpenDocument* document)
{
  return displayConditionControllerOfDocument(document)->condition();
}

QAbstractButton* ShiwakenikkiDisplayConditionController::okButton() const { return okButton_; }

// --- layout

QWidget* ShiwakenikkiDisplayConditionController::buildListBox(QVBoxLayout*& rowsLayout)
{
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* list = new QWidget(scroll);
  list->setBackgroundRole(QPalette::Base);
  list->setAutoFillBackground(true);
  rowsLayout = new QVBoxLayout(list);
  rowsLayout->setContentsMargins(0, 0, 0, 0);
  rowsLayout->setSpacing(0);
  rowsLayout->addStretch(1);
  scroll->setWidget(list);
  const int rowHeight = fontMetrics().height() + 14;
  scroll->setFixedHeight(rowHeight * 3 + 4);  // three rows in view; the list scrolls by rows
  return scroll;
}

void ShiwakenikkiDisplayConditionController::buildLayout()
{
  const auto rangeRow = [this](QComboBox* popUp, QLineEdit* from, QLineEdit* to) {
    auto* row = new QHBoxLayout;
    row->addWidget(popUp);
    row->addSpacing(8);
    row->addWidget(from);
    row->addSpacing(4);
    row->addWidget(new QLabel(QStringLiteral("〜"), this));
    row->addSpacing(4);
    row->addWidget(to);
    row->addStretch(1);
    return row;
  };
  const int fieldWidth = fontMetrics().averageCharWidth() * 14;

  dateConditionPopUp_ = makePopUp(this, {"指定しない", "期間内の仕訳", "期間外の仕訳"});
  dateFromField_ = new QLineEdit(this);
  dateToField_ = new QLineEdit(this);
  dateFromBinding_ = new FormatterLineEditBinding(dateFromField_, *dateFromFormatter_);
  dateToBinding_ = new FormatterLineEditBinding(dateToField_, *dateToFormatter_);

  denpyouNoConditionPopUp_ = makePopUp(this, {"指定しない", "範囲内の仕訳", "範囲外の仕訳"});
  denpyouNoFromField_ = new QLineEdit(this);
  denpyouNoToField_ = new QLineEdit(this);
  for (QLineEdit* f : {denpyouNoFromField_, denpyouNoToField_})
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), f));

  kingakuConditionPopUp_ = makePopUp(this, {"指定しない", "範囲内の仕訳"});
  kingakuFromField_ = new QLineEdit(this);
  kingakuToField_ = new QLineEdit(this);
  kingakuFromBinding_ = new FormatterLineEditBinding(kingakuFromField_, *kingakuFromFormatter_);
  kingakuToBinding_ = new FormatterLineEditBinding(kingakuToField_, *kingakuToFormatter_);

  for (QLineEdit* f :
       {dateFromField_, dateToField_, denpyouNoFromField_, denpyouNoToField_, kingakuFromField_, kingakuToField_}) {
    f->setFixedWidth(fieldWidth);
    f->setAlignment(f == kingakuFromField_ || f == kingakuToField_ ? Qt::AlignRight : Qt::AlignHCenter);
  }

  kamokuConditionPopUp_ = makePopUp(this, {"指定しない", "いずれかを含む仕訳", "すべてを含む仕訳"});
  jigyoubuConditionPopUp_ = makePopUp(this, {"指定しない", "いずれかを含む仕訳", "すべてを含む仕訳"});

  tekiyouField_ = new QLineEdit(this);
  tekiyouConditionPopUp_ = makePopUp(this, {"指定しない", "を含む", "で始まる", "で終わる", "と一致する"});
  caseInsensitiveSearchCheckbox_ = new QCheckBox(QStringLiteral("英字の大文字と小文字を区別しない"), this);

  // Typing a bound turns its stage on.
  for (QLineEdit* f : {dateFromField_, dateToField_, denpyouNoFromField_, denpyouNoToField_, kingakuFromField_,
                       kingakuToField_, tekiyouField_})
    connect(f, &QLineEdit::editingFinished, this, [this, f] { controlTextDidEndEditing(f); });
  // A refused date or amount keeps the field's former value.
  for (FormatterLineEditBinding* b : {dateFromBinding_, dateToBinding_, kingakuFromBinding_, kingakuToBinding_})
    connect(b, &FormatterLineEditBinding::textRefused, this, [] { AlertSheet::beep(); });

  auto* form = new QGridLayout;
  form->setHorizontalSpacing(10);
  form->setVerticalSpacing(8);
  int r = 0;
  const auto label = [this](const char* t) { return new QLabel(qs(t), this); };
  form->addWidget(label("日付:"), r, 0, Qt::AlignRight);
  form->addLayout(rangeRow(dateConditionPopUp_, dateFromField_, dateToField_), r++, 1);
  form->addWidget(label("伝票番号:"), r, 0, Qt::AlignRight);
  form->addLayout(rangeRow(denpyouNoConditionPopUp_, denpyouNoFromField_, denpyouNoToField_), r++, 1);
  form->addWidget(label("勘定科目:"), r, 0, Qt::AlignRight);
  auto* kamokuLine = new QHBoxLayout;
  kamokuLine->addWidget(kamokuConditionPopUp_);
  kamokuLine->addStretch(1);
  form->addLayout(kamokuLine, r++, 1);
  form->addWidget(buildListBox(kamokuRowsLayout_), r++, 1);
  form->addWidget(label("事業部:"), r, 0, Qt::AlignRight);
  auto* jigyoubuLine = new QHBoxLayout;
  jigyoubuLine->addWidget(jigyoubuConditionPopUp_);
  jigyoubuLine->addStretch(1);
  form->addLayout(jigyoubuLine, r++, 1);
  form->addWidget(buildListBox(jigyoubuRowsLayout_), r++, 1);
  form->addWidget(label("金額:"), r, 0, Qt::AlignRight);
  form->addLayout(rangeRow(kingakuConditionPopUp_, kingakuFromField_, kingakuToField_), r++, 1);
  form->addWidget(label("摘要:"), r, 0, Qt::AlignRight);
  auto* tekiyouLine = new QHBoxLayout;
  tekiyouLine->addWidget(tekiyouField_, 1);
  tekiyouLine->addWidget(tekiyouConditionPopUp_);
  form->addLayout(tekiyouLine, r++, 1);
  form->addWidget(caseInsensitiveSearchCheckbox_, r++, 1);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_->setDefault(true);
  cancelButton_->setAutoDefault(false);
  connect(okButton_, &QPushButton::clicked, this, [this] { endShiwakenikkiDisplayConditionWindow(okButton_); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { endShiwakenikkiDisplayConditionWindow(cancelButton_); });
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
  buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("仕訳日記帳に表示する仕訳の条件を指定してください。"), this));
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  setMinimumWidth(fontMetrics().averageCharWidth() * 96);
}

// --- filling

void ShiwakenikkiDisplayConditionController::updateUIAndSetCancelButtonHidden(bool hidden)
{
  const ShiwakenikkiCondition& c = condition_;
  selectItem(dateConditionPopUp_, c.dateConditionState());
  dateFromBinding_->setObjectValue(c.dateFrom().isNull() ? FieldValue::nil() : FieldValue::date(c.dateFrom()));
  dateToBinding_->setObjectValue(c.dateTo().isNull() ? FieldValue::nil() : FieldValue::date(c.dateTo()));
  selectItem(denpyouNoConditionPopUp_, c.denpyouNoConditionState());
  denpyouNoFromField_->setText(c.denpyouNoFrom() < 0 ? QString() : QString::number(c.denpyouNoFrom()));
  denpyouNoToField_->setText(c.denpyouNoTo() < 0 ? QString() : QString::number(c.denpyouNoTo()));
  selectItem(kingakuConditionPopUp_, c.kingakuConditionState());
  kingakuFromBinding_->setObjectValue(c.kingakuFrom() < 0 ? FieldValue::nil() : FieldValue::amount(c.kingakuFrom()));
  kingakuToBinding_->setObjectValue(c.kingakuTo() < 0 ? FieldValue::nil() : FieldValue::amount(c.kingakuTo()));
  selectItem(tekiyouConditionPopUp_, c.tekiyouConditionState());
  tekiyouField_->setText(QString::fromStdString(c.tekiyou()));
  caseInsensitiveSearchCheckbox_->setChecked(c.doCaseInsensitiveSearch());
  displayKamokuCondition();
  displayJigyoubuCondition();
  cancelButton_->setVisible(!hidden);
}

void ShiwakenikkiDisplayConditionController::displayKamokuCondition()
{
  MyDocument& doc = document_->document();
  ShiwakenikkiCondition& c = condition_;
  std::vector<ShiwakenikkiSubCondition>& items = c.kamokuConditionArray();
  // Accounts that have gone are dropped; a sub-account that has gone widens the item
  // to the whole account.
  std::erase_if(items, [&](const ShiwakenikkiSubCondition& item) { return !activeKamokuOfCode(doc, item.code()); });
  for (ShiwakenikkiSubCondition& item : items) {
    const KamokuPtr k = activeKamokuOfCode(doc, item.code());
    if (item.hojyoCode() != -1 && !k->hojyoKamokuOfCode(item.hojyoCode())) item.setHojyoCode(-1);
  }
  if (items.empty() && !doc.codeSortedActiveKamokuArray().empty())
    items.push_back(ShiwakenikkiSubCondition(doc.codeSortedActiveKamokuArray().front()->code(), -1, 0));

  renewKamokuConditionListRows(static_cast<int>(items.size()));
  selectItem(kamokuConditionPopUp_, c.kamokuConditionState());
  for (size_t i = 0; i < items.size(); ++i) {
    ConditionRow& row = *kamokuRows_[i];
    selectItem(row.sidePopUp, items[i].karikatOrKashikataCondition());
    setKamokuOfRow(static_cast<int>(i), items[i].code(), items[i].hojyoCode());
  }
}

void ShiwakenikkiDisplayConditionController::displayJigyoubuCondition()
{
  MyDocument& doc = document_->document();
  ShiwakenikkiCondition& c = condition_;
  std::vector<ShiwakenikkiSubCondition>& items = c.jigyoubuConditionArray();
  std::erase_if(items, [&](const ShiwakenikkiSubCondition& item) { return !activeJigyoubuOfCode(doc, item.code()); });
  if (items.empty()) {
    int32_t first = -1;
    for (const JigyoubuPtr& j : doc.jigyoubuArray()) {
      if (j->isActive()) {
        first = j->code();
        break;
      }
    }
    items.push_back(ShiwakenikkiSubCondition(first, -1, 0));
  }
  renewJigyoubuConditionListRows(static_cast<int>(items.size()));
  const bool active = doc.numberOfActiveJigyoubu() > 0;
  jigyoubuConditionPopUp_->setEnabled(active);
  selectItem(jigyoubuConditionPopUp_, active ? c.jigyoubuConditionState() : 0);
  for (size_t i = 0; i < items.size(); ++i) {
    ConditionRow& row = *jigyoubuRows_[i];
    selectItem(row.sidePopUp, items[i].karikatOrKashikataCondition());
    row.codeBinding->setObjectValue(items[i].code() < 0 ? FieldValue::nil() : FieldValue::code(items[i].code()));
    for (QWidget* w : std::initializer_list<QWidget*>{row.sidePopUp, row.codeField, row.selectCodeButton, row.addButton,
                                                      row.removeButton})
      w->setEnabled(active);
  }
}

// --- rows

int ShiwakenikkiDisplayConditionController::indexOfRow(const RowList& rows, const QObject* control) const
{
  for (size_t i = 0; i < rows.size(); ++i) {
    const ConditionRow& r = *rows[i];
    for (const QObject* o :
         {static_cast<const QObject*>(r.widget), static_cast<const QObject*>(r.sidePopUp),
          static_cast<const QObject*>(r.codeField), static_cast<const QObject*>(r.selectCodeButton),
          static_cast<const QObject*>(r.hojyoField), static_cast<const QObject*>(r.selectHojyoButton),
          static_cast<const QObject*>(r.addButton), static_cast<const QObject*>(r.removeButton)})
      if (o && o == control) return static_cast<int>(i);
  }
  return -1;
}

void ShiwakenikkiDisplayConditionController::paintRowBands(const RowList& rows)
{
  // Striped as the rows of a table.
  for (size_t i = 0; i < rows.size(); ++i) {
    QPalette p = rows[i]->widget->palette();
    p.setColor(QPalette::Window, palette().color(i % 2 == 0 ? QPalette::Base : QPalette::AlternateBase));
    rows[i]->widget->setPalette(p);
  }
}

QHBoxLayout* ShiwakenikkiDisplayConditionController::beginConditionRow(ConditionRow& r, Formatter& codeFormatter,
                                                                       const QString& pickTip)
{
  r.widget = new QWidget;
  r.widget->setAutoFillBackground(true);
  auto* line = new QHBoxLayout(r.widget);
  line->setContentsMargins(6, 3, 6, 3);
  r.sidePopUp = makePopUp(r.widget, {"借方または貸方", "借方", "貸方"});
  r.codeField = new QLineEdit(r.widget);
  r.codeBinding = new FormatterLineEditBinding(r.codeField, codeFormatter);
  r.selectCodeButton = makeRowButton(r.widget, QStringLiteral("…"), pickTip);
  line->addWidget(r.sidePopUp);
  line->addWidget(r.codeField, 3);
  line->addWidget(r.selectCodeButton);
  return line;
}

ShiwakenikkiDisplayConditionController::ConditionRow* ShiwakenikkiDisplayConditionController::placeConditionRow(
    RowList& rows, QVBoxLayout* rowsLayout, QHBoxLayout* line, std::unique_ptr<ConditionRow> row, int index)
{
  ConditionRow* r = row.get();
  r->addButton = makeRowButton(r->widget, QStringLiteral("+"), QStringLiteral("条件を追加"));
  r->removeButton = makeRowButton(r->widget, QStringLiteral("−"), QStringLiteral("条件を削除"));
  line->addSpacing(6);
  line->addWidget(r->addButton);
  line->addWidget(r->removeButton);
  for (FormatterLineEditBinding* b : {r->codeBinding, r->hojyoBinding})
    if (b)
      connect(b, &FormatterLineEditBinding::textRefused, this, [b] {
        AlertSheet::beep();
        b->setObjectValue(b->objectValue());
      });
  index = std::clamp(index, 0, static_cast<int>(rows.size()));
  rowsLayout->insertWidget(index, r->widget);
  rows.insert(rows.begin() + index, std::move(row));
  paintRowBands(rows);
  return r;
}

ShiwakenikkiDisplayConditionController::ConditionRow*
ShiwakenikkiDisplayConditionController::insertKamokuConditionListRow(int index)
{
  const MyDocument& doc = document_->document();
  auto row = std::make_unique<ConditionRow>();
  ConditionRow* r = row.get();
  QHBoxLayout* line = beginConditionRow(*r, *kamokuFormatter_, QStringLiteral("勘定科目を選ぶ"));
  r->hojyoField = new QLineEdit(r->widget);
  r->hojyoFormatter = std::make_unique<HojyoKamokuFormatter>(doc);
  r->hojyoBinding = new FormatterLineEditBinding(r->hojyoField, *r->hojyoFormatter);
  r->selectHojyoButton = makeRowButton(r->widget, QStringLiteral("…"), QStringLiteral("補助科目を選ぶ"));
  line->addWidget(r->hojyoField, 3);
  line->addWidget(r->selectHojyoButton);
  placeConditionRow(kamokuRows_, kamokuRowsLayout_, line, std::move(row), index);
  const bool hojyo = doc.doesHaveKamokuWhichHasActiveHojyoKamoku();
  r->hojyoField->setEnabled(hojyo);
  r->hojyoField->setPlaceholderText(hojyo ? QStringLiteral("すべての補助科目") : QString());
  r->selectHojyoButton->setEnabled(false);

  connect(r->addButton, &QToolButton::clicked, this,
          [this, r] { addKamokuCondition(indexOfRow(kamokuRows_, r->addButton)); });
  connect(r->removeButton, &QToolButton::clicked, this,
          [this, r] { removeKamokuCondition(indexOfRow(kamokuRows_, r->removeButton)); });
  connect(r->selectCodeButton, &QToolButton::clicked, this,
          [this, r] { showKamokuFormatterListWindow(indexOfRow(kamokuRows_, r->selectCodeButton)); });
  connect(r->selectHojyoButton, &QToolButton::clicked, this,
          [this, r] { showHojyoKamokuFormatterListWindow(indexOfRow(kamokuRows_, r->selectHojyoButton)); });
  connect(r->codeBinding, &FormatterLineEditBinding::objectValueChanged, this, [this, r] {
    if (r->codeBinding->objectValue().isText() && !r->codeBinding->objectValue().textValue().empty())
      showKamokuFormatterListWindow(indexOfRow(kamokuRows_, r->codeField));  // several accounts match
    else
      kamokuOfRowDidChange(*r);
  });
  connect(r->hojyoBinding, &FormatterLineEditBinding::objectValueChanged, this, [this, r] {
    if (r->hojyoBinding->objectValue().isText() && !r->hojyoBinding->objectValue().textValue().empty())
      showHojyoKamokuFormatterListWindow(indexOfRow(kamokuRows_, r->hojyoField));
  });
  return r;
}

ShiwakenikkiDisplayConditionController::ConditionRow*
ShiwakenikkiDisplayConditionController::insertJigyoubuConditionListRow(int index)
{
  auto row = std::make_unique<ConditionRow>();
  ConditionRow* r = row.get();
  QHBoxLayout* line = beginConditionRow(*r, *jigyoubuFormatter_, QStringLiteral("事業部を選ぶ"));
  line->addStretch(3);
  placeConditionRow(jigyoubuRows_, jigyoubuRowsLayout_, line, std::move(row), index);

  connect(r->addButton, &QToolButton::clicked, this,
          [this, r] { addJigyoubuCondition(indexOfRow(jigyoubuRows_, r->addButton)); });
  connect(r->removeButton, &QToolButton::clicked, this,
          [this, r] { removeJigyoubuCondition(indexOfRow(jigyoubuRows_, r->removeButton)); });
  connect(r->selectCodeButton, &QToolButton::clicked, this,
          [this, r] { showJigyoubuFormatterListWindow(indexOfRow(jigyoubuRows_, r->selectCodeButton)); });
  connect(r->codeBinding, &FormatterLineEditBinding::objectValueChanged, this, [this, r] {
    if (r->codeBinding->objectValue().isText() && !r->codeBinding->objectValue().textValue().empty())
      showJigyoubuFormatterListWindow(indexOfRow(jigyoubuRows_, r->codeField));
  });
  return r;
}

void ShiwakenikkiDisplayConditionController::removeConditionListRow(RowList& rows, int index)
{
  if (index < 0 || index >= static_cast<int>(rows.size())) return;
  std::unique_ptr<ConditionRow> row = std::move(rows[index]);
  rows.erase(rows.begin() + index);
  // Nothing of the row may reach the sheet once it is gone (a focus leaving its field
  // as it hides ends an edit).
  for (QObject* o : std::initializer_list<QObject*>{row->codeBinding, row->hojyoBinding, row->selectCodeButton,
                                                    row->selectHojyoButton, row->addButton, row->removeButton})
    if (o) QObject::disconnect(o, nullptr, this, nullptr);
  row->widget->hide();
  row->widget->deleteLater();
  // The bindings die with their fields; the row's formatter must outlive them.
  if (row->hojyoFormatter) {
    auto* formatter = row->hojyoFormatter.release();
    connect(row->widget, &QObject::destroyed, [formatter] { delete formatter; });
  }
  paintRowBands(rows);
}

void ShiwakenikkiDisplayConditionController::renewKamokuConditionListRows(int n)
{
  while (numberOfKamokuConditionListRows() > n)
    removeConditionListRow(kamokuRows_, numberOfKamokuConditionListRows() - 1);
  while (numberOfKamokuConditionListRows() < n) insertKamokuConditionListRow(numberOfKamokuConditionListRows());
}

void ShiwakenikkiDisplayConditionController::renewJigyoubuConditionListRows(int n)
{
  while (numberOfJigyoubuConditionListRows() > n)
    removeConditionListRow(jigyoubuRows_, numberOfJigyoubuConditionListRows() - 1);
  while (numberOfJigyoubuConditionListRows() < n) insertJigyoubuConditionListRow(numberOfJigyoubuConditionListRows());
}

void ShiwakenikkiDisplayConditionController::setKamokuOfRow(int index, int32_t kamokuCode, int32_t hojyoKamokuCode)
{
  if (index < 0 || index >= numberOfKamokuConditionListRows()) return;
  ConditionRow& row = *kamokuRows_[index];
  row.codeBinding->setObjectValue(kamokuCode < 0 ? FieldValue::nil() : FieldValue::code(kamokuCode));
  if (hojyoKamokuCode < 0) {
    row.hojyoFormatter->setParentKamokuFromKamokuCode(std::nullopt);
    row.hojyoBinding->setObjectValue(FieldValue::nil());
  } else {
    row.hojyoFormatter->setParentKamokuFromKamokuCode(kamokuCode);
    row.hojyoBinding->setObjectValue(FieldValue::code(hojyoKamokuCode));
  }
  const KamokuPtr k = kamokuCode < 0 ? nullptr : activeKamokuOfCode(document_->document(), kamokuCode);
  row.selectHojyoButton->setEnabled(k && k->activeHojyoKamokuNum() >= 1);
}

void ShiwakenikkiDisplayConditionController::kamokuOfRowDidChange(ConditionRow& row)
{
  // A typed account: its sub-account stays only when the new account has it.
  const FieldValue value = row.codeBinding->objectValue();
  const int32_t code = value.isCode() ? value.codeValue() : -1;
  const FieldValue hojyo = row.hojyoBinding->objectValue();
  const KamokuPtr k = code < 0 ? nullptr : activeKamokuOfCode(document_->document(), code);
  const int32_t keep = k && hojyo.isCode() && k->hojyoKamokuOfCode(hojyo.codeValue()) ? hojyo.codeValue() : -1;
  // A sub-account typed with the account ("10001") comes with it.
  const int32_t typed = kamokuFormatter_->inputedHojyoKamokuCode();
  setKamokuOfRow(indexOfRow(kamokuRows_, row.codeField), code, typed >= 0 ? typed : keep);
}

void ShiwakenikkiDisplayConditionController::addKamokuCondition(int index)
{
  if (index < 0 || index >= numberOfKamokuConditionListRows()) return;
  const ConditionRow& from = *kamokuRows_[index];
  const int32_t code = from.codeBinding->objectValue().isCode() ? from.codeBinding->objectValue().codeValue() : -1;
  const int32_t hojyo = from.hojyoBinding->objectValue().isCode() ? from.hojyoBinding->objectValue().codeValue() : -1;
  ConditionRow* row = insertKamokuConditionListRow(numberOfKamokuConditionListRows());
  row->sidePopUp->setCurrentIndex(0);
  setKamokuOfRow(numberOfKamokuConditionListRows() - 1, code, hojyo);
  row->codeField->setFocus();
}

void ShiwakenikkiDisplayConditionController::removeKamokuCondition(int index)
{
  if (index < 0 || index >= numberOfKamokuConditionListRows()) return;
  if (numberOfKamokuConditionListRows() >= 2)
    removeConditionListRow(kamokuRows_, index);
  else
    kamokuConditionPopUp_->setCurrentIndex(0);  // the last row stays; the stage goes off
}

void ShiwakenikkiDisplayConditionController::addJigyoubuCondition(int index)
{
  if (index < 0 || index >= numberOfJigyoubuConditionListRows()) return;
  const FieldValue code = jigyoubuRows_[index]->codeBinding->objectValue();
  ConditionRow* row = insertJigyoubuConditionListRow(numberOfJigyoubuConditionListRows());
  row->sidePopUp->setCurrentIndex(0);
  row->codeBinding->setObjectValue(code.isCode() ? code : FieldValue::nil());
  row->codeField->setFocus();
}

void ShiwakenikkiDisplayConditionController::removeJigyoubuCondition(int index)
{
  if (index < 0 || index >= numberOfJigyoubuConditionListRows()) return;
  if (numberOfJigyoubuConditionListRows() >= 2)
    removeConditionListRow(jigyoubuRows_, index);
  else
    jigyoubuConditionPopUp_->setCurrentIndex(0);
}

// --- pickers

void ShiwakenikkiDisplayConditionController::showKamokuFormatterListWindow(int index)
{
  if (index < 0 || index >= numberOfKamokuConditionListRows()) return;
  ConditionRow& row = *kamokuRows_[index];
  const QPoint topLeft = row.codeField->mapToGlobal(QPoint(0, 0));
  const int32_t code = KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *kamokuFormatter_, topLeft, row.codeField->text(),
      document_->document().doesHaveKamokuWhichHasActiveHojyoKamoku(), this);
  if (code < 0) {
    row.codeBinding->setObjectValue(valueBeforePicker(*row.codeBinding));
    return;
  }
  setKamokuOfRow(index, code, kamokuFormatter_->selectedHojyoKamokuCodeOfFormatterList());
}

void ShiwakenikkiDisplayConditionController::showHojyoKamokuFormatterListWindow(int index)
{
  if (index < 0 || index >= numberOfKamokuConditionListRows()) return;
  ConditionRow& row = *kamokuRows_[index];
  const FieldValue account = row.codeBinding->objectValue();
  if (!account.isCode()) return;
  row.hojyoFormatter->setParentKamokuFromKamokuCode(account.codeValue());
  const QPoint topLeft = row.hojyoField->mapToGlobal(QPoint(0, 0));
  const int32_t code = HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      *row.hojyoFormatter, topLeft, row.hojyoField->text(), this);
  if (code < 0) {
    row.hojyoBinding->setObjectValue(valueBeforePicker(*row.hojyoBinding));
    return;
  }
  row.hojyoBinding->setObjectValue(FieldValue::code(code));
}

void ShiwakenikkiDisplayConditionController::showJigyoubuFormatterListWindow(int index)
{
  if (index < 0 || index >= numberOfJigyoubuConditionListRows()) return;
  ConditionRow& row = *jigyoubuRows_[index];
  const FieldValue value = row.codeBinding->objectValue();
  const QString text = value.isCode() ? QString::asprintf("%02d", value.codeValue()) : row.codeField->text();
  const QPoint topLeft = row.codeField->mapToGlobal(QPoint(0, 0));
  const int32_t code = JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
      *jigyoubuFormatter_, topLeft, text, this);
  if (code < 0) {
    row.codeBinding->setObjectValue(valueBeforePicker(*row.codeBinding));
    return;
  }
  row.codeBinding->setObjectValue(FieldValue::code(code));
}

// --- editing

void ShiwakenikkiDisplayConditionController::controlTextDidEndEditing(QLineEdit* field)
{
  if (!field || field->text().isEmpty()) return;
  QComboBox* popUp = nullptr;
  if (field == dateFromField_ || field == dateToField_)
    popUp = dateConditionPopUp_;
  else if (field == denpyouNoFromField_ || field == denpyouNoToField_)
    popUp = denpyouNoConditionPopUp_;
  else if (field == kingakuFromField_ || field == kingakuToField_)
    popUp = kingakuConditionPopUp_;
  else if (field == tekiyouField_)
    popUp = tekiyouConditionPopUp_;
  if (popUp && popUp->currentIndex() == 0) popUp->setCurrentIndex(1);
}

// --- ending

void ShiwakenikkiDisplayConditionController::beginSheetForWindow(WindowController* window)
{
  journalWindow_ = window;
  beginSheet(window, [this](int returnCode) { sheetDidEnd(returnCode); });
}

void ShiwakenikkiDisplayConditionController::endShiwakenikkiDisplayConditionWindow(QObject* sender)
{
  if (sender == okButton_ && !shouldEndSheet()) return;
  endSheetWithSender(sender);
}

void ShiwakenikkiDisplayConditionController::reject()
{
  if (cancelButton_->isHidden()) return;
  SheetController::reject();
}

bool ShiwakenikkiDisplayConditionController::shouldEndSheet()
{
  // A field still holding text that is no date or amount keeps the sheet open.
  for (FormatterLineEditBinding* b : {dateFromBinding_, dateToBinding_, kingakuFromBinding_, kingakuToBinding_}) {
    if (!b->commit()) {
      AlertSheet::beep();
      selectText(b->lineEdit());
      return false;
    }
  }
  const FieldValue dateFrom = dateFromBinding_->objectValue();
  const FieldValue dateTo = dateToBinding_->objectValue();
  if (dateFrom.isDate() && dateTo.isDate() && dateConditionPopUp_->currentIndex() != 0 &&
      Journal::compareDate(dateFrom.dateValue(), dateTo.dateValue()) > 0) {
    AlertSheet::beep();
    selectText(dateToField_);
    return false;
  }
  const int32_t noFrom = numberOfField(denpyouNoFromField_);
  const int32_t noTo = numberOfField(denpyouNoToField_);
  if (noFrom > 0 && noTo > 0 && denpyouNoConditionPopUp_->currentIndex() != 0 && noFrom > noTo) {
    AlertSheet::beep();
    selectText(denpyouNoToField_);
    return false;
  }
  const FieldValue kingakuFrom = kingakuFromBinding_->objectValue();
  const FieldValue kingakuTo = kingakuToBinding_->objectValue();
  if (kingakuFrom.isAmount() && kingakuTo.isAmount() && kingakuFrom.amountValue() > 0 && kingakuTo.amountValue() > 0 &&
      kingakuConditionPopUp_->currentIndex() != 0 && kingakuFrom.amountValue() > kingakuTo.amountValue()) {
    AlertSheet::beep();
    selectText(kingakuToField_);
    return false;
  }
  return true;
}

void ShiwakenikkiDisplayConditionController::storeChoice()
{
  ShiwakenikkiCondition& c = condition_;

  const FieldValue dateFrom = dateFromBinding_->objectValue();
  const FieldValue dateTo = dateToBinding_->objectValue();
  c.setDateConditionState(dateConditionPopUp_->currentIndex());
  c.setDateFrom(dateFrom.isDate() ? dateFrom.dateValue() : Date());
  c.setDateTo(dateTo.isDate() ? dateTo.dateValue() : Date());
  if (c.dateFrom().isNull() && c.dateTo().isNull()) c.setDateConditionState(0);

  c.setDenpyouNoConditionState(denpyouNoConditionPopUp_->currentIndex());
  c.setDenpyouNoFrom(numberOfField(denpyouNoFromField_));
  c.setDenpyouNoTo(numberOfField(denpyouNoToField_));
  if (c.denpyouNoFrom() == -1 && c.denpyouNoTo() == -1) c.setDenpyouNoConditionState(0);

  const FieldValue kingakuFrom = kingakuFromBinding_->objectValue();
  const FieldValue kingakuTo = kingakuToBinding_->objectValue();
  c.setKingakuConditionState(kingakuConditionPopUp_->currentIndex());
  c.setKingakuFrom(kingakuFrom.isAmount() ? kingakuFrom.amountValue() : -1);
  c.setKingakuTo(kingakuTo.isAmount() ? kingakuTo.amountValue() : -1);
  if (c.kingakuFrom() == -1 && c.kingakuTo() == -1) c.setKingakuConditionState(0);

  c.setTekiyouConditionState(tekiyouConditionPopUp_->currentIndex());
  c.setTekiyou(tekiyouField_->text().toStdString());
  if (c.tekiyou().empty()) c.setTekiyouConditionState(0);
  c.setDoCaseInsensitiveSearch(caseInsensitiveSearchCheckbox_->isChecked());

  updateKamokuCondition();
  updateJigyoubuCondition();
}

void ShiwakenikkiDisplayConditionController::updateKamokuCondition()
{
  ShiwakenikkiCondition& c = condition_;
  c.setKamokuConditionState(kamokuConditionPopUp_->currentIndex());
  std::vector<ShiwakenikkiSubCondition>& items = c.kamokuConditionArray();
  items.clear();
  for (int i = 0; i < numberOfKamokuConditionListRows();) {
    const ConditionRow& row = *kamokuRows_[i];
    const FieldValue code = row.codeBinding->objectValue();
    const FieldValue hojyo = row.hojyoBinding->objectValue();
    // A row without an account names nothing.
    if (!code.isCode()) {
      ++i;
      continue;
    }
    const ShiwakenikkiSubCondition item(code.codeValue(), hojyo.isCode() ? hojyo.codeValue() : -1,
                                        row.sidePopUp->currentIndex());
    if (std::find(items.begin(), items.end(), item) != items.end()) {
      removeConditionListRow(kamokuRows_, i);  // a repeat: kept once, its row goes
      continue;
    }
    items.push_back(item);
    ++i;
  }
}

void ShiwakenikkiDisplayConditionController::updateJigyoubuCondition()
{
  MyDocument& doc = document_->document();
  ShiwakenikkiCondition& c = condition_;
  c.setJigyoubuConditionState(jigyoubuConditionPopUp_->currentIndex());
  std::vector<ShiwakenikkiSubCondition>& items = c.jigyoubuConditionArray();
  items.clear();
  if (doc.numberOfActiveJigyoubu() == 0) return;
  for (int i = 0; i < numberOfJigyoubuConditionListRows();) {
    const ConditionRow& row = *jigyoubuRows_[i];
    const FieldValue code = row.codeBinding->objectValue();
    if (!code.isCode()) {
      ++i;
      continue;
    }
    const ShiwakenikkiSubCondition item(code.codeValue(), -1, row.sidePopUp->currentIndex());
    if (std::find(items.begin(), items.end(), item) != items.end()) {
      removeConditionListRow(jigyoubuRows_, i);
      continue;
    }
    items.push_back(item);
    ++i;
  }
}

void ShiwakenikkiDisplayConditionController::sheetDidEnd(int returnCode)
{
  if (returnCode != kOK) return;
  auto* journal = qobject_cast<ShiwakenikkiController*>(document_->shiwakenikkiController());
  if (!journal) return;
  journal->setDoDisplayMarkedShiwakes(false);
  journal->setDisplayState(ShiwakenikkiController::kShowAndSelectFirstRow);
  // The user has just confirmed the sheet on this window: it shows the result now.
  journal->updateUI(true);
}

}  // namespace kivo
